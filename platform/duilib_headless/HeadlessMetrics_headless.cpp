// Headless backend, text metrics and the hover time: fixed and independent of any font file, so
// layouts measure the same on every machine (see HeadlessTesting.h).
#include "duilib_headless/HeadlessInternal.h"

namespace DuiLib {

int Headless::CharAdvance(int fontSize) {
    return (fontSize + 1) / 2;
}
int Headless::LineHeight(int fontSize) {
    return fontSize + 3;
}

unsigned Backend::GetHoverTimeMs() {
    return Headless::kHoverTimeMs;
}

UISize Backend::MeasureText(const std::wstring& text, const UIFont& font) {
    int advance = Headless::CharAdvance(font.size) + (font.bold ? 1 : 0);
    return UISize{advance * static_cast<int>(text.size()), Headless::LineHeight(font.size)};
}

}  // namespace DuiLib
