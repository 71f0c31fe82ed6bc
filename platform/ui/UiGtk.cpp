// The GTK 3 backend of the native windows: one top-level window whose
// controls sit at fixed pixel positions in a GtkFixed. GTK's signals become
// the window's queued events; changes the program makes are shown with the
// window's updating count raised, so those signals raise nothing.
//
// GTK is started once, on the first window; without a display no window is
// made and UiWindowCreate answers null.
#include "platform/ui/UiWindowInternal.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <string>

namespace {

// 0 not tried, 1 running, -1 cannot run here.
int gtk_state = 0;

// Dialogs are laid out for a small font: their controls keep the sizes
// they are given, so text and padding are made to fit them.
const char DIALOG_CSS[] = "#hw-dialog, #hw-dialog * { font-size: 8pt; }"
                          "#hw-dialog button { padding: 0 4px; min-height: 0; }";

bool StartGtk()
{
    if (gtk_state == 0) {
        gtk_state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
        // The toolkit's start replaces the handler of a lost display.
        PlatformWatchDisplayConnection();
        if (gtk_state == 1) {
            GtkCssProvider *provider = gtk_css_provider_new();
            gtk_css_provider_load_from_data(provider, DIALOG_CSS, -1, nullptr);
            gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                                      GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
            g_object_unref(provider);
        }
    }
    return gtk_state == 1;
}

std::string Utf8(const std::string &text)
{
    std::string out(text.size() * 3 + 1, '\0');
    if (!PlatformCp1252ToUtf8(text.c_str(), &out[0], out.size()))
        return std::string();
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

// A button's caption: the desktop's "&" marks the access key, GTK's "_".
std::string Mnemonic(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            i++;
        } else if (text[i] == '&') {
            out += '_';
        } else if (text[i] == '_') {
            out += "__";
        } else {
            out += text[i];
        }
    }
    return Utf8(out);
}

// What a signal handler needs to find its control again; the control
// records move as controls are added, so they are found by id.
struct Link {
    UiWindow *window;
    int id;
};

void FreeLink(gpointer data, GClosure *) { delete static_cast<Link *>(data); }

void OnClicked(GtkButton *, gpointer data)
{
    Link *link = static_cast<Link *>(data);
    UiControl *control = UiWindowFindControl(link->window, link->id);
    if (control && !link->window->updating)
        UiWindowUserClicked(link->window, control);
}

void OnToggled(GtkToggleButton *button, gpointer data)
{
    // A radio button reports both the one left and the one chosen.
    if (gtk_toggle_button_get_active(button))
        OnClicked(nullptr, data);
}

void OnChanged(GtkComboBox *box, gpointer data)
{
    Link *link = static_cast<Link *>(data);
    UiControl *control = UiWindowFindControl(link->window, link->id);
    if (control && !link->window->updating)
        UiWindowUserChose(link->window, control, gtk_combo_box_get_active(box));
}

gboolean OnDelete(GtkWidget *, GdkEvent *, gpointer data)
{
    UiWindowPostEvent(static_cast<UiWindow *>(data), UI_EVENT_CLOSE, 0);
    return TRUE; // the program destroys the window itself
}

gboolean OnKeyRelease(GtkWidget *, GdkEventKey *event, gpointer data)
{
    if (event->keyval != GDK_KEY_Escape)
        return FALSE;
    UiWindowPostEvent(static_cast<UiWindow *>(data), UI_EVENT_ESCAPE, 0);
    return TRUE;
}

gboolean OnDrawn(GtkWidget *, cairo_t *, gpointer data)
{
    static_cast<UiWindow *>(data)->drawn = true;
    return FALSE;
}

// A window the desktop has hidden away (minimised) is not drawn until it
// comes back: nothing is waited for then.
bool Iconified(GtkWidget *top)
{
    GdkWindow *shown = gtk_widget_get_window(top);
    return shown && (gdk_window_get_state(shown) & GDK_WINDOW_STATE_ICONIFIED);
}

// How long a pump waits at most for the desktop to map and draw a window.
const gint64 DRAW_WAIT_USEC = G_USEC_PER_SEC / 4;

void Connect(GtkWidget *widget, const char *signal, GCallback handler, UiWindow *window, int id)
{
    g_signal_connect_data(widget, signal, handler, new Link{window, id}, FreeLink, GConnectFlags(0));
}

