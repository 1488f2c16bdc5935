// CDialogBuilder: a control tree from a layout XML file (or from XML text that
// starts with "<"). Unknown elements and attributes are logged with the file
// name and skipped; an element that cannot be built is skipped with its subtree.
#include "duilib/UIDialogBuilder.h"

#include <tinyxml2.h>

#include <filesystem>
#include <memory>

#include "duilib/UIAttributes.h"
#include "duilib/UIControlFactory.h"
#include "duilib/UIControls.h"
#include "support/KtLogger.h"
#include "support/XmlFiles.h"
#include "winapi/TextConversion.h"

namespace DuiLib {

namespace {

const char kFunction[] = "CDialogBuilder::Create";

bool IsAbsolute(const std::wstring& name) {
    if (!name.empty() && (name[0] == L'/' || name[0] == L'\\')) return true;
    return name.size() > 2 && name[1] == L':' && (name[2] == L'\\' || name[2] == L'/');
}

// The resource path and the name joined; "\" separates as well as "/".
std::wstring LayoutPath(const std::wstring& name) {
    std::wstring path = IsAbsolute(name) ? name : CPaintManagerUI::GetResourcePath().str() + name;
    for (wchar_t& c : path) {
        if (c == L'\\') c = L'/';
    }
    return path;
}

std::wstring Wide(const char* text) {
    return Strconv::Utf8ToWide(text ? text : "");
}

class TreeBuilder {
public:
    TreeBuilder(std::wstring file, IDialogBuilderCallback* callback, CPaintManagerUI* manager)
        : m_file(std::move(file)), m_callback(callback), m_manager(manager) {}

    CControlUI* BuildDocument(const tinyxml2::XMLElement* root) {
        if (std::string(root->Name()) != "Window") return BuildControl(root);
        ApplyWindowAttributes(root);
        CControlUI* tree = nullptr;
        for (const tinyxml2::XMLElement* e = root->FirstChildElement(); e;
             e = e->NextSiblingElement()) {
            if (std::string(e->Name()) == "Font") {
                AddFont(e);
            } else if (!tree) {
                tree = BuildControl(e);
            } else {
                KT_LOG(LOG_ERROR,
                       "second root control skipped:" << Wide(e->Name()) << " in " << m_file,
                       kFunction);
            }
        }
        return tree;
    }

private:
    void UnknownAttribute(const tinyxml2::XMLElement* e, const tinyxml2::XMLAttribute* a) {
        KT_LOG(LOG_ERROR,
               "unknown layout attribute:" << Wide(e->Name()) << "." << Wide(a->Name()) << " in "
                                           << m_file,
               kFunction);
    }

    void ApplyWindowAttributes(const tinyxml2::XMLElement* window) {
        for (const tinyxml2::XMLAttribute* a = window->FirstAttribute(); a; a = a->Next()) {
            std::string name = a->Name();
            UISize size;
            UIRect caption;
            if (name == "size") {
                if (m_manager && Attr::ParseSize(Wide(a->Value()), size)) {
                    m_manager->SetInitSize(size.cx, size.cy);
                }
            } else if (name == "caption") {
                if (m_manager && Attr::ParseRect(Wide(a->Value()), caption)) {
                    m_manager->SetCaptionHeight(caption.bottom);
                }
            } else if (name == "cancel") {
                if (m_manager) m_manager->SetCancelControl(Wide(a->Value()).c_str());
            } else if (name == "focus") {
                if (m_manager) m_manager->SetOpeningFocus(Wide(a->Value()).c_str());
            } else {
                UnknownAttribute(window, a);
            }
        }
    }

