// Parsed layout files, kept by path. Every row of the hotfix list builds the
// same layout file; reading and parsing it once instead of once per row is most
// of the cost of a long list. A kept document is used only while the file still
// has the size and modification time it was read with, so a changed file is
// read again (a change that keeps the size within the file system's time stamp
// granularity, a few milliseconds, can go unseen: layout files are installed
// with the program, not edited while it runs). UI thread (the builder's
// thread); guarded anyway.
#pragma once

#include <memory>
#include <string>

namespace tinyxml2 {
class XMLDocument;
}

namespace DuiLib {
namespace LayoutDocuments {

struct Loaded {
    enum Status { kParsed, kUnreadable, kNotXml } status = kUnreadable;
    std::shared_ptr<const tinyxml2::XMLDocument> document;  // kParsed: has a root element
    std::wstring error;                                     // kNotXml: tinyxml2's message
};

// The document of the file at `path` (native separators).
Loaded Load(const std::wstring& path);

}  // namespace LayoutDocuments
}  // namespace DuiLib