GtkWidget *Inner(UiControl *control)
{
    GtkWidget *outer = static_cast<GtkWidget *>(control->native);
    gpointer inner = g_object_get_data(G_OBJECT(outer), "hw-inner");
    return inner ? static_cast<GtkWidget *>(inner) : outer;
}

void SetBackground(GtkWidget *window, const _UiWindowParms &parms)
{
    if (parms.red < 0 && parms.green < 0 && parms.blue < 0)
        return;
    auto part = [](float value) { return static_cast<int>(value * 255.0f + 0.5f) & 255; };
    gchar *css = g_strdup_printf("window { background-color: rgb(%d,%d,%d); }", part(parms.red), part(parms.green),
                                 part(parms.blue));
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    g_free(css);
}

// A label that keeps the width it is given: a text too long for it ends in
// an ellipsis instead of widening the window.
GtkWidget *FittedLabel()
{
    GtkWidget *label = gtk_label_new(nullptr);
    gtk_label_set_yalign(GTK_LABEL(label), 0.5f);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    return label;
}

class GtkBackend : public UiBackend {
public:
    bool CreateWindow(UiWindow *window) override
    {
        const _UiWindowParms &parms = window->parms;
        GtkWidget *top = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_title(GTK_WINDOW(top), Utf8(window->title).c_str());
        if (parms.dialog) {
            gtk_widget_set_name(top, "hw-dialog");
            gtk_window_set_decorated(GTK_WINDOW(top), FALSE);
            gtk_window_set_resizable(GTK_WINDOW(top), FALSE);
        }
        if (parms.dialog || parms.x < 0 || parms.y < 0)
            gtk_window_set_position(GTK_WINDOW(top), GTK_WIN_POS_CENTER);
        else
            gtk_window_move(GTK_WINDOW(top), parms.x, parms.y);
        SetBackground(top, parms);
        GtkWidget *fixed = gtk_fixed_new();
        gtk_widget_set_size_request(fixed, parms.width, parms.height);
        gtk_container_add(GTK_CONTAINER(top), fixed);
        g_signal_connect(top, "delete-event", G_CALLBACK(OnDelete), window);
        g_signal_connect(top, "key-release-event", G_CALLBACK(OnKeyRelease), window);
        g_signal_connect_after(top, "draw", G_CALLBACK(OnDrawn), window);
        window->native = top;
        window->native_extra = fixed;
        gtk_widget_show_all(top);
        return true;
    }

    void DestroyWindow(UiWindow *window) override
    {
        gtk_widget_destroy(static_cast<GtkWidget *>(window->native));
        window->native = window->native_extra = nullptr;
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
    }

    bool CreateControl(UiWindow *window, UiControl *control) override
    {
        GtkWidget *widget = MakeWidget(window, control);
        if (!widget)
            return false;
        control->native = widget;
        // A list is as tall as GTK draws it; the height it is given is the
        // height of its open list on the desktop.
        int height = control->kind == UI_DROP_DOWN ? -1 : control->height;
        gtk_widget_set_size_request(widget, control->width, height);
        gtk_fixed_put(GTK_FIXED(window->native_extra), widget, control->x, control->y);
        // Shown first: GTK measures only what is shown.
        gtk_widget_show_all(widget);
        ShowControl(window, control);
        return true;
    }

    // A label is at least as wide as GTK measures its text: the positions
    // were laid out for a smaller font than the desktop's. It grows to the
    // right, or about its middle when centred, and stays in the window.
    void FitLabel(UiWindow *window, UiControl *control)
    {
        GtkWidget *outer = static_cast<GtkWidget *>(control->native);
        int natural = 0;
        gtk_widget_set_size_request(outer, -1, control->height);
        gtk_widget_get_preferred_width(outer, nullptr, &natural);
        const int room = std::max(control->given_width, window->parms.width);
        const int width = std::min(std::max(control->given_width, natural), room);
        int x = control->given_x;
        if (control->align == UI_ALIGN_CENTRE)
            x -= (width - control->given_width) / 2;
        else if (control->align == UI_ALIGN_RIGHT)
            x -= width - control->given_width;
        x = std::max(0, std::min(x, window->parms.width - width));
        control->x = x;
        control->width = width;
        gtk_widget_set_size_request(outer, width, control->height);
        gtk_fixed_move(GTK_FIXED(window->native_extra), outer, x, control->y);
    }

