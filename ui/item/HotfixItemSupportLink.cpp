// A row's "Learn more" link: the update's support article at Microsoft, opened
// in the signed-in user's browser, never from this elevated process.
// UI thread only.
#include "hotfix/KbNumber.h"
#include "support/KtLogger.h"
#include "support/UrlsManager.h"
#include "ui/ComposedText.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

namespace {
const wchar_t* const kSupportArticle = L"https://support.microsoft.com/help/";
}

void HotfixManageItemDetail::ShowSupportLink() {
    if (m_pLearnMoreLink == nullptr) {
        return;
    }
    // Only a plain KB number has an article; the address holds nothing else of the id.
    const bool hasArticle = !ExtractKbNumber(m_hotfixId).empty();
    m_pLearnMoreLink->SetVisible(hasArticle);
    if (!hasArticle) {
        return;
    }
    m_pLearnMoreLink->SetName((L"learnMoreLink" + m_hotfixId).c_str());
    m_pLearnMoreLink->SetAccessibleName(ComposedText(L"IDS_LEARN_MORE_NAME", m_hotfixId).c_str());
}

bool HotfixManageItemDetail::HandleNotification(TNotifyUI& msg) {
    if (msg.pSender == nullptr || msg.pSender != m_pLearnMoreLink || msg.sType != L"link") {
        return false;
    }
    OpenSupportArticle();
    return true;
}

void HotfixManageItemDetail::OpenSupportArticle() {
    const std::wstring number = ExtractKbNumber(m_hotfixId);
    if (number.empty()) {
        return;  // no link is shown for such an identifier
    }
    KT_LOG(LOG_ERROR, L"open support article of " << m_hotfixId,
           "HotfixManageItemDetail::OpenSupportArticle");
    // Failures are logged by the opener; the row stays as it is either way.
    UrlsManager::Instance()->OpenUrl(kSupportArticle + number);
}
