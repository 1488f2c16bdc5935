#include "duilib/UITextFit.h"

#include "duilib/UITextLayout.h"

namespace DuiLib {

TextFit MeasureTextFit(const CLabelUI& label) {
    TextFit fit;
    fit.box = label.TextRect();
    const std::wstring text = label.GetText().str();
    if (text.empty()) return fit;
    // Selectable text breaks its own lines (after separators): measure those.
    if (const auto* selectable = dynamic_cast<const CSelectableTextUI*>(&label)) {
        std::wstring joined;
        for (const std::wstring& line : selectable->BreakLines(fit.box))
            joined += (joined.empty() ? L"" : L"\n") + line;
        fit.needed =
            MeasureTextBlock({TextRun{joined, -1}}, label.CurrentFont(), fit.box.Width(), false);
        return fit;
    }
    // A text control shows its links' texts, not their markup.
    const std::vector<TextRun> runs = dynamic_cast<const CTextUI*>(&label)
                                          ? ParseLinkMarkup(text).runs
                                          : std::vector<TextRun>{TextRun{text, -1}};
    fit.needed = MeasureTextBlock(runs, label.CurrentFont(), fit.box.Width(),
                                  (label.GetTextStyle() & DT_ALIGN_WRAP) != 0);
    return fit;
}

}  // namespace DuiLib
