// Narrow text in the configured code page (the LC_CTYPE locale's codeset,
// nl_langinfo(CODESET)) <-> wide text, through iconv, with the results of
// the Windows calls for valid input: the exact length is used, so embedded
// zero bytes convert like any other. Like the Windows calls without flags,
// an unconvertible byte becomes U+FFFD and an unrepresentable character "?".
#include <errno.h>
#include <iconv.h>
#include <langinfo.h>

#include <algorithm>

#include "hotfix/TextUtil.h"

namespace {

// Converts all of `in`; on a bad unit, skips `badUnit` bytes of input and
// writes `substitute`. An empty result when the converter cannot be opened.
std::string Convert(const char* to, const char* from, const std::string& in, size_t badUnit,
                    const std::string& substitute) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out;
    char* input = const_cast<char*>(in.data());
    size_t inputLeft = in.size();
    char buffer[1024];
    while (inputLeft > 0) {
        char* output = buffer;
        size_t outputLeft = sizeof(buffer);
        const size_t done = iconv(converter, &input, &inputLeft, &output, &outputLeft);
        out.append(buffer, static_cast<size_t>(output - buffer));
        if (done != static_cast<size_t>(-1) || errno == E2BIG) continue;
        const size_t skip = std::min(badUnit, inputLeft);  // EILSEQ or EINVAL
        input += skip;
        inputLeft -= skip;
        out += substitute;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    char* output = buffer;
    size_t outputLeft = sizeof(buffer);
    iconv(converter, nullptr, nullptr, &output, &outputLeft);  // flush a shift state
    out.append(buffer, static_cast<size_t>(output - buffer));
    iconv_close(converter);
    return out;
}

}  // namespace

std::wstring StringToWString(const std::string& text) {
    if (text.empty()) return {};
    const wchar_t replacement = 0xFFFD;
    const std::string bytes =
        Convert("WCHAR_T", nl_langinfo(CODESET), text, 1,
                std::string(reinterpret_cast<const char*>(&replacement), sizeof(wchar_t)));
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
}

std::string WStringToString(const std::wstring& text) {
    if (text.empty()) return {};
    const std::string wide(reinterpret_cast<const char*>(text.data()),
                           text.size() * sizeof(wchar_t));
    return Convert(nl_langinfo(CODESET), "WCHAR_T", wide, sizeof(wchar_t), "?");
}
