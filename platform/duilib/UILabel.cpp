// CLabelUI: a control that draws its text.
#include <algorithm>
#include <string_view>

#include "duilib/UIAttributes.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"
#include "duilib/UITextLayout.h"

namespace DuiLib {

LPCTSTR CLabelUI::GetClass() const {
    return L"LabelUI";
}

bool CLabelUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    // No copies of the name: most attributes are not a label's and go to the base.
    const std::wstring_view n = name ? name : L"";
    const wchar_t* v = value ? value : L"";
    uint32_t c = 0;
    int i = 0;
    unsigned style = 0;
    UIRect r;
    if (n == L"textcolor") {
        if (Attr::ParseColor(v, c)) SetTextColor(c);
    } else if (n == L"disabledtextcolor") {
        if (Attr::ParseColor(v, c)) SetDisabledTextColor(c);
    } else if (n == L"hottextcolor") {
        if (Attr::ParseColor(v, c)) SetHotTextColor(c);
    } else if (n == L"font") {
        if (Attr::ParseInt(v, i)) SetFont(i);
    } else if (n == L"align") {
        if (Attr::ParseAlign(v, style)) SetTextStyle(style);
    } else if (n == L"textpadding") {
        if (Attr::ParseRect(v, r)) SetTextPadding(r);
    } else {
        return CControlUI::ApplyAttribute(name, value);
    }
    return true;
}

void CLabelUI::SetTextColor(uint32_t argb) {
    m_textColor = argb;
    Invalidate();
}

uint32_t CLabelUI::GetTextColor() const {
    return m_textColor;
}

void CLabelUI::SetDisabledTextColor(uint32_t argb) {
    m_disabledTextColor = argb;
    Invalidate();
}

uint32_t CLabelUI::GetDisabledTextColor() const {
    return m_disabledTextColor;
}

void CLabelUI::SetHotTextColor(uint32_t argb) {
    m_hotTextColor = argb;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    m_font = index;
    Invalidate();
}

int CLabelUI::GetFont() const {
    return m_font;
}

void CLabelUI::SetTextStyle(unsigned style) {
    m_textStyle = style;
    Invalidate();
}

unsigned CLabelUI::GetTextStyle() const {
    return m_textStyle;
}

void CLabelUI::SetTextPadding(const UIRect& padding) {
    m_textPadding = padding;
    Invalidate();
}

uint32_t CLabelUI::CurrentTextColor() const {
    if (!IsEnabledInTree()) return m_disabledTextColor;
    if (m_hot && m_hotTextColor) return m_hotTextColor;
    return m_textColor;
}

uint32_t CLabelUI::PaintedTextColor() const {
    UIColorRole role = TextRole();
    if (!IsEnabledInTree()) {
        role = UIColorRole::DisabledText;
    } else if (ShowsHotInHighContrast()) {
        role = UIColorRole::HotText;
    }
    return UIColors::Resolve(CurrentTextColor(), role);
}

UIRect CLabelUI::TextRect() const {
    UIRect rc = m_pos;
    rc.left += Scale(m_textPadding.left);
    rc.top += Scale(m_textPadding.top);
    rc.right -= Scale(m_textPadding.right);
    rc.bottom -= Scale(m_textPadding.bottom);
    return rc;
}

bool CLabelUI::CaresWhenPointerLeaves() const {
    return m_hotTextColor != 0 || CControlUI::CaresWhenPointerLeaves();
}

UIFont CLabelUI::CurrentFont() const {
    if (m_manager) return m_manager->GetFont(m_font);
    return UIFont{};
}

void CLabelUI::PaintContent(CRenderList& list, const UIRect& clip) {
    std::wstring text = GetText().str();
    if (text.empty()) return;
    UIFont font = CurrentFont();
    UIRect box = TextRect();
    UIRect textClip = IntersectRect(clip, box);
    if (IsRectEmpty(textClip)) return;
    uint32_t color = PaintedTextColor();
    for (const PlacedText& piece : LayoutText({TextRun{text, -1}}, font, box, m_textStyle)) {
        list.Text(piece.cell, piece.text, font, color, textClip);
    }
}

}  // namespace DuiLib
