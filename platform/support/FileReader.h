// The one reader of the program's files: a whole file, or an XML document
// parsed from it. No file of the program's (layout, language file, catalogue)
// is larger than kMaxProgramFileBytes: a larger one is read as missing, logged. Paths are native
// (Strconv::WideToPath makes one from the program's wide text), so any folder name the file system
// allows works.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace tinyxml2 {
class XMLDocument;
}

namespace FileReader {

constexpr size_t kMaxProgramFileBytes = 1024 * 1024;

// False when the file cannot be opened or read, or is larger than
// kMaxProgramFileBytes (logged); `bytes` is then empty.
bool ReadAll(const std::filesystem::path& path, std::string& bytes);

enum class BoundedRead { kRead, kUnreadable, kTooLarge };
// As ReadAll, for a file of at most `maxBytes`; a larger one is not read.
BoundedRead ReadAtMost(const std::filesystem::path& path, size_t maxBytes, std::string& bytes);

// The first `maxBytes` of a file (all of a smaller one); `whole` tells which.
// False when the file cannot be opened or read; `bytes` is then empty.
bool ReadHead(const std::filesystem::path& path, size_t maxBytes, std::string& bytes, bool& whole);

enum class XmlRead {
    kParsed,      // the document holds the file (it may still have no element)
    kUnreadable,  // no such file, it cannot be read or is too large: the document is cleared
    kNotXml,      // tinyxml2 rejected it: document.ErrorStr() says why
};
XmlRead ReadXml(const std::filesystem::path& path, tinyxml2::XMLDocument& document);

}  // namespace FileReader
