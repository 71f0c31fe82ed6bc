// The script button shows a long styled text (help pages, notices) wrapped
// to its width and scrolled by a vertical scrollbar of its own. The text is
// a small mark-up: a newline ends a paragraph; a three-character tag - '<'
// or '>', a style digit 0 to 5, '<' or '>' - starts a paragraph in that
// style without breaking the line ("<<" left, "<>" centred, ">>" right,
// "><" the button's own alignment). Anything else is plain text.
//
// The button keeps its own copy of the text until ClearText, so a caller
// may free or reuse its buffer at once. A text ending with a tag (or made of
// a tag alone) ends with an empty paragraph and is still shown.
//
// Failures: a paragraph that runs outside the text drops the paragraphs
// (nothing is drawn) with a log line; a missing font lays out nothing.
#pragma once

#include "gui/MWinButton.h"

#include <string>
#include <vector>

class MWinVertScrollbar;

struct _MWinScriptParagraph {
    signed char m_style; // -1 none, 0 to 5
    int m_align;         // -1 the button's own, else _MWinTextAlign
    int m_start;         // first character, after the tag
    int m_end;           // one past the last character, newline excluded
    int m_text_length;
    char m_ends_line;    // 0 when a tag ended it: it shares its last line
    int m_line_count;
    int m_first_line;
};

class MWinScriptButton : public MWinButton {
public:
    enum { NUM_STYLES = 4 };

    MWinScriptButton(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y,
                     float w, float h);
    ~MWinScriptButton() override;

    // Copies and shows the text; null is ignored.
    void SetText(const char *text);
    void ClearText();
    // Styles 1 to 4; a scale of 0 or less uses the button's text scale.
    char SetStyle(int style, float r, float g, float b, float a, float scale);
    void ParseText();

    int GetNumParagraphs() const { return static_cast<int>(m_pars.size()); }
    const _MWinScriptParagraph *GetParagraph(int n) const;
    int GetTotalLines() const { return m_total_lines; }
    int GetLinesPerPage() const { return m_lines_per_page; }
    char IsScrollingNeeded() const { return m_scrolling_needed; }
    float GetTextWidthUsed() const { return m_text_width; }
    float GetScrollPos() const { return m_scroll_pos; }
    MWinVertScrollbar *GetScrollbar() { return m_vscroll; }

    void AreaChanged() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char extra) override;
    char HandleMouseButtonReleased(char button) override;
    char CancelPress() override;
    void HandleMouseMove() override;
    char HandleMouseWheel(int count) override;
    char HandleKeyDown(int key) override;
    char IsCapturingInput() override;
    void Activate() override;
    char Deactivate() override;

private:
    struct Style {
        _ColourRGBA colour;
        float scale;
    };

    void ResetScript();
    void CalcLinesInPars();
    void UpdateLayout();
    void RenderTexts();
    // The font at the button's scale times the style's; null without font.
    EngFont *PrepareStyleFont(const _MWinScriptParagraph &par);
    bool ScrollbarShown();

    std::string m_text;
    bool m_has_text = false;
    std::vector<_MWinScriptParagraph> m_pars;
    float m_scroll_pos = 0;
    Style m_styles[NUM_STYLES];
    int m_lines_per_page = 1;
    int m_total_lines = 0;
    char m_scrolling_needed = 0;
    float m_text_width = 0;
    MWinVertScrollbar *m_vscroll = nullptr;
};