    void AddFont(const tinyxml2::XMLElement* font) {
        int id = 0, size = 13;
        bool bold = false, isDefault = false;
        for (const tinyxml2::XMLAttribute* a = font->FirstAttribute(); a; a = a->Next()) {
            std::string name = a->Name();
            std::wstring value = Wide(a->Value());
            if (name == "id") {
                Attr::ParseInt(value, id);
            } else if (name == "size") {
                Attr::ParseInt(value, size);
            } else if (name == "bold") {
                Attr::ParseBool(value, bold);
            } else if (name == "default") {
                Attr::ParseBool(value, isDefault);
            } else {
                UnknownAttribute(font, a);
            }
        }
        if (m_manager) m_manager->AddFont(id, size, bold, isDefault);
    }

    CControlUI* CreateFor(const std::wstring& element) {
        CControlUI* control = CControlFactory::GetInstance()->Create(element);
        if (!control && m_callback) control = m_callback->CreateControl(element.c_str());
        return control;
    }

    CControlUI* BuildControl(const tinyxml2::XMLElement* e) {
        const std::wstring element = Wide(e->Name());
        CControlUI* control = CreateFor(element);
        if (!control) {
            KT_LOG(LOG_ERROR, "unknown layout element:" << element << " in " << m_file, kFunction);
            return nullptr;
        }
        for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
            if (!control->ApplyAttribute(Wide(a->Name()).c_str(), Wide(a->Value()).c_str())) {
                UnknownAttribute(e, a);
            }
        }
        IContainerUI* container = dynamic_cast<IContainerUI*>(control);
        for (const tinyxml2::XMLElement* c = e->FirstChildElement(); c;
             c = c->NextSiblingElement()) {
            if (!container) {
                KT_LOG(LOG_ERROR,
                       "child of a non-container skipped:" << Wide(c->Name()) << " "
                                                           << Wide(c->Attribute("name")) << " in "
                                                           << m_file,
                       kFunction);
                continue;
            }
            if (CControlUI* child = BuildControl(c)) container->Add(child);
        }
        return control;
    }

    std::wstring m_file;
    IDialogBuilderCallback* m_callback;
    CPaintManagerUI* m_manager;
};

XmlFiles::Loaded ParseInline(const std::wstring& text) {
    const std::string bytes = Strconv::WideToUtf8(text);
    auto doc = std::make_shared<tinyxml2::XMLDocument>();
    XmlFiles::Loaded loaded;
    const bool parsed = doc->Parse(bytes.data(), bytes.size()) == tinyxml2::XML_SUCCESS;
    loaded.status = parsed ? XmlFiles::Loaded::kParsed : XmlFiles::Loaded::kNotXml;
    loaded.error = Wide(doc->ErrorStr());
    loaded.document = doc;
    return loaded;
}

}  // namespace

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCTSTR type, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    if (!xml.m_lpstr || !*xml.m_lpstr) {
        KT_LOG(LOG_ERROR, "layout by resource number is not supported:" << xml.m_id, kFunction);
        return nullptr;
    }
    const std::wstring name = xml.m_lpstr;
    const bool inline_xml = name[0] == L'<';
    const std::wstring file = inline_xml ? L"<inline layout>" : LayoutPath(name);
    // A file is parsed once per version of it (support/XmlFiles.h).
    const XmlFiles::Loaded loaded = inline_xml ? ParseInline(name) : XmlFiles::Load(file);
    if (loaded.status == XmlFiles::Loaded::kMissing ||
        loaded.status == XmlFiles::Loaded::kUnreadable) {
        KT_LOG(LOG_ERROR, "layout file cannot be read:" << file, kFunction);
        return nullptr;
    }
    if (loaded.status == XmlFiles::Loaded::kNotXml || !loaded.document->RootElement()) {
        KT_LOG(LOG_ERROR, "layout file is not valid XML:" << file << " " << loaded.error,
               kFunction);
        return nullptr;
    }
    CControlUI* root =
        TreeBuilder(file, callback, manager).BuildDocument(loaded.document->RootElement());
    if (!root) {
        KT_LOG(LOG_ERROR, "layout file has no control:" << file, kFunction);
        return nullptr;
    }
    if (IContainerUI* container = dynamic_cast<IContainerUI*>(parent)) container->Add(root);
    return root;
}

}  // namespace DuiLib
