#include "duilib/UITextFit.h"

#include "duilib/UITextLayout.h"

namespace DuiLib {

TextFit MeasureTextFit(const CLabelUI& label) {
    TextFit fit;
    fit.box = label.TextRect();
    const std::wstring text = label.GetText().str();
    if (text.empty()) return fit;
    // A text control shows its links' texts, not their markup.
    const std::vector<TextRun> runs = dynamic_cast<const CTextUI*>(&label)
                                          ? ParseLinkMarkup(text).runs
                                          : std::vector<TextRun>{TextRun{text, -1}};
    fit.needed = MeasureTextBlock(runs, label.CurrentFont(), fit.box.Width(),
                                  (label.GetTextStyle() & DT_ALIGN_WRAP) != 0);
    return fit;
}

}  // namespace DuiLib
