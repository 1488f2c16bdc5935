// SplitString, FormatString and the code-page conversions. Input: a flag
// byte (bit 0: UTF-8 code page), then source, argument and placeholder
// separated by zero bytes (see FuzzSupport::DecodeText for odd characters).
#include <algorithm>
#include <vector>

#include "FuzzSupport.h"
#include "support/TextUtil.h"

namespace {

std::wstring Join(const std::vector<std::wstring>& pieces, const std::wstring& delimiter) {
    std::wstring text;
    for (size_t i = 0; i < pieces.size(); ++i) text += (i ? delimiter : L"") + pieces[i];
    return text;
}

// Splitting loses nothing: the pieces joined again give the text, but for a
// delimiter at the very end, which adds no empty last piece.
void CheckSplit(const std::wstring& text, const std::wstring& delimiter) {
    std::vector<std::wstring> pieces{L"kept"};
    SplitString(text, delimiter, pieces);
    FUZZ_CHECK(!pieces.empty() && pieces[0] == L"kept");  // appends, never clears
    pieces.erase(pieces.begin());
    if (delimiter.empty()) {
        FUZZ_CHECK(pieces.size() == (text.empty() ? 0u : 1u));
        return;
    }
    const std::wstring joined = Join(pieces, delimiter);
    FUZZ_CHECK(joined == text || joined + delimiter == text);
}

// Every occurrence, left to right, replaced in the source itself.
std::wstring ReplaceAll(const std::wstring& source, const std::wstring& placeholder,
                        const std::wstring& value) {
    std::wstring out;
    size_t from = 0;
    for (size_t at = source.find(placeholder); at != std::wstring::npos;
         at = source.find(placeholder, from)) {
        out += source.substr(from, at - from) + value;
        from = at + placeholder.size();
    }
    return out + source.substr(from);
}

void CheckFormat(const std::wstring& source, const std::wstring& argument,
                 const std::wstring& placeholder) {
    const std::wstring result = FormatString(source, argument, placeholder);
    if (placeholder.empty() || source.find(placeholder) == std::wstring::npos) {
        FUZZ_CHECK(result == source);
    } else if (argument.find(L"@UI@") == std::wstring::npos) {
        // A plain argument fills every placeholder; inserted text is not searched again.
        FUZZ_CHECK(result == ReplaceAll(source, placeholder, argument));
    }
}

void CheckConversions(const std::string& bytes, const std::wstring& text) {
    const std::wstring wide = Strconv::NarrowToWide(bytes);
    (void)Strconv::WideToNarrow(text);  // characters the code page lacks must not break it
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    // ASCII, zero bytes included, converts one to one in either code page.
    if (ascii) FUZZ_CHECK(Strconv::WideToNarrow(wide) == bytes && wide.size() == bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    FuzzSupport::UseCodePage(data[0] & 1);
    const std::string raw = input;
    const std::wstring source = FuzzSupport::DecodeText(FuzzSupport::TakeField(input, '\0'));
    const std::wstring argument = FuzzSupport::DecodeText(FuzzSupport::TakeField(input, '\0'));
    const std::wstring placeholder = FuzzSupport::DecodeText(input);

    for (const std::wstring& delimiter :
         {placeholder, std::wstring(L"@UI@"), std::wstring(L"$UI$")})
        CheckSplit(source, delimiter);
    CheckSplit(argument, L"&UI&");
    CheckFormat(source, argument, placeholder);
    CheckFormat(source, argument, L"{0}");
    CheckConversions(raw, source);
    return 0;
}
