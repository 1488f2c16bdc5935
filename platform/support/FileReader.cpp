#include "support/FileReader.h"

#include <tinyxml2.h>

#include <fstream>

namespace FileReader {

bool ReadAll(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return false;
    // Sized once and read in one call (a file that grows meanwhile is read to its old size).
    bytes.resize(static_cast<size_t>(size));
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    return true;
}

XmlRead ReadXml(const std::filesystem::path& path, tinyxml2::XMLDocument& document) {
    std::string bytes;
    if (!ReadAll(path, bytes)) {
        document.Clear();
        return XmlRead::kUnreadable;
    }
    return document.Parse(bytes.data(), bytes.size()) == tinyxml2::XML_SUCCESS ? XmlRead::kParsed
                                                                               : XmlRead::kNotXml;
}

}  // namespace FileReader
