#include "FuzzSupport.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "duilib/UICulture.h"
#include "duilib/UIManager.h"
#include "support/TextConversion.h"
#include "testkit/TestPaths.h"
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
        WinApi::Testing::SetModuleFileName(Utf8::ToWide(made + "/OrvelleEx.exe"));
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
    DuiLib::CPaintManagerUI::SetResourcePath(Utf8::ToWide((folder / "res").string() + "/").c_str());
    DuiLib::UICulture::GetInstance()->SetLanguagePath(
        Utf8::ToWide((folder / "res/values").string()));
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
        text += Utf8::ToWide(run);
        run.clear();
        const auto byte = [&](size_t k) {
            return static_cast<uint32_t>(static_cast<uint8_t>(bytes[k]));
        };
        text += static_cast<wchar_t>(byte(i + 1) << 16 | byte(i + 2) << 8 | byte(i + 3));
        i += 3;
    }
    return text + Utf8::ToWide(run);
}

void UseCodePage(bool utf8) {
    std::setlocale(LC_ALL, utf8 ? "C.UTF-8" : "C");
}

}  // namespace FuzzSupport
