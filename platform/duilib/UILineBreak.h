// Line breaking by the Unicode Line Breaking Algorithm (UAX #14), with the
// numbers tailoring that Unicode's own conformance test uses. The classes come
// from UILineBreakTable.inc, generated from LineBreak.txt by
// scripts/gen-linebreak-table.py.
#pragma once

#include <string>
#include <vector>

namespace DuiLib {

// UAX #14 classes after its rule LB1 (AI, SG, XX -> AL; SA -> CM or AL; CJ -> NS).
// IdCnPict is an unassigned Extended_Pictographic code point: ID everywhere,
// told apart only by rule LB30b.
// clang-format off
enum class LineBreakClass : unsigned char {
    BK, CR, LF, CM, NL, WJ, ZW, GL, SP, ZWJ, B2, BA, BB, HY, CB, CL, CP, EX, IN, NS, OP,
    QU, IS, NU, PO, PR, SY, AL, EB, EM, H2, H3, HL, ID, JL, JV, JT, RI, IdCnPict,
};
// clang-format on

LineBreakClass LineBreakClassOf(char32_t cp);
// Whether an OP or CP code point is East Asian wide, full-width or half-width.
bool IsEastAsianBracket(char32_t cp);

enum class LineBreakAction : unsigned char { None, Allowed, Mandatory };

// Default is UAX #14 as Unicode's conformance test checks it. KoreanWords is the
// tailoring UAX #14 gives for Korean written with spaces: Hangul (JL, JV, JT, H2,
// H3) is taken as AL, so a Korean word breaks only where a Latin one would.
enum class LineBreakStyle { Default, KoreanWords };

// out[i] says whether a line may end before text[i]; out has text.size() + 1
// entries, out[0] is None and out[text.size()] Mandatory (the end of the text).
// A surrogate pair is one code point: no break inside it.
void FindLineBreaks(const std::wstring& text, std::vector<LineBreakAction>& out,
                    LineBreakStyle style = LineBreakStyle::Default);

}  // namespace DuiLib
