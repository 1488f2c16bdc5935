#include "duilib/UIControlFactory.h"

#include "duilib/UIControls.h"
#include "duilib/UIProgress.h"

namespace DuiLib {

namespace {

template <typename T>
CControlUI* Make() {
    return new T;
}

}  // namespace

CControlFactory::CControlFactory() {
    m_creators[L"Control"] = &Make<CControlUI>;
    m_creators[L"Label"] = &Make<CLabelUI>;
    m_creators[L"Button"] = &Make<CButtonUI>;
    m_creators[L"Text"] = &Make<CTextUI>;
    m_creators[L"SelectableText"] = &Make<CSelectableTextUI>;
    m_creators[L"Container"] = &Make<CContainerUI>;
    m_creators[L"VerticalLayout"] = &Make<CVerticalLayoutUI>;
    m_creators[L"HorizontalLayout"] = &Make<CHorizontalLayoutUI>;
    m_creators[L"AnimPanel"] = &Make<CAnimPanelUI>;
    m_creators[L"Progress"] = &Make<CProgressUI>;
}

CControlFactory* CControlFactory::GetInstance() {
    static CControlFactory instance;
    return &instance;
}

void CControlFactory::Register(const std::wstring& element, Creator creator) {
    if (creator) m_creators[element] = creator;
}

CControlUI* CControlFactory::Create(const std::wstring& element) const {
    auto it = m_creators.find(element);
    return it == m_creators.end() ? nullptr : it->second();
}

}  // namespace DuiLib
