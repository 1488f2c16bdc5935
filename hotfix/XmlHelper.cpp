// The description catalogue: "config\HotfixDestriptionDes.xml" beside the
// executable, a root element holding <Value detail="category" desc="IDS_..."/>
// entries. Every lookup consults the file, so an edit takes effect for the next
// row; its parse is reused while the file keeps its size and write time
// (support/XmlFiles.h: opening and reading it again cost most of a row's time
// under Wine).
#include "hotfix/XmlHelper.h"

#include <tinyxml2.h>

#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/TextUtil.h"
#include "support/XmlFiles.h"
#include "winapi/TextConversion.h"

const wchar_t* const HOTFIX_DESCRIPTION_FILE = L"config\\HotfixDestriptionDes.xml";

namespace {
constexpr const char* kFunction = "XmlHelper::GetValueDesc";

std::string AttributeText(const tinyxml2::XMLElement* element, const char* name) {
    const char* text = element->Attribute(name);
    return text ? text : "";
}
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
    const XmlFiles::Loaded loaded = XmlFiles::Load(Strconv::NativeSeparators(fullPath));
    if (loaded.status == XmlFiles::Loaded::kMissing) {
        KT_LOG(LOG_ERROR, L"hotfix description xml file is not exist!", kFunction);
        return {};
    }
    if (loaded.status != XmlFiles::Loaded::kParsed) {
        KT_LOG(LOG_ERROR, L"hotfix description xml file fail!", kFunction);
        return {};
    }
    const tinyxml2::XMLElement* root = loaded.document->RootElement();
    if (!root) {
        KT_LOG(LOG_ERROR, L"hotfix description rootNode is null!", kFunction);
        return {};
    }
    // From the first <Value> on, every following sibling counts as an entry.
    for (const tinyxml2::XMLElement* entry = root->FirstChildElement("Value"); entry;
         entry = entry->NextSiblingElement()) {
        if (Strconv::NarrowToWide(AttributeText(entry, "detail")) == category) {
            KT_LOG(LOG_INFO, L"find value success!", kFunction);
            return Strconv::NarrowToWide(AttributeText(entry, "desc"));
        }
    }
    return {};
}
