// CNotifyPump: routes a notification through the message maps, most derived
// class first, then along the chain of base maps.
#include "duilib/UINotify.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {
const DUI_MSGMAP_ENTRY kNoEntries[] = {{L"", L"", nullptr}};
// A chain longer than this is a map that names itself as its base.
constexpr int kMaxChain = 64;
}  // namespace

const DUI_MSGMAP CNotifyPump::messageMap = {nullptr, &kNoEntries[0]};

const DUI_MSGMAP* CNotifyPump::GetMessageMap() const {
    return &CNotifyPump::messageMap;
}

// The entries hold handlers of derived classes cast to DUI_PMSG; calling one on
// this CNotifyPump base is sound (the object's dynamic type has the member), but
// UBSan's vptr check tests the adjusted pointer against CNotifyPump and reports it.
__attribute__((no_sanitize("vptr"))) bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    const CDuiString senderName = msg.pSender ? msg.pSender->GetName() : CDuiString();
    int depth = 0;
    for (const DUI_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        // Checked in every build: a release build would otherwise loop for ever.
        if (++depth > kMaxChain) {
            KT_LOG(LOG_ERROR, L"message map chain loops: check DUI_BEGIN_MESSAGE_MAP's base",
                   "CNotifyPump::LoopDispatch");
            return false;
        }
        for (const DUI_MSGMAP_ENTRY* e = map->lpEntries; e && e->sMsgType && *e->sMsgType; ++e) {
            if (msg.sType != e->sMsgType) continue;
            if (e->sCtrlName && *e->sCtrlName && senderName != e->sCtrlName) continue;
            if (e->pfn) (this->*(e->pfn))(msg);
            return true;
        }
    }
    return false;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
    LoopDispatch(msg);
}

}  // namespace DuiLib
