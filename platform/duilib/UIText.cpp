// CTextUI: a label whose text can carry links; a click on one raises "link".
#include "duilib/UIAttributes.h"
#include "duilib/UIControls.h"
#include "duilib/UITextLayout.h"

namespace DuiLib {

namespace {

std::vector<PlacedText> PlaceLinks(const std::wstring& text, const UIFont& font, const UIRect& box,
                                   unsigned style) {
    return LayoutText(ParseLinkMarkup(text).runs, font, box, style);
}

}  // namespace

LPCTSTR CTextUI::GetClass() const {
    return L"TextUI";
}

bool CTextUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    uint32_t c = 0;
    if (name && std::wstring(name) == L"linkcolor") {
        if (Attr::ParseColor(value ? value : L"", c)) SetLinkColor(c);
        return true;
    }
    return CLabelUI::ApplyAttribute(name, value);
}

void CTextUI::SetLinkColor(uint32_t argb) {
    m_linkColor = argb;
    Invalidate();
}

uint32_t CTextUI::GetLinkColor() const {
    return m_linkColor;
}

UIRole CTextUI::ClassRole() const {
    return GetLinkCount() > 0 ? UIRole::Link : UIRole::StaticText;
}

std::wstring CTextUI::AccessibleText() const {
    std::wstring shown;
    for (const TextRun& run : ParseLinkMarkup(GetText().str()).runs) shown += run.text;
    return shown;
}

int CTextUI::GetLinkCount() const {
    return static_cast<int>(ParseLinkMarkup(GetText().str()).targets.size());
}

CDuiString CTextUI::GetLinkContent(int index) const {
    LinkMarkup markup = ParseLinkMarkup(GetText().str());
    if (index < 0 || index >= static_cast<int>(markup.targets.size())) return CDuiString();
    const std::wstring& target = markup.targets[index];
    return CDuiString(target.empty() ? markup.shown[index] : target);
}

UIRect CTextUI::GetLinkRect(int index) const {
    UIRect visible = IntersectRect(GetVisibleRect(), TextRect());
    for (const PlacedText& piece :
         PlaceLinks(GetText().str(), CurrentFont(), TextRect(), m_textStyle)) {
        if (piece.link == index) return IntersectRect(piece.cell, visible);
    }
    return UIRect{};
}

int CTextUI::LinkAt(int x, int y) const {
    if (!IntersectRect(GetVisibleRect(), TextRect()).Contains(x, y)) return -1;
    for (const PlacedText& piece :
         PlaceLinks(GetText().str(), CurrentFont(), TextRect(), m_textStyle)) {
        if (piece.link >= 0 && piece.cell.Contains(x, y)) return piece.link;
    }
    return -1;
}

bool CTextUI::IsInteractiveAt(int x, int y) const {
    return LinkAt(x, y) >= 0;
}

UIRect CTextUI::GetFocusRect() const {
    const UIRect pos = GetPos();
    const UIRect box = TextRect().Offset(pos.left - m_pos.left, pos.top - m_pos.top);
    for (const PlacedText& piece : PlaceLinks(GetText().str(), CurrentFont(), box, m_textStyle)) {
        if (piece.link == 0) return piece.cell;
    }
    return pos;
}

bool CTextUI::IsFocusable() const {
    return GetLinkCount() > 0;
}

bool CTextUI::Activate() {
    if (!IsEnabledInTree() || GetLinkCount() == 0) return false;
    Notify(L"link", 0);  // last step: the handler may remove this control
    return true;
}

void CTextUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
            m_pressedLink = IsEnabledInTree() ? LinkAt(event.x, event.y) : -1;
            return;
        case UIEVENT_BUTTONUP: {
            int link = m_pressedLink;
            m_pressedLink = -1;
            if (link >= 0 && IsEnabledInTree() && LinkAt(event.x, event.y) == link) {
                Notify(L"link", static_cast<WPARAM>(link));
            }
            return;
        }
        default:
            CLabelUI::DoEvent(event);
    }
}

void CTextUI::PaintContent(CRenderList& list, const UIRect& clip) {
    UIFont font = CurrentFont();
    UIRect box = TextRect();
    UIRect textClip = IntersectRect(clip, box);
    if (IsRectEmpty(textClip)) return;
    uint32_t color = PaintedTextColor();
    uint32_t linkColor = IsEnabledInTree()
                             ? UIColors::Resolve(m_linkColor, UIColorRole::Link)
                             : UIColors::Resolve(m_disabledTextColor, UIColorRole::DisabledText);
    for (const PlacedText& piece : PlaceLinks(GetText().str(), font, box, m_textStyle)) {
        UIFont pieceFont = font;
        pieceFont.underline = piece.link >= 0;
        list.Text(piece.cell, piece.text, pieceFont, piece.link >= 0 ? linkColor : color, textClip);
    }
}

}  // namespace DuiLib
