#include "support/FileBytes.h"

#include <fstream>
#include <iterator>

namespace FileBytes {

bool ReadAll(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace FileBytes
