// The country flags grids "Data/Common/CountryFlags512.png" and the large
// "CountryFlags1024.png": 16 x 16 cells, cell c in column c mod 16 and row
// c div 16. Cells 0 to 221 hold the flags of the country table's rows in its
// order; cell 223 holds the flag that the code "UK" draws; cell 142 (New
// Caledonia, which draws France's cell) and cell 222 stay clear.
//
// The flags are the 4:3 SVGs of the flag-icons package (MIT licence),
// installed by scripts/deps.sh from tools/datagen/flags/package-lock.json,
// rendered with librsvg and stretched over their square cells, since the
// game stretches each cell back to a flag's shape. Netherlands Antilles, a
// withdrawn code the package no longer carries, is drawn here.
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <librsvg/rsvg.h>

#include <cmath>
#include <string>
#include <vector>

#ifndef HW_FLAG_SVG_DIR
#error "HW_FLAG_SVG_DIR must name the folder of the 4:3 flag SVGs"
#endif

namespace {

const int GRID = 16;
const int UK_CELL = 223;

// The flag file of each row of the country table, by the row's code. The
// table's row GB stands for the whole United Kingdom as well ("UK" and
// "United Kingdom" are read as it), so it shows the Union flag; G2, G3 and
// G4 are mapped to the package's names for their parts; "" is a cell left
// clear; "an" is drawn here.
const char *const ROW_FLAGS[222] = {
    "af", "al", "dz", "as", "ad", "ao", "ai", "aq", "ag", "ar", "am", "aw", "au", "at", "az", "bs",
    "bh", "bd", "bb", "by", "be", "bz", "bj", "bm", "bt", "bo", "ba", "bw", "br", "bn", "bg", "bf",
    "bi", "kh", "cm", "ca", "cv", "ky", "cf", "td", "cl", "cn", "co", "km", "cg", "cd", "ck", "cr",
    "ci", "hr", "cu", "cy", "cz", "dk", "dj", "dm", "do", "ec", "eg", "sv", "gb", "gq", "er", "ee",
    "et", "fj", "fi", "fr", "ga", "gm", "ge", "de", "gh", "gi", "gr", "gl", "gd", "gp", "gu", "gt",
    "gn", "gw", "gy", "ht", "hn", "hk", "hu", "is", "in", "id", "ir", "iq", "ie", "im", "il", "it",
    "jm", "jp", "jo", "kz", "ke", "ki", "kp", "kr", "kw", "kg", "la", "lv", "lb", "ls", "lr", "ly",
    "li", "lt", "lu", "mo", "mk", "mg", "mw", "my", "mv", "ml", "mt", "mh", "mq", "mr", "mu", "mx",
    "fm", "md", "mc", "mn", "me", "ms", "ma", "mz", "mm", "na", "nr", "np", "nl", "an", "", "nz",
    "ni", "ne", "ng", "gb-nir", "no", "om", "pk", "pw", "ps", "pa", "pg", "py", "pe", "ph", "pl", "pt",
    "pr", "qa", "re", "ro", "ru", "rw", "kn", "lc", "vc", "ws", "sm", "st", "sa", "gb-sct", "sn", "rs",
    "sc", "sl", "sg", "sk", "si", "sb", "so", "za", "es", "lk", "sd", "sr", "sz", "se", "ch", "sy",
    "tw", "tj", "tz", "th", "tl", "tg", "to", "tt", "tn", "tr", "tm", "tc", "tv", "ug", "ua", "ae",
    "us", "uy", "uz", "vu", "va", "ve", "vn", "vg", "vi", "gb-wls", "eh", "ye", "zm", "zw",
};

// Netherlands Antilles, on the 640 x 480 field of the package's flags:
// white, a red upright band, a blue cross band with five white stars.
void NetherlandsAntilles(cairo_t *cr)
{
    cairo_rectangle(cr, 0, 0, 640, 480);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_rectangle(cr, 280, 0, 80, 480);
    SetColour(cr, Hex(0xce1126));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 180, 640, 120);
    SetColour(cr, Hex(0x012a87));
    cairo_fill(cr);
    const double STARS[5][2] = {{240, 215}, {400, 215}, {200, 265}, {320, 265}, {440, 265}};
    for (const auto &s : STARS)
        StarPath(cr, s[0], s[1], 22, 0.4, 5, -PAINT_PI / 2);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

bool RenderSvg(cairo_t *cr, const std::string &name, std::string *error)
{
    std::string path = std::string(HW_FLAG_SVG_DIR) + "/" + name + ".svg";
    GError *failure = nullptr;
    RsvgHandle *handle = rsvg_handle_new_from_file(path.c_str(), &failure);
    if (!handle) {
        *error = path + ": " + (failure ? failure->message : "cannot be read") +
                 " (scripts/deps.sh installs the flags)";
        if (failure)
            g_error_free(failure);
        return false;
    }
    RsvgRectangle viewport = {0.0, 0.0, 640.0, 480.0};
    bool ok = rsvg_handle_render_document(handle, cr, &viewport, &failure);
    if (!ok) {
        *error = path + ": " + (failure ? failure->message : "cannot be drawn");
        if (failure)
            g_error_free(failure);
    }
    g_object_unref(handle);
    return ok;
}

bool PaintFlags(cairo_t *cr, int width, int, std::string *error)
{
    double cell = width / (double)GRID;
    // Each flag sits one texel in from its cell's edge inside a dark rim,
    // so that filtering never blends in a neighbour's colours.
    double inset = cell / 32.0;
    for (int c = 0; c < GRID * GRID; c++) {
        std::string name = c < 222 ? ROW_FLAGS[c] : (c == UK_CELL ? "gb" : "");
        if (name.empty())
            continue;
        double x = (c % GRID) * cell, y = (c / GRID) * cell;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, cell, cell);
        SetColour(cr, Hex(0x202020), 0.75);
        cairo_fill(cr);
        cairo_translate(cr, x + inset, y + inset);
        cairo_scale(cr, (cell - 2 * inset) / 640.0, (cell - 2 * inset) / 480.0);
        cairo_rectangle(cr, 0, 0, 640, 480);
        cairo_clip(cr);
        bool ok = true;
        if (name == "an")
            NetherlandsAntilles(cr);
        else
            ok = RenderSvg(cr, name, error);
        cairo_restore(cr);
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

void FlagPainterAddJobs(std::vector<PictureJob> *jobs)
{
    jobs->push_back(PictureJob{"Common/CountryFlags512.png", PaintFlags});
    jobs->push_back(PictureJob{"Common/CountryFlags1024.png", PaintFlags});
}
