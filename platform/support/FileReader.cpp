#include "support/FileReader.h"

#include <tinyxml2.h>

#include <fstream>
#include <iterator>

namespace FileReader {

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
