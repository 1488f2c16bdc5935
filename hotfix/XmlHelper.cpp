// The description catalogue: "config\HotfixDestriptionDes.xml" beside the
// executable, a root element holding <Value detail="category" desc="IDS_..."/>
// entries. The file is read afresh on every lookup; nothing is cached.
#include "hotfix/XmlHelper.h"

#include "hotfix/TextUtil.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"

const wchar_t* const HOTFIX_DESCRIPTION_FILE = L"config\\HotfixDestriptionDes.xml";

namespace {
constexpr const char* kFunction = "XmlHelper::GetValueDesc";
}  // namespace

XmlHelper* XmlHelper::GetInstance() {
    static XmlHelper instance;
    return &instance;
}

std::wstring XmlHelper::GetValueDesc(std::wstring category) {
    std::wstring fullPath;
    if (!FileInfo::GetSelfFullFilePath(fullPath, HOTFIX_DESCRIPTION_FILE)) {
        KT_LOG(LOG_ERROR, L"get xml path fail!", kFunction);
        return {};
    }
    // Wide from here on: the ANSI code page may lack the characters of the folder's name.
    if (!DE::FileExistsW(fullPath)) {
        KT_LOG(LOG_ERROR, L"hotfix description xml file is not exist!", kFunction);
        return {};
    }
    KtXMLDocument document;
    if (document.LoadFile(fullPath) != 0) {
        KT_LOG(LOG_ERROR, L"hotfix description xml file fail!", kFunction);
        return {};
    }
    if (document.IsDocumentNull()) {
        KT_LOG(LOG_ERROR, L"hotfix description document is null!", kFunction);
        return {};
    }
    const KtXmlElement root = document.FirstNode("");
    if (root.IsElementNull()) {
        KT_LOG(LOG_ERROR, L"hotfix description rootNode is null!", kFunction);
        return {};
    }
    // From the first <Value> on, every following sibling counts as an entry.
    for (KtXmlElement entry = root.FirstNode("Value"); !entry.IsElementNull();
         entry = entry.NextSiblingElement("")) {
        if (StringToWString(entry.Attribute("detail")) == category) {
            KT_LOG(LOG_INFO, L"find value success!", kFunction);
            return StringToWString(entry.Attribute("desc"));
        }
    }
    return {};
}
