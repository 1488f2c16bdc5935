// Parsed XML files, kept by path: the one parse cache of the program's files
// (the layouts, the description catalogue). Every row of the hotfix list
// builds the same layout file and looks up the same catalogue; reading and
// parsing each once instead of once per row is most of the cost of a long
// list. A kept document is used only while the file still has the size and
// modification time it was read with (FileStamp.h), so a changed file is read
// again (a change that keeps the size within the file system's time stamp
// granularity, a few milliseconds, can go unseen: these files are installed
// with the program, not edited while it runs). Any thread; guarded.
#pragma once

#include <memory>
#include <string>

namespace tinyxml2 {
class XMLDocument;
}

namespace XmlFiles {

struct Loaded {
    enum Status {
        kMissing,     // no regular file at the path
        kUnreadable,  // there, but it could not be read (FileReader.h)
        kNotXml,      // tinyxml2 rejected it: `error` says why
        kParsed,      // `document` holds it, with or without a root element
    } status = kMissing;
    std::shared_ptr<const tinyxml2::XMLDocument> document;
    std::wstring error;
};

// The document of the file at `path` (native separators).
Loaded Load(const std::wstring& path);

}  // namespace XmlFiles
