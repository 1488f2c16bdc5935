// One pass over the code points, keeping the little context the pair rules
// need: the cluster before (rule LB9 folds combining marks into their base),
// the last one before a run of spaces, the count of regional indicators and
// whether a number is under way.
#include "duilib/UILineBreak.h"

#include <algorithm>
#include <iterator>

namespace DuiLib {

#include "duilib/UILineBreakTable.inc"

LineBreakClass LineBreakClassOf(char32_t cp) {
    return ClassOf(cp);
}

namespace {

using C = LineBreakClass;
using A = LineBreakAction;

// One bit test: the set is a constant wherever this is called.
template <typename... Cs>
bool In(C c, Cs... set) {
    const unsigned long long mask = ((1ull << static_cast<unsigned>(set)) | ...);
    return (mask >> static_cast<unsigned>(c)) & 1u;
}

bool IsIdeographic(C c) {
    return In(c, C::ID, C::IdCnPict, C::EB, C::EM);
}

bool IsHangul(C c) {
    return In(c, C::JL, C::JV, C::JT, C::H2, C::H3);
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsHighSurrogate(wchar_t c) {
    return sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at text[i], and how many units it takes.
char32_t CodePointAt(const std::wstring& text, size_t i, size_t& units) {
    units = 1;
    const wchar_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    return static_cast<char32_t>(c);
}

// What the text around a boundary holds, for the rules that look past the pair.
struct Context {
    C before = C::BK;           // the cluster before the boundary (after LB9 and LB10)
    char32_t beforeCp = 0;      // its base code point
    C beforeThat = C::BK;       // the cluster before that one
    C lastNonSpace = C::BK;     // the last cluster that is not SP
    int regional = 0;           // RI clusters in a row ending at `before`
    bool inNumber = false;      // `before` ends NU (NU | SY | IS)*
    bool closedNumber = false;  // `before` is CL or CP closing such a number
};

// The class of the first cluster from text[i] on that is not a mark, or BK.
C NextBase(const std::wstring& text, size_t i) {
    while (i < text.size()) {
        size_t units = 0;
        const C c = ClassOf(CodePointAt(text, i, units));
        if (!In(c, C::CM, C::ZWJ)) return c;
        i += units;
    }
    return C::BK;
}

// Rules LB11 to LB31 for the boundary between `x.before` and `b`.
A PairRule(const Context& x, C b, char32_t bCp, const std::wstring& text, size_t next) {
    const C a = x.before;
    // The commonest pairs first: letters in a word, ideographs side by side.
    if (a == b && a == C::AL) return A::None;                            // LB28
    if (a == b && a == C::ID) return A::Allowed;                         // LB31
    if (b == C::WJ || a == C::WJ) return A::None;                        // LB11
    if (a == C::GL) return A::None;                                      // LB12
    if (b == C::GL && !In(a, C::SP, C::BA, C::HY)) return A::None;       // LB12a
    if (In(b, C::CL, C::CP, C::EX, C::IS, C::SY)) return A::None;        // LB13
    if (x.lastNonSpace == C::OP) return A::None;                         // LB14
    if (x.lastNonSpace == C::QU && b == C::OP) return A::None;           // LB15
    if (In(x.lastNonSpace, C::CL, C::CP) && b == C::NS) return A::None;  // LB16
    if (x.lastNonSpace == C::B2 && b == C::B2) return A::None;           // LB17
    if (a == C::SP) return A::Allowed;                                   // LB18
    if (b == C::QU || a == C::QU) return A::None;                        // LB19
    if (b == C::CB || a == C::CB) return A::Allowed;                     // LB20
    if (In(b, C::BA, C::HY, C::NS) || a == C::BB) return A::None;        // LB21
    if (x.beforeThat == C::HL && In(a, C::HY, C::BA)) return A::None;    // LB21a
    if (a == C::SY && b == C::HL) return A::None;                        // LB21b
    if (b == C::IN) return A::None;                                      // LB22
    if ((In(a, C::AL, C::HL) && b == C::NU) || (a == C::NU && In(b, C::AL, C::HL))) {
        return A::None;  // LB23
    }
    if ((a == C::PR && IsIdeographic(b)) || (IsIdeographic(a) && b == C::PO)) {
        return A::None;  // LB23a
    }
    if ((In(a, C::PR, C::PO) && In(b, C::AL, C::HL)) ||
        (In(a, C::AL, C::HL) && In(b, C::PR, C::PO))) {
        return A::None;  // LB24
    }
    // LB25 as a regular expression: (PR | PO)? (OP | HY)? NU (NU | SY | IS)* (CL | CP)? (PR | PO)?
    if (In(a, C::PR, C::PO) &&
        (b == C::NU || (In(b, C::OP, C::HY) && NextBase(text, next) == C::NU))) {
        return A::None;
    }
    if (In(a, C::OP, C::HY) && b == C::NU) return A::None;
    if (x.inNumber && In(b, C::NU, C::SY, C::IS, C::CL, C::CP)) return A::None;
    if ((x.inNumber || x.closedNumber) && In(b, C::PR, C::PO)) return A::None;
    if ((a == C::JL && In(b, C::JL, C::JV, C::H2, C::H3)) ||
        (In(a, C::JV, C::H2) && In(b, C::JV, C::JT)) || (In(a, C::JT, C::H3) && b == C::JT)) {
        return A::None;  // LB26
    }
    if ((IsHangul(a) && b == C::PO) || (a == C::PR && IsHangul(b))) return A::None;  // LB27
    if (In(a, C::AL, C::HL) && In(b, C::AL, C::HL)) return A::None;                  // LB28
    if (a == C::IS && In(b, C::AL, C::HL)) return A::None;                           // LB29
    if ((In(a, C::AL, C::HL, C::NU) && b == C::OP && !IsEastAsianBracket(bCp)) ||
        (a == C::CP && !IsEastAsianBracket(x.beforeCp) && In(b, C::AL, C::HL, C::NU))) {
        return A::None;  // LB30
    }
    if (a == C::RI && b == C::RI && x.regional % 2 == 1) return A::None;  // LB30a
    if ((a == C::EB || a == C::IdCnPict) && b == C::EM) return A::None;   // LB30b
    return A::Allowed;                                                    // LB31
}

void Advance(Context& x, C c, char32_t cp) {
    x.beforeThat = x.before;
    x.before = c;
    x.beforeCp = cp;
    if (c != C::SP) x.lastNonSpace = c;
    x.regional = c == C::RI ? x.regional + 1 : 0;
    const bool continues = x.inNumber && In(c, C::SY, C::IS);
    x.closedNumber = x.inNumber && In(c, C::CL, C::CP);
    x.inNumber = c == C::NU || continues;
}

}  // namespace

void FindLineBreaks(const std::wstring& text, std::vector<LineBreakAction>& out,
                    LineBreakStyle style) {
    const bool hangulAsLetters = style == LineBreakStyle::KoreanWords;
    out.assign(text.size() + 1, A::None);
    out[text.size()] = A::Mandatory;  // LB3
    Context x;
    C previous = C::BK;  // the code point before, as LineBreak.txt gives it
    size_t units = 0;
    for (size_t i = 0; i < text.size(); i += units) {
        // Within a Latin word (AL after AL) nothing changes but the position.
        if (x.before == C::AL && previous == C::AL && IsAsciiLetter(text[i])) {
            x.beforeThat = C::AL;
            x.beforeCp = static_cast<char32_t>(text[i]);
            units = 1;
            continue;
        }
        const char32_t cp = CodePointAt(text, i, units);
        C c = ClassOf(cp);
        if (hangulAsLetters && IsHangul(c)) c = C::AL;
        // Ideographs side by side: a break between, and nothing else changes.
        if (c == C::ID && x.before == C::ID && previous == C::ID) {
            out[i] = A::Allowed;
            x.beforeThat = C::ID;
            x.beforeCp = cp;
            continue;
        }
        // LB9: a mark joins the cluster before, unless that is a break or a space.
        const bool joins = In(c, C::CM, C::ZWJ) && i > 0 &&
                           !In(x.before, C::BK, C::CR, C::LF, C::NL, C::SP, C::ZW);
        const C b = In(c, C::CM, C::ZWJ) ? C::AL : c;  // LB10 when it does not join
        A action = A::None;
        if (i == 0) {
            action = A::None;  // LB2
        } else if (previous == C::BK) {
            action = A::Mandatory;  // LB4
        } else if (previous == C::CR && c == C::LF) {
            action = A::None;  // LB5
        } else if (In(previous, C::CR, C::LF, C::NL)) {
            action = A::Mandatory;  // LB5
        } else if (In(c, C::BK, C::CR, C::LF, C::NL, C::SP, C::ZW)) {
            action = A::None;  // LB6, LB7
        } else if (x.lastNonSpace == C::ZW && In(x.before, C::ZW, C::SP)) {
            action = A::Allowed;  // LB8
        } else if (previous == C::ZWJ || joins) {
            action = A::None;  // LB8a, LB9
        } else {
            action = PairRule(x, b, cp, text, i + units);
        }
        out[i] = action;
        if (!joins) Advance(x, b, cp);
        previous = c;
    }
}

}  // namespace DuiLib
