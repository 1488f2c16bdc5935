#include "ui/hide/HideUpdatesDialog.h"

#include <utility>

#include "hotfix/UninstallCodes.h"
#include "hotfix/UpdateHiding.h"
#include "support/KtLogger.h"
#include "support/UrlsManager.h"
#include "ui/ComposedText.h"

using namespace DuiLib;
using WindowsHotfix::HideOutcome;

namespace {

const wchar_t* const kPauseUpdatesAddress = L"ms-settings:windowsupdate";

std::wstring FirstKb(const WinApi::OfferedUpdate& update) {
    return update.kbArticleIds.empty() ? std::wstring() : L"KB" + update.kbArticleIds.front();
}

// The words of an outcome; a failure's code as Microsoft writes it.
std::wstring OutcomeWords(HideOutcome outcome, uint32_t result, bool hiding, bool searching) {
    const wchar_t* key = searching && outcome == HideOutcome::kFailed
                             ? L"IDS_WU_SEARCH_FAILED"
                             : WindowsHotfix::TextKeyOf(outcome, hiding);
    return key ? ComposedText(key, WindowsHotfix::HexCode(result).substr(2)) : std::wstring();
}

}  // namespace

HideUpdatesDialog::HideUpdatesDialog() : m_alive(std::make_shared<AliveToken>()) {
    m_alive->dialog = this;
}

HideUpdatesDialog::~HideUpdatesDialog() {
    m_alive->dialog = nullptr;
    if (m_work) m_work->Stop();
}

LPCTSTR HideUpdatesDialog::GetWindowClassName() const {
    return HIDE_UPDATES_WINDOW_CLASS;
}

CDuiString HideUpdatesDialog::GetSkinFile() {
    return CDuiString(HIDE_UPDATES_LAYOUT);
}

void HideUpdatesDialog::InitWindow() {
    WindowApi::SetWindowTextW(GetHWND(),
                              UICulture::GetInstance()->GetString(L"IDS_WU_HIDE_UPDATES_TITLE"));
    if (CControlUI* cancel = m_PaintManager.FindControl(HIDE_UPDATES_CANCEL)) {
        m_PaintManager.SetFocus(cancel);
    }
    std::shared_ptr<AliveToken> alive = m_alive;
    WindowsHotfix::WindowsUpdateWorker::Callbacks callbacks;
    callbacks.searched = [alive](uint32_t result, std::vector<WinApi::OfferedUpdate> found) {
        UIMainQueue::getInstance()->dispatch([alive, result, found]() mutable {
            if (HideUpdatesDialog* dialog = alive->dialog)
                dialog->OnSearched(result, std::move(found));
        });
    };
    callbacks.flagSet = [alive](size_t index, bool hidden, uint32_t result) {
        UIMainQueue::getInstance()->dispatch([alive, index, hidden, result] {
            if (HideUpdatesDialog* dialog = alive->dialog) dialog->OnFlagSet(index, hidden, result);
        });
    };
    KT_LOG(LOG_ERROR, L"search the updates windows update offers", "HideUpdatesDialog::InitWindow");
    m_work = WindowsHotfix::WindowsUpdateWorker::Start(WindowsHotfix::kOfferedUpdatesCriteria,
                                                       std::move(callbacks));
    if (!m_work) OnSearched(0x8007000E, {});  // E_OUTOFMEMORY: no thread for the search
}

void HideUpdatesDialog::OnSearched(uint32_t result, std::vector<WinApi::OfferedUpdate> found) {
    UIChangeBatch batch(m_PaintManager);
    if (CControlUI* searching = m_PaintManager.FindControl(HIDE_UPDATES_SEARCHING)) {
        searching->SetVisible(false);
    }
    const HideOutcome outcome = WindowsHotfix::OutcomeOfSearch(result);
    if (outcome != HideOutcome::kDone) {
        ShowMessage(OutcomeWords(outcome, result, true, true));
        return;
    }
    if (found.empty()) {
        ShowMessage(UICulture::GetInstance()->GetString(L"IDS_WU_NONE_OFFERED").str());
        return;
    }
    m_updates = std::move(found);
    if (CControlUI* list = m_PaintManager.FindControl(HIDE_UPDATES_LIST)) list->SetVisible(true);
    for (size_t i = 0; i < m_updates.size(); ++i) AddLine(i);
    m_PaintManager.SetFocus(m_buttons.empty() ? m_PaintManager.FindControl(HIDE_UPDATES_CLOSE)
                                              : m_buttons.front());
}

void HideUpdatesDialog::ShowMessage(const std::wstring& text) {
    if (CControlUI* message = m_PaintManager.FindControl(HIDE_UPDATES_MESSAGE)) {
        message->SetText(text.c_str());
        message->SetVisible(true);
    }
    // The search's view and its Cancel are gone: the focus goes to the close button.
    m_PaintManager.SetFocus(m_PaintManager.FindControl(HIDE_UPDATES_CLOSE));
}

