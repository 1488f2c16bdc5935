// Headless backend, the system settings the toolkit reads: the wheel's lines per
// notch and the colours with the high-contrast setting, as tests set them.
#include "duilib/UIManager.h"
#include "duilib_headless/HeadlessInternal.h"

namespace DuiLib {

namespace {

unsigned g_wheelLines = 3;  // UI thread
bool g_keyboardCues = false;
std::wstring g_clipboard;

}  // namespace

unsigned Backend::WheelScrollLines() {
    return g_wheelLines;
}

bool Backend::KeyboardCuesAlwaysShown() {
    return g_keyboardCues;
}

namespace Headless {

std::wstring ClipboardText() {
    return g_clipboard;
}

namespace Internal {
bool HeadlessWindow::CopyToClipboard(const std::wstring& text) {
    g_clipboard = text;
    return true;
}
}  // namespace Internal

void SetKeyboardCues(bool always) {
    g_keyboardCues = always;
}

void SetWheelScrollLines(unsigned lines) {
    g_wheelLines = lines;
}

UISystemColors HighContrastColors() {
    UISystemColors colors;
    colors.highContrast = true;
    colors.window = 0xFF000000;
    colors.windowText = 0xFFFFFFFF;
    colors.buttonFace = 0xFF000000;
    colors.buttonText = 0xFFFFFFFF;
    colors.hotLight = 0xFFFFFF00;
    colors.grayText = 0xFF3FF23F;
    colors.highlight = 0xFF1AEBFF;
    colors.highlightText = 0xFF000000;
    return colors;
}

void SetHighContrast(bool on) {
    CPaintManagerUI::SetSystemColors(on ? HighContrastColors() : UISystemColors{});
}

namespace Internal {

void ResetSystemSettings() {
    g_wheelLines = 3;
    g_keyboardCues = false;
    g_clipboard.clear();
    if (UIColors::IsHighContrast()) SetHighContrast(false);
}

}  // namespace Internal
}  // namespace Headless
}  // namespace DuiLib