    void ShowControl(UiWindow *window, UiControl *control) override
    {
        GtkWidget *outer = static_cast<GtkWidget *>(control->native);
        GtkWidget *inner = Inner(control);
        gtk_widget_set_sensitive(outer, control->enabled);
        static const float X_ALIGN[] = {0.0f, 0.5f, 1.0f};
        switch (control->kind) {
        case UI_GROUP_BOX:
            gtk_frame_set_label(GTK_FRAME(outer), Utf8(control->text).c_str());
            break;
        case UI_LABEL:
        case UI_LABEL_BORDERED:
            gtk_label_set_text(GTK_LABEL(inner), Utf8(control->text).c_str());
            gtk_label_set_xalign(GTK_LABEL(inner), X_ALIGN[control->align]);
            FitLabel(window, control);
            break;
        case UI_PUSH_BUTTON:
        case UI_DEFAULT_BUTTON:
            gtk_button_set_label(GTK_BUTTON(outer), Mnemonic(control->text).c_str());
            break;
        case UI_RADIO_BUTTON:
            gtk_button_set_label(GTK_BUTTON(outer), Mnemonic(control->text).c_str());
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(outer), control->checked);
            break;
        case UI_TEXT_BOX:
            gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(inner)), Utf8(control->text).c_str(), -1);
            break;
        case UI_DROP_DOWN:
            gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(outer));
            for (const std::string &item : control->items)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(outer), Utf8(item).c_str());
            gtk_combo_box_set_active(GTK_COMBO_BOX(outer), control->selection);
            break;
        case UI_PICTURE:
            break;
        }
        // Drawn again even when nothing changed, so a pump waiting for the
        // window to show its present state has a draw to wait for.
        gtk_widget_queue_draw(outer);
    }

    void Pump(UiWindow *window, bool wait) override
    {
        // A new or changed window needs several turns of the desktop (map,
        // expose, the frame clock's paint) before the user sees it; a
        // caller that pumps once and then blocks would leave it blank.
        GtkWidget *top = static_cast<GtkWidget *>(window->native);
        if (!wait) {
            if (window->drawn || Iconified(top)) {
                g_main_context_iteration(nullptr, FALSE);
                return;
            }
            const gint64 give_up = g_get_monotonic_time() + DRAW_WAIT_USEC;
            while (!window->drawn && g_get_monotonic_time() < give_up) {
                if (!g_main_context_iteration(nullptr, FALSE))
                    g_usleep(1000);
            }
            return;
        }
        // A wait ends after a tenth of a second at most, so that the caller's
        // loop sees a close-down asked for meanwhile (a signal may be taken
        // on another thread and not interrupt this one's wait).
        GSource *wake = g_timeout_source_new(100);
        g_source_set_callback(wake, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
        g_source_attach(wake, nullptr);
        g_main_context_iteration(nullptr, TRUE);
        g_source_destroy(wake);
        g_source_unref(wake);
    }

    void Click(UiWindow *, UiControl *control) override
    {
        gtk_button_clicked(GTK_BUTTON(control->native));
    }

    void Choose(UiWindow *, UiControl *control, int index) override
    {
        gtk_combo_box_set_active(GTK_COMBO_BOX(control->native), index);
    }

    void PressEscape(UiWindow *window) override
    {
        GtkWidget *top = static_cast<GtkWidget *>(window->native);
        GdkWindow *shown = gtk_widget_get_window(top);
        if (!shown)
            return;
        GdkEvent *event = gdk_event_new(GDK_KEY_RELEASE);
        event->key.window = GDK_WINDOW(g_object_ref(shown));
        event->key.send_event = TRUE;
        event->key.keyval = GDK_KEY_Escape;
        event->key.time = GDK_CURRENT_TIME;
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_window_get_display(shown))));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }

    void CloseBox(UiWindow *window) override { gtk_window_close(GTK_WINDOW(window->native)); }

    bool WaitUntilShown(UiWindow *window) override
    {
        GtkWidget *top = static_cast<GtkWidget *>(window->native);
        gint64 give_up = g_get_monotonic_time() + 2 * G_USEC_PER_SEC;
        while (!gtk_widget_get_mapped(top) && g_get_monotonic_time() < give_up) {
            if (!g_main_context_iteration(nullptr, FALSE))
                g_usleep(1000);
        }
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
        return gtk_widget_get_mapped(top);
    }

    bool TextIsWhole(UiControl *control) override
    {
        GtkWidget *inner = Inner(control);
        return !GTK_IS_LABEL(inner) || !pango_layout_is_ellipsized(gtk_label_get_layout(GTK_LABEL(inner)));
    }

    void GetShownSize(UiWindow *window, int *width, int *height) override
    {
        GtkWidget *fixed = static_cast<GtkWidget *>(window->native_extra);
        *width = gtk_widget_get_allocated_width(fixed);
        *height = gtk_widget_get_allocated_height(fixed);
    }