void HideUpdatesDialog::AddLine(size_t index) {
    auto* list = dynamic_cast<CContainerUI*>(m_PaintManager.FindControl(HIDE_UPDATES_LIST));
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(HIDE_UPDATES_LINE_LAYOUT));
    auto* line = dynamic_cast<CContainerUI*>(root);
    if (list == nullptr || line == nullptr) {
        delete root;
        KT_LOG(LOG_ERROR, L"create offered update line failed", "HideUpdatesDialog::AddLine");
        m_buttons.push_back(nullptr);
        return;
    }
    static_cast<IContainerUI*>(list)->Add(line);
    const WinApi::OfferedUpdate& update = m_updates[index];
    line->SetAccessibleName(update.title.c_str());
    if (CControlUI* title = line->FindSubControl(L"offeredTitle")) {
        title->SetText(update.title.c_str());
        title->SetToolTip(update.title.c_str());
    }
    if (CControlUI* kb = line->FindSubControl(L"offeredKb")) kb->SetText(FirstKb(update).c_str());
    auto* button = dynamic_cast<CButtonUI*>(line->FindSubControl(L"offeredButton"));
    if (button != nullptr) button->SetName((L"offeredButton" + std::to_wstring(index)).c_str());
    m_buttons.push_back(button);
    ShowLineState(index);
}

void HideUpdatesDialog::ShowLineState(size_t index) {
    CButtonUI* button = LineButton(index);
    if (button == nullptr) return;
    const bool hidden = m_updates[index].hidden;
    UICulture* culture = UICulture::GetInstance();
    button->SetText(culture->GetString(hidden ? L"IDS_WU_SHOW_AGAIN" : L"IDS_WU_HIDE"));
    const std::wstring kb = FirstKb(m_updates[index]);
    button->SetAccessibleName(ComposedText(hidden ? L"IDS_WU_SHOW_AGAIN_NAME" : L"IDS_WU_HIDE_NAME",
                                           kb.empty() ? m_updates[index].title : kb)
                                  .c_str());
}

CButtonUI* HideUpdatesDialog::LineButton(size_t index) const {
    return index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void HideUpdatesDialog::SetLinesEnabled(bool enabled) {
    for (CButtonUI* button : m_buttons) {
        if (button != nullptr) button->SetEnabled(enabled);
    }
}

void HideUpdatesDialog::OnFlagSet(size_t index, bool hidden, uint32_t result) {
    m_flagPending = false;
    UIChangeBatch batch(m_PaintManager);
    CControlUI* status = m_PaintManager.FindControl(HIDE_UPDATES_STATUS);
    if (index < m_updates.size()) {
        const HideOutcome outcome = hidden ? WindowsHotfix::OutcomeOfHide(result, m_updates[index])
                                           : WindowsHotfix::OutcomeOfSearch(result);
        if (result == 0) m_updates[index].hidden = hidden;
        ShowLineState(index);
        if (status != nullptr) {
            const std::wstring words = OutcomeWords(outcome, result, hidden, false);
            const std::wstring text = FirstKb(m_updates[index]) + L": " + words;
            status->SetText(text.c_str());
            status->SetToolTip(text.c_str());
            status->SetVisible(true);
        }
    }
    SetLinesEnabled(true);
    if (CButtonUI* button = LineButton(index)) m_PaintManager.SetFocus(button);
}

void HideUpdatesDialog::Notify(TNotifyUI& msg) {
    if (msg.sType == L"click") {
        OnClick(msg);
    } else if (msg.sType == L"link" && msg.pSender != nullptr &&
               msg.pSender->GetName() == PAUSE_UPDATES_LINK) {
        // Failures are logged by the opener; Settings is the user's to open.
        UrlsManager::Instance()->OpenUrl(kPauseUpdatesAddress);
    }
}

void HideUpdatesDialog::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::wstring name = msg.pSender->GetName().str();
    if (name == HIDE_UPDATES_CLOSE || name == HIDE_UPDATES_CANCEL) {
        CloseDialog();
        return;
    }
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i] != msg.pSender || m_flagPending || !m_work) continue;
        const bool hide = !m_updates[i].hidden;
        KT_LOG(LOG_ERROR, (hide ? L"hide " : L"show again ") << FirstKb(m_updates[i]),
               "HideUpdatesDialog::OnClick");
        m_flagPending = true;
        SetLinesEnabled(false);
        m_work->SetHidden(i, hide);
        return;
    }
}

void HideUpdatesDialog::CloseDialog() {
    // The search is aborted; a flag being set ends on its own, nobody waits for it.
    if (m_work) m_work->Stop();
    m_work.reset();
    m_alive->dialog = nullptr;
    Close(0);
}
