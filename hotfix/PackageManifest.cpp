#include "hotfix/PackageManifest.h"

#include "support/FileReader.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "winapi/TextConversion.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ReadPackageManifest";

// Where the <package> start tag ends (just past its ">"), in a manifest's head;
// npos when the head holds no whole one. Quoted attribute values may hold ">".
size_t PackageTagEnd(const std::string& head) {
    for (size_t at = head.find("<package"); at != std::string::npos;
         at = head.find("<package", at + 1)) {
        const size_t next = at + 8;
        if (next >= head.size()) return std::string::npos;
        const char c = head[next];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '>' && c != '/') continue;
        char quote = 0;
        for (size_t i = next; i < head.size(); ++i) {
            if (quote != 0) {
                if (head[i] == quote) quote = 0;
            } else if (head[i] == '"' || head[i] == '\'') {
                quote = head[i];
            } else if (head[i] == '>') {
                return i + 1;
            }
        }
        return std::string::npos;
    }
    return std::string::npos;
}

// The manifest up to its <package> start tag, closed again: all that is read of
// one larger than its head (a cumulative update's lists thousands of children).
bool CloseAfterPackageTag(std::string& head) {
    const size_t end = PackageTagEnd(head);
    if (end == std::string::npos) return false;
    const bool empty = end >= 2 && head[end - 2] == '/';
    head.resize(end);
    head += empty ? "</assembly>" : "</package></assembly>";
    return true;
}

}  // namespace

PackageManifest ReadPackageManifest(const std::wstring& windowsFolder,
                                    const std::wstring& packageName, bool log) {
    PackageManifest manifest;
    if (windowsFolder.empty()) {
        if (log) KT_LOG(LOG_ERROR, L"no windows folder for manifest:" << packageName, kFunction);
        return manifest;
    }
    const std::wstring path = windowsFolder + L"\\servicing\\Packages\\" + packageName + L".mum";
    std::string bytes;
    bool whole = false;
    if (!FileReader::ReadHead(Strconv::WideToPath(Strconv::NativeSeparators(path)),
                              kManifestHeadBytes, bytes, whole)) {
        if (log) KT_LOG(LOG_ERROR, L"read package manifest fail! name:" << packageName, kFunction);
        return manifest;
    }
    if (!whole && !CloseAfterPackageTag(bytes)) {
        if (log)
            KT_LOG(LOG_ERROR,
                   L"package manifest has no <package> in its head! name:" << packageName,
                   kFunction);
        return manifest;
    }
    KtXMLDocument document;
    const KtXmlError parsed = document.Parse(bytes);
    const KtXmlElement assembly = document.FirstNode("");
    const KtXmlElement package =
        parsed == 0 && !document.IsDocumentNull() && assembly.Name() == "assembly"
            ? assembly.FirstNode("package")
            : KtXmlElement();
    if (package.IsElementNull()) {
        if (log)
            KT_LOG(LOG_ERROR,
                   L"package manifest malformed! ret:" << parsed << L" name:" << packageName,
                   kFunction);
        return manifest;
    }
    manifest.readable = true;
    manifest.identifier = Strconv::Utf8ToWide(package.Attribute("identifier"));
    manifest.permanent = package.Attribute("permanence") == "permanent";
    return manifest;
}

}  // namespace WindowsHotfix