private:
    GtkWidget *previous_radio = nullptr;

    GtkWidget *MakeWidget(UiWindow *window, UiControl *control)
    {
        GtkWidget *widget = nullptr;
        if (control->kind != UI_RADIO_BUTTON)
            previous_radio = nullptr;
        switch (control->kind) {
        case UI_GROUP_BOX:
            return gtk_frame_new(nullptr);
        case UI_LABEL:
            return FittedLabel();
        case UI_LABEL_BORDERED: {
            widget = gtk_frame_new(nullptr);
            GtkWidget *label = FittedLabel();
            gtk_container_add(GTK_CONTAINER(widget), label);
            g_object_set_data(G_OBJECT(widget), "hw-inner", label);
            return widget;
        }
        case UI_PUSH_BUTTON:
        case UI_DEFAULT_BUTTON:
            widget = gtk_button_new_with_mnemonic("");
            Connect(widget, "clicked", G_CALLBACK(OnClicked), window, control->id);
            if (control->kind == UI_DEFAULT_BUTTON) {
                gtk_widget_set_can_default(widget, TRUE);
                gtk_window_set_default(GTK_WINDOW(window->native), widget);
                gtk_widget_grab_focus(widget);
            }
            return widget;
        case UI_RADIO_BUTTON:
            widget = previous_radio ? gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(previous_radio))
                                    : gtk_radio_button_new(nullptr);
            gtk_toggle_button_set_mode(GTK_TOGGLE_BUTTON(widget), FALSE);
            Connect(widget, "toggled", G_CALLBACK(OnToggled), window, control->id);
            previous_radio = widget;
            return widget;
        case UI_TEXT_BOX: {
            widget = gtk_scrolled_window_new(nullptr, nullptr);
            GtkWidget *view = gtk_text_view_new();
            gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
            gtk_container_add(GTK_CONTAINER(widget), view);
            g_object_set_data(G_OBJECT(widget), "hw-inner", view);
            return widget;
        }
        case UI_DROP_DOWN:
            widget = gtk_combo_box_text_new();
            Connect(widget, "changed", G_CALLBACK(OnChanged), window, control->id);
            return widget;
        case UI_PICTURE: {
            char path[1024];
            if (!PlatformPathFromAnsi(control->text.c_str(), path, sizeof(path)))
                return nullptr;
            return gtk_image_new_from_file(path);
        }
        }
        return nullptr;
    }
};

} // namespace

std::unique_ptr<UiBackend> UiMakeGtkBackend()
{
    if (!StartGtk())
        return nullptr;
    return std::make_unique<GtkBackend>();
}

float UiGtkScreenDpi()
{
    if (!StartGtk())
        return 96.0f;
    double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
    return dpi > 0.0 ? static_cast<float>(dpi) : 96.0f;
}

bool UiTestCaptureScreen(const char *png_file, std::vector<uint32_t> *pixels, int *width, int *height)
{
    if (!StartGtk())
        return false;
    GdkWindow *root = gdk_get_default_root_window();
    int w = gdk_window_get_width(root);
    int h = gdk_window_get_height(root);
    GdkPixbuf *pixbuf = gdk_pixbuf_get_from_window(root, 0, 0, w, h);
    if (!pixbuf)
        return false;
    bool saved = !png_file || gdk_pixbuf_save(pixbuf, png_file, "png", nullptr, nullptr);
    if (pixels) {
        const int channels = gdk_pixbuf_get_n_channels(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar *data = gdk_pixbuf_read_pixels(pixbuf);
        pixels->assign(static_cast<size_t>(w) * h, 0);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                const guchar *p = data + y * stride + x * channels;
                (*pixels)[static_cast<size_t>(y) * w + x] = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
            }
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    g_object_unref(pixbuf);
    return saved;
}
