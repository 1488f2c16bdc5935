#include "duilib/UITextLayout.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UILineBreak.h"

namespace DuiLib {

namespace {

const wchar_t kEllipsis[] = L"...";

struct Piece {
    std::wstring text;
    int link = -1;
};
using Line = std::vector<Piece>;

int Width(const std::wstring& text, const UIFont& font) {
    return text.empty() ? 0 : Backend::MeasureText(text, font).cx;
}

int LineWidth(const Line& line, const UIFont& font) {
    int w = 0;
    for (const Piece& p : line) w += Width(p.text, font);
    return w;
}

// UTF-16 (Windows): a code point above U+FFFF takes two units, never split.
bool IsHighSurrogate(wchar_t c) {
    return sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF;
}

bool IsSurrogatePair(const std::wstring& text, size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

void Append(Line& line, const std::wstring& text, int link) {
    if (!line.empty() && line.back().link == link) {
        line.back().text += text;
    } else {
        line.push_back(Piece{text, link});
    }
}

// Appends text[from, to) without a copy of its own.
void Append(Line& line, const std::wstring& text, size_t from, size_t to, int link) {
    if (line.empty() || line.back().link != link) line.push_back(Piece{std::wstring(), link});
    line.back().text.append(text, from, to - from);
}

// The runs' text as one, so that breaks are found across link boundaries. A
// single run is used in place. Not copyable: `text` may point into `joined`.
struct Flow {
    explicit Flow(const std::vector<TextRun>& runs) {
        for (const TextRun& run : runs) {
            starts.push_back(Start{joined.size(), run.link});
            if (runs.size() > 1) joined += run.text;
        }
        text = runs.size() == 1 ? &runs[0].text : &joined;
        starts.push_back(Start{text->size(), -1});
    }
    Flow(const Flow&) = delete;
    Flow& operator=(const Flow&) = delete;

    struct Start {
        size_t at;  // where the run begins in `*text`
        int link;
    };
    std::wstring joined;
    const std::wstring* text = nullptr;
    std::vector<Start> starts;  // per run, and one for the end
};

// Calls `piece(from, to, link)` for each run's share of [begin, end).
template <typename F>
void ForEachPiece(const Flow& flow, size_t begin, size_t end, F piece) {
    if (flow.starts.size() == 2) {  // one run, the common case
        if (begin < end) piece(begin, end, flow.starts[0].link);
        return;
    }
    for (size_t r = 0; r + 1 < flow.starts.size() && begin < end; ++r) {
        const size_t runEnd = flow.starts[r + 1].at;
        if (runEnd <= begin) continue;
        const size_t stop = std::min(end, runEnd);
        piece(begin, stop, flow.starts[r].link);
        begin = stop;
    }
}

int SegmentWidth(const Flow& flow, size_t begin, size_t end, const UIFont& font) {
    thread_local std::wstring piece;  // reused: measuring allocates nothing
    int w = 0;
    ForEachPiece(flow, begin, end, [&](size_t from, size_t to, int) {
        piece.assign(*flow.text, from, to - from);
        w += Width(piece, font);
    });
    return w;
}

bool EndsLine(wchar_t c) {
    return c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f' || c == 0x85 || c == 0x2028 ||
           c == 0x2029;
}

// Calls `segment(begin, end, hard)` for each stretch of the text that a line may
// not break inside: between line break opportunities (UAX #14) when wrapping,
// else between "\n". `hard` says a line ends after it; the characters that end
// the line are left out of [begin, end).
template <typename F>
void ForEachSegment(const std::wstring& text, bool wrap, F segment) {
    if (!wrap) {
        size_t begin = 0;
        for (size_t nl = text.find(L'\n'); nl != std::wstring::npos; nl = text.find(L'\n', begin)) {
            segment(begin, nl, true);
            begin = nl + 1;
        }
        segment(begin, text.size(), false);
        return;
    }
    // Korean words stay whole: Hangul breaks at spaces, as Korean is written.
    thread_local std::vector<LineBreakAction> breaks;
    FindLineBreaks(text, breaks, LineBreakStyle::KoreanWords);
    size_t begin = 0;
    for (size_t i = 1; i <= text.size(); ++i) {
        if (breaks[i] == LineBreakAction::None) continue;
        size_t end = i;
        while (end > begin && EndsLine(text[end - 1])) --end;
        segment(begin, end, end < i);
        begin = i;
    }
}

// Adds a segment that is wider than a whole line, code point by code point.
void AppendSplit(std::vector<Line>& lines, int& lineWidth, const Flow& flow, size_t begin,
                 size_t end, const UIFont& font, int maxWidth) {
    ForEachPiece(flow, begin, end, [&](size_t from, size_t to, int link) {
        for (size_t i = from; i < to;) {
            std::wstring one = flow.text->substr(i, IsSurrogatePair(*flow.text, i) ? 2 : 1);
            i += one.size();
            int w = Width(one, font);
            if (lineWidth > 0 && lineWidth + w > maxWidth) {
                lines.emplace_back();
                lineWidth = 0;
            }
            Append(lines.back(), one, link);
            lineWidth += w;
        }
    });
}

std::vector<Line> BreakLines(const std::vector<TextRun>& runs, const UIFont& font, int maxWidth,
                             bool wrap) {
    const Flow flow(runs);
    std::vector<Line> lines(1);
    int lineWidth = 0;
    ForEachSegment(*flow.text, wrap, [&](size_t begin, size_t end, bool hard) {
        const int w = SegmentWidth(flow, begin, end, font);
        if (wrap && lineWidth > 0 && lineWidth + w > maxWidth) {
            lines.emplace_back();
            lineWidth = 0;
        }
        if (wrap && w > maxWidth) {
            AppendSplit(lines, lineWidth, flow, begin, end, font, maxWidth);
        } else {
            ForEachPiece(flow, begin, end, [&](size_t from, size_t to, int link) {
                Append(lines.back(), *flow.text, from, to, link);
            });
            lineWidth += w;
        }
        if (hard) {
            lines.emplace_back();
            lineWidth = 0;
        }
    });
    return lines;
}

// Cuts the line until it fits with "..." after it; `always` adds the dots even
// when the line fits (it stands for lines that were dropped).
void Ellipsize(Line& line, const UIFont& font, int maxWidth, bool always) {
    if (!always && LineWidth(line, font) <= maxWidth) return;
    int dots = Width(kEllipsis, font);
    while (!line.empty() && LineWidth(line, font) + dots > maxWidth) {
        std::wstring& last = line.back().text;
        last.pop_back();
        if (!last.empty() && IsHighSurrogate(last.back())) last.pop_back();
        if (last.empty()) line.pop_back();
    }
    Append(line, kEllipsis, line.empty() ? -1 : line.back().link);
}

}  // namespace

UISize MeasureTextBlock(const std::vector<TextRun>& runs, const UIFont& font, int maxWidth,
                        bool wrap) {
    const Flow flow(runs);
    int widest = 0, lineWidth = 0, lines = 1;
    ForEachSegment(*flow.text, wrap, [&](size_t begin, size_t end, bool hard) {
        const int w = SegmentWidth(flow, begin, end, font);
        if (wrap && lineWidth > 0 && lineWidth + w > maxWidth) {
            ++lines;
            lineWidth = 0;
        }
        // Blanks that end a line take no room on screen.
        size_t shown = end;
        while (shown > begin && (*flow.text)[shown - 1] == L' ') --shown;
        widest = std::max(widest, lineWidth + SegmentWidth(flow, begin, shown, font));
        lineWidth += w;
        if (hard) {
            ++lines;
            lineWidth = 0;
        }
    });
    return UISize{widest, lines * Backend::MeasureText(L"", font).cy};
}

LinkMarkup ParseLinkMarkup(const std::wstring& text) {
    LinkMarkup out;
    size_t pos = 0;
    std::wstring plain;
    while (pos < text.size()) {
        size_t open = text.find(L"{a", pos);
        if (open == std::wstring::npos) break;
        size_t close = text.find(L'}', open);
        size_t end = close == std::wstring::npos ? close : text.find(L"{/a}", close);
        bool headOk = close != std::wstring::npos && (close == open + 2 || text[open + 2] == L' ');
        if (!headOk || end == std::wstring::npos) {
            plain += text.substr(pos, open + 2 - pos);
            pos = open + 2;
            continue;
        }
        plain += text.substr(pos, open - pos);
        if (!plain.empty()) out.runs.push_back(TextRun{plain, -1});
        plain.clear();
        std::wstring target = close > open + 2 ? text.substr(open + 3, close - open - 3) : L"";
        std::wstring shown = text.substr(close + 1, end - close - 1);
        int index = static_cast<int>(out.targets.size());
        out.targets.push_back(target);
        out.shown.push_back(shown);
        out.runs.push_back(TextRun{shown, index});
        pos = end + 4;
    }
    plain += text.substr(std::min(pos, text.size()));
    if (!plain.empty()) out.runs.push_back(TextRun{plain, -1});
    return out;
}

std::vector<PlacedText> LayoutText(const std::vector<TextRun>& runs, const UIFont& font,
                                   const UIRect& box, unsigned style) {
    const int maxWidth = std::max(0, box.Width());
    const int lineHeight = Backend::MeasureText(L"", font).cy;
    std::vector<Line> lines = BreakLines(runs, font, maxWidth, (style & DT_ALIGN_WRAP) != 0);
    const bool ellipsis = (style & DT_ALIGN_ELLIPSIS) != 0;
    size_t maxLines = std::max<size_t>(1, lineHeight > 0 ? box.Height() / lineHeight : 1);
    bool dropped = false;
    if ((style & DT_ALIGN_WRAP) && lines.size() > maxLines) {
        lines.resize(maxLines);
        dropped = true;
    }
    if (ellipsis) {
        for (size_t i = 0; i < lines.size(); ++i) {
            Ellipsize(lines[i], font, maxWidth, dropped && i + 1 == lines.size());
        }
    }
    const int blockHeight = static_cast<int>(lines.size()) * lineHeight;
    int y = box.top;
    if (style & DT_ALIGN_VCENTER) y = box.top + (box.Height() - blockHeight) / 2;
    std::vector<PlacedText> placed;
    for (const Line& line : lines) {
        int width = LineWidth(line, font);
        int x = box.left;
        if (style & DT_ALIGN_CENTER) {
            x = box.left + (box.Width() - width) / 2;
        } else if (style & DT_ALIGN_RIGHT) {
            x = box.right - width;
        }
        for (const Piece& piece : line) {
            int w = Width(piece.text, font);
            placed.push_back(
                PlacedText{UIRect{x, y, x + w, y + lineHeight}, piece.text, piece.link});
            x += w;
        }
        y += lineHeight;
    }
    return placed;
}

}  // namespace DuiLib
