// The conversions on other systems. The narrow code page is the LC_CTYPE
// locale's code set (nl_langinfo(CODESET)), converted through iconv with the
// results the Windows calls give; paths are bytes, taken as UTF-8.
#include <errno.h>
#include <iconv.h>
#include <langinfo.h>

#include <algorithm>

#include "winapi/TextConversion.h"

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

namespace Strconv {

std::wstring NarrowToWide(const std::string& text) {
    if (text.empty()) return {};
    const wchar_t replacement = 0xFFFD;
    const std::string bytes =
        Convert("WCHAR_T", nl_langinfo(CODESET), text, 1,
                std::string(reinterpret_cast<const char*>(&replacement), sizeof(wchar_t)));
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
}

std::string WideToNarrow(const std::wstring& text) {
    if (text.empty()) return {};
    const std::string wide(reinterpret_cast<const char*>(text.data()),
                           text.size() * sizeof(wchar_t));
    return Convert(nl_langinfo(CODESET), "WCHAR_T", wide, sizeof(wchar_t), "?");
}

std::filesystem::path WideToPath(const std::wstring& text) {
    return std::filesystem::path(WideToUtf8(text));
}

std::wstring PathToWide(const std::filesystem::path& path) {
    return Utf8ToWide(path.string());
}

std::wstring NarrowPathToWide(const std::string& path) {
    return Utf8ToWide(path);
}

std::wstring NativeSeparators(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

}  // namespace Strconv
