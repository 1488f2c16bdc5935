#include "support/FileReader.h"

#include <tinyxml2.h>

#include <cstdint>
#include <fstream>

#include "support/KtLogger.h"
#include "winapi/TextConversion.h"

namespace FileReader {

bool ReadAll(const std::filesystem::path& path, std::string& bytes) {
    const BoundedRead read = ReadAtMost(path, kMaxProgramFileBytes, bytes);
    if (read == BoundedRead::kTooLarge)
        KT_LOG(LOG_ERROR, L"file too large, read as missing! path:" << Strconv::PathToWide(path),
               "FileReader::ReadAll");
    return read == BoundedRead::kRead;
}

BoundedRead ReadAtMost(const std::filesystem::path& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return BoundedRead::kUnreadable;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) return BoundedRead::kTooLarge;
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return BoundedRead::kUnreadable;
    // Sized once and read in one call (a file that grows meanwhile is read to its old size).
    bytes.resize(static_cast<size_t>(size));
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        bytes.clear();
        return BoundedRead::kUnreadable;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    return BoundedRead::kRead;
}

bool ReadHead(const std::filesystem::path& path, size_t maxBytes, std::string& bytes, bool& whole) {
    bytes.clear();
    whole = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.resize(maxBytes);
    in.read(&bytes[0], static_cast<std::streamsize>(maxBytes));
    if (in.bad()) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    whole = bytes.size() < maxBytes || in.peek() == std::char_traits<char>::eof();
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
