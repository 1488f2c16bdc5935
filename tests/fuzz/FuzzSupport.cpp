#include "FuzzSupport.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "duilib/UICulture.h"
#include "duilib/UIManager.h"
#include "testkit/TestPaths.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApiTesting.h"

namespace fs = std::filesystem;

namespace FuzzSupport {

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", what, file, line);
    std::abort();
}

std::string ExecutableFolder() {
    static const std::string folder = [] {
        const std::string made = TestPaths::MakeScratchDir("fuzz");
        WinApi::Testing::SetModuleFileName(Strconv::Utf8ToWide(made + "/OrvelleEx.exe"));
        return made;
    }();
    return folder;
}

void StageShippedResources() {
    const fs::path folder = ExecutableFolder();
    const fs::path source = TestPaths::SourceDir();
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(source / "res", folder / "res", options);
    fs::copy(source / "config", folder / "config", options);
    DuiLib::CPaintManagerUI::SetResourcePath(
        Strconv::Utf8ToWide((folder / "res").string() + "/").c_str());
    DuiLib::UICulture::GetInstance()->SetLanguagePath(
        Strconv::Utf8ToWide((folder / "res/values").string()));
    DuiLib::UICulture::GetInstance()->SetLanguage(L"en-US", true);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TakeField(std::string& input, char separator) {
    const size_t at = input.find(separator);
    std::string field = input.substr(0, at);
    input = at == std::string::npos ? std::string() : input.substr(at + 1);
    return field;
}

std::wstring DecodeText(const std::string& bytes) {
    std::wstring text;
    std::string run;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\x01' || i + 3 >= bytes.size()) {
            run += bytes[i];
            continue;
        }
        text += Strconv::Utf8ToWide(run);
        run.clear();
        const auto byte = [&](size_t k) {
            return static_cast<uint32_t>(static_cast<uint8_t>(bytes[k]));
        };
        text += static_cast<wchar_t>(byte(i + 1) << 16 | byte(i + 2) << 8 | byte(i + 3));
        i += 3;
    }
    return text + Strconv::Utf8ToWide(run);
}

void UseCodePage(bool utf8) {
    std::setlocale(LC_ALL, utf8 ? "C.UTF-8" : "C");
}

namespace {

std::vector<std::wstring> Pieces(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

bool AllDigits(const std::wstring& text) {
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return false;
    return true;
}

}  // namespace

std::wstring SlashRewrite(const std::wstring& text) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == L'/')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    if (pieces.size() < 2 || pieces.back().empty()) return L"";
    std::wstring rewritten = pieces.back();
    for (size_t i = 0; i + 1 < pieces.size(); ++i) rewritten += L"-" + pieces[i];
    return rewritten;
}

bool IsRealShownDate(const std::wstring& date) {
    const std::vector<std::wstring> parts = Pieces(date, L'-');
    if (parts.size() != 3 || parts[0].size() != 4) return false;
    for (const std::wstring& part : parts)
        if (!AllDigits(part) || part.size() > 4) return false;
    if (parts[0][0] == L'0' || parts[1].size() > 2 || parts[2].size() > 2) return false;
    const int year = std::stoi(parts[0]), month = std::stoi(parts[1]), day = std::stoi(parts[2]);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    return month != 2 || day < 29 || leap;
}

}  // namespace FuzzSupport
