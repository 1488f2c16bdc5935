#include "testkit/TestPaths.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace TestPaths {

std::string SourceDir() {
    return ORVELLE_SOURCE_DIR;
}

std::wstring SourceDirW() {
    return fs::path(ORVELLE_SOURCE_DIR).wstring();
}

std::string MakeScratchDir(const std::string& name) {
    static const fs::path root = [] {
        std::random_device rd;
        fs::path dir = fs::temp_directory_path() / ("orvelle-tests-" + std::to_string(rd()));
        fs::create_directories(dir);
        static struct Cleanup {
            fs::path dir;
            ~Cleanup() {
                std::error_code ec;
                fs::remove_all(dir, ec);
            }
        } cleanup{dir};
        return dir;
    }();
    fs::path dir = root / name;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    return dir.string();
}

}  // namespace TestPaths
