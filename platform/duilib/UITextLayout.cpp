#include "duilib/UITextLayout.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"

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

void Append(Line& line, const std::wstring& text, int link) {
    if (!line.empty() && line.back().link == link) {
        line.back().text += text;
    } else {
        line.push_back(Piece{text, link});
    }
}

bool IsIdeograph(wchar_t c) {
    return c >= 0x2E80;
}

// Wrap tokens: a word with its trailing blanks, a single ideograph, or "\n".
std::vector<std::wstring> Tokenize(const std::wstring& text, bool wrap) {
    std::vector<std::wstring> tokens;
    std::wstring cur;
    auto flush = [&] {
        if (!cur.empty()) tokens.push_back(cur);
        cur.clear();
    };
    for (wchar_t c : text) {
        if (c == L'\n') {
            flush();
            tokens.push_back(L"\n");
        } else if (!wrap) {
            cur += c;
        } else if (IsIdeograph(c)) {
            flush();
            tokens.push_back(std::wstring(1, c));
        } else if (c != L' ' && !cur.empty() && cur.back() == L' ') {
            flush();
            cur += c;
        } else {
            cur += c;
        }
    }
    flush();
    return tokens;
}

// Adds a token that is wider than a whole line, character by character.
void AppendSplit(std::vector<Line>& lines, int& lineWidth, const std::wstring& token, int link,
                 const UIFont& font, int maxWidth) {
    for (wchar_t c : token) {
        std::wstring one(1, c);
        int w = Width(one, font);
        if (lineWidth > 0 && lineWidth + w > maxWidth) {
            lines.emplace_back();
            lineWidth = 0;
        }
        Append(lines.back(), one, link);
        lineWidth += w;
    }
}

std::vector<Line> BreakLines(const std::vector<TextRun>& runs, const UIFont& font, int maxWidth,
                             bool wrap) {
    std::vector<Line> lines(1);
    int lineWidth = 0;
    for (const TextRun& run : runs) {
        for (const std::wstring& token : Tokenize(run.text, wrap)) {
            if (token == L"\n") {
                lines.emplace_back();
                lineWidth = 0;
                continue;
            }
            int w = Width(token, font);
            if (wrap && lineWidth > 0 && lineWidth + w > maxWidth) {
                lines.emplace_back();
                lineWidth = 0;
            }
            if (wrap && w > maxWidth) {
                AppendSplit(lines, lineWidth, token, run.link, font, maxWidth);
                continue;
            }
            Append(lines.back(), token, run.link);
            lineWidth += w;
        }
    }
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
        if (last.empty()) line.pop_back();
    }
    Append(line, kEllipsis, line.empty() ? -1 : line.back().link);
}

}  // namespace

UISize MeasureTextBlock(const std::vector<TextRun>& runs, const UIFont& font, int maxWidth,
                        bool wrap) {
    int widest = 0, lineWidth = 0, lines = 1;
    for (const TextRun& run : runs) {
        for (const std::wstring& token : Tokenize(run.text, wrap)) {
            if (token == L"\n") {
                ++lines;
                lineWidth = 0;
                continue;
            }
            const int w = Width(token, font);
            if (wrap && lineWidth > 0 && lineWidth + w > maxWidth) {
                ++lines;
                lineWidth = 0;
            }
            // Blanks that end a line take no room on screen.
            const std::wstring shown = token.substr(0, token.find_last_not_of(L' ') + 1);
            widest = std::max(widest, lineWidth + Width(shown, font));
            lineWidth += w;
        }
    }
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
