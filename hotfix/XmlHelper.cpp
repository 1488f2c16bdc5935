// The description catalogue: "config\HotfixDestriptionDes.xml" beside the
// executable, a root element holding <Value detail="category" desc="IDS_..."/>
// entries. Every lookup consults the file, so an edit takes effect for the next
// row; its parse is reused while the file keeps its size and write time (opening
// and reading it again cost most of a row's time under Wine).
#include "hotfix/XmlHelper.h"

#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/TextConversion.h"
#include "support/TextUtil.h"

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
    FileStamp stamp;
    if (!ReadFileStamp(PathText::FromWide(PathText::NativeSeparators(fullPath)), stamp)) {
        KT_LOG(LOG_ERROR, L"hotfix description xml file is not exist!", kFunction);
        return {};
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_kept || m_keptPath != fullPath || m_keptStamp != stamp) {
        m_kept.reset();
        auto loaded = std::make_unique<KtXMLDocument>();
        if (loaded->LoadFile(fullPath) != 0) {
            KT_LOG(LOG_ERROR, L"hotfix description xml file fail!", kFunction);
            return {};
        }
        m_kept = std::move(loaded);
        m_keptPath = fullPath;
        m_keptStamp = stamp;
    }
    const KtXMLDocument& document = *m_kept;
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
