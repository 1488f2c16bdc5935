// CSelectableTextUI: text the user can select (all of it, with the focus) and copy.
#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"
#include "duilib/UITextLayout.h"

namespace DuiLib {

namespace {

bool EndsAPart(wchar_t c) {
    return c == L'\\' || c == L'/' || c == L' ';
}

}  // namespace

LPCTSTR CSelectableTextUI::GetClass() const {
    return L"SelectableTextUI";
}

bool CSelectableTextUI::IsInteractiveAt(int x, int y) const {
    return IsFocusable() && GetVisibleRect().Contains(x, y);
}

void CSelectableTextUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SETFOCUS || event.Type == UIEVENT_KILLFOCUS) Invalidate();
    CLabelUI::DoEvent(event);
}

CDuiString CSelectableTextUI::GetCopyText() const {
    return HasFocus() ? GetText() : CDuiString();
}

std::vector<std::wstring> CSelectableTextUI::BreakLines(const UIRect& box) const {
    const std::wstring text = GetText().str();
    const UIFont font = CurrentFont();
    const int width = box.right - box.left;
    std::vector<std::wstring> lines(1);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !EndsAPart(text[end])) ++end;
        if (end < text.size()) ++end;  // the separator stays at the end of its part
        const std::wstring part = text.substr(start, end - start);
        if (!lines.back().empty() && Backend::MeasureText(lines.back() + part, font).cx > width) {
            lines.emplace_back();
        }
        lines.back() += part;
        start = end;
    }
    return lines;
}

void CSelectableTextUI::PaintContent(CRenderList& list, const UIRect& clip) {
    if (GetText().IsEmpty()) return;
    const UIRect box = TextRect();
    const UIRect textClip = IntersectRect(clip, box);
    if (IsRectEmpty(textClip)) return;
    std::wstring shown;
    for (const std::wstring& line : BreakLines(box)) shown += (shown.empty() ? L"" : L"\n") + line;
    const UIFont font = CurrentFont();
    const bool selected = HasFocus();
    const UISystemColors& system = UIColors::Current();
    const uint32_t color = selected ? system.highlightText : PaintedTextColor();
    const unsigned style = m_textStyle & ~(DT_ALIGN_WRAP | DT_ALIGN_ELLIPSIS);
    for (const PlacedText& piece : LayoutText({TextRun{shown, -1}}, font, box, style)) {
        if (selected) list.FillRect(piece.cell, system.highlight, textClip);
        list.Text(piece.cell, piece.text, font, color, textClip);
    }
}

}  // namespace DuiLib
