// Parsing of layout attribute values: numbers, "l,t,r,b" rectangles, "w,h"
// sizes, "#AARRGGBB" colours, booleans and "left|vcenter" alignments.
// Each returns false (leaving `out` alone) when the text is not of that form.
#pragma once

#include <cstdint>
#include <string>

#include "duilib/UIGeometry.h"

namespace DuiLib {
namespace Attr {

bool ParseInt(const std::wstring& text, int& out);
bool ParseRect(const std::wstring& text, UIRect& out);
bool ParseSize(const std::wstring& text, UISize& out);
// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB".
bool ParseColor(const std::wstring& text, uint32_t& out);
// "true"/"false", "1"/"0" (any case).
bool ParseBool(const std::wstring& text, bool& out);
// Flags of UITextStyle.h joined by "|": left, center, right, vcenter, wrap, ellipsis.
bool ParseAlign(const std::wstring& text, unsigned& out);

}  // namespace Attr
}  // namespace DuiLib
