// Text layout for labels: link markup, line breaking, ellipsis and alignment.
// The core lays text out itself, measuring through Backend::MeasureText, so both
// backends break and place text identically and link hit-testing matches what
// is drawn. Every placed piece is one line of one run.
#pragma once

#include <string>
#include <vector>

#include "duilib/UIRender.h"

namespace DuiLib {

struct TextRun {
    std::wstring text;
    int link = -1;  // index of the link this run shows, or -1
};

struct LinkMarkup {
    std::vector<TextRun> runs;
    std::vector<std::wstring> targets;  // per link; empty when "{a}" had none
    std::vector<std::wstring> shown;    // per link
};

// "{a}shown{/a}" and "{a target}shown{/a}" become link runs; anything that is not
// complete markup stays plain text.
LinkMarkup ParseLinkMarkup(const std::wstring& text);

struct PlacedText {
    UIRect cell;  // where the piece is drawn: its line box
    std::wstring text;
    int link = -1;
};

// Lays runs out in `box` with the DT_ALIGN_* flags of `style`: single line per
// "\n" unless DT_ALIGN_WRAP (then lines break where Unicode's line breaking
// allows, UILineBreak.h, at the box's width); DT_ALIGN_ELLIPSIS ends a line that
// does not fit with "...".
std::vector<PlacedText> LayoutText(const std::vector<TextRun>& runs, const UIFont& font,
                                   const UIRect& box, unsigned style);

// The room the runs need to show whole: cx the widest line (when wrapping at
// `maxWidth`, a word wider than that counts whole), cy the height of all lines.
UISize MeasureTextBlock(const std::vector<TextRun>& runs, const UIFont& font, int maxWidth,
                        bool wrap);

}  // namespace DuiLib
