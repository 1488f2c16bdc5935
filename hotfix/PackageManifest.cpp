#include "hotfix/PackageManifest.h"

#include "support/FileReader.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/TextConversion.h"

namespace WindowsHotfix {

PackageManifest ReadPackageManifest(const std::wstring& windowsFolder,
                                    const std::wstring& packageName, bool log) {
    constexpr const char* kFunction = "WindowsHotfix::ReadPackageManifest";
    PackageManifest manifest;
    if (windowsFolder.empty()) {
        if (log) KT_LOG(LOG_ERROR, L"no windows folder for manifest:" << packageName, kFunction);
        return manifest;
    }
    const std::wstring path = windowsFolder + L"\\servicing\\Packages\\" + packageName + L".mum";
    std::string bytes;
    const FileReader::BoundedRead read = FileReader::ReadAtMost(
        PathText::FromWide(PathText::NativeSeparators(path)), kMaxManifestBytes, bytes);
    if (read != FileReader::BoundedRead::kRead) {
        if (log)
            KT_LOG(
                LOG_ERROR,
                (read == FileReader::BoundedRead::kTooLarge ? L"package manifest too large! name:"
                                                            : L"read package manifest fail! name:")
                    << packageName,
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
    manifest.identifier = Utf8::ToWide(package.Attribute("identifier"));
    manifest.permanent = package.Attribute("permanence") == "permanent";
    return manifest;
}

}  // namespace WindowsHotfix
