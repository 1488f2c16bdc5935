// Notifications from controls to windows, and the message-map routing of CNotifyPump.
#pragma once

#include "duilib/UIControl.h"

namespace DuiLib {

struct TNotifyUI {
    CDuiString sType;  // "click", "link", "mouseenter", "mouseleave", ...
    CDuiString sVirtualWnd;
    CControlUI* pSender = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

class CNotifyPump;
typedef void (CNotifyPump::*DUI_PMSG)(TNotifyUI& msg);

struct DUI_MSGMAP_ENTRY {
    LPCTSTR sMsgType;   // empty ends the map
    LPCTSTR sCtrlName;  // empty matches any control
    DUI_PMSG pfn;
};

struct DUI_MSGMAP {
    const DUI_MSGMAP* (*pfnGetBaseMap)();
    const DUI_MSGMAP_ENTRY* lpEntries;
};

#define DUI_DECLARE_MESSAGE_MAP()                            \
private:                                                     \
    static const DuiLib::DUI_MSGMAP_ENTRY _messageEntries[]; \
                                                             \
protected:                                                   \
    static const DuiLib::DUI_MSGMAP messageMap;              \
    static const DuiLib::DUI_MSGMAP* BaseMessageMap();       \
                                                             \
public:                                                      \
    const DuiLib::DUI_MSGMAP* GetMessageMap() const override;

#define DUI_BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const DuiLib::DUI_MSGMAP* theClass::BaseMessageMap() {                           \
        return &baseClass::messageMap;                                               \
    }                                                                                \
    const DuiLib::DUI_MSGMAP* theClass::GetMessageMap() const {                      \
        return &theClass::messageMap;                                                \
    }                                                                                \
    const DuiLib::DUI_MSGMAP theClass::messageMap = {&theClass::BaseMessageMap,      \
                                                     &theClass::_messageEntries[0]}; \
    const DuiLib::DUI_MSGMAP_ENTRY theClass::_messageEntries[] = {
#define DUI_ON_MSGTYPE(msgtype, memberFxn) \
    {msgtype, L"", static_cast<DuiLib::DUI_PMSG>(&memberFxn)},
// An entry for one control only, by name.
#define DUI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn) \
    {msgtype, ctrname, static_cast<DuiLib::DUI_PMSG>(&memberFxn)},
#define DUI_END_MESSAGE_MAP() \
    { L"", L"", nullptr }     \
    }                         \
    ;

// Routes a notification through the message maps of the most derived class
// and its chained bases; the first entry whose type (and name, if set) matches wins.
class CNotifyPump {
public:
    virtual const DUI_MSGMAP* GetMessageMap() const;
    virtual ~CNotifyPump() = default;
    // True when an entry handled the notification.
    bool LoopDispatch(TNotifyUI& msg);
    void NotifyPump(TNotifyUI& msg);

protected:
    static const DUI_MSGMAP messageMap;
};

}  // namespace DuiLib
