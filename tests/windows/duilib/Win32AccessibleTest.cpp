// The MSAA objects of a real window, taken the way a screen reader takes them
// (AccessibleObjectFromWindow, AccessibleChildren): what they say, the default
// action going through the loop, and objects that outlive their control or
// their window answering CO_E_OBJNOTCONNECTED instead of touching freed memory.
#include <windows.h>
// IID_IAccessible as data (the one in liboleacc.a is a code thunk).
#include <initguid.h>
// (after initguid.h)
#include <gtest/gtest.h>
#include <oleacc.h>

#include <atomic>
#include <memory>
#include <thread>

#include "Win32TestWindow.h"
#include "duilib_win32/Win32Accessible.h"

namespace {

using Win32Test::ProbeWindow;

VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::wstring NameOf(IAccessible* object) {
    BSTR name = nullptr;
    if (FAILED(object->get_accName(Self(), &name)) || !name) return L"";
    std::wstring text(name);
    SysFreeString(name);
    return text;
}

// The object a VT_DISPATCH answer holds, or null; the answer's reference is released.
IAccessible* TakeObject(VARIANT& answer) {
    if (answer.vt != VT_DISPATCH) return nullptr;
    IAccessible* object = nullptr;
    answer.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
    answer.pdispVal->Release();
    return object;
}

// The name of the object a VT_DISPATCH answer holds ("<no object>" when none).
std::wstring NameOfAnswer(VARIANT& answer) {
    IAccessible* object = TakeObject(answer);
    if (!object) return L"<no object>";
    std::wstring name = NameOf(object);
    object->Release();
    return name;
}

class Win32AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_window.reset(new ProbeWindow());
        m_hwnd = m_window->CreateProbe(nullptr, L"Accessible probe");
        ASSERT_NE(m_hwnd, nullptr);
        m_window->ShowWindow(true);
        DuiLib::UIMainQueue::getInstance()->pumpUntil([] { return false; }, 50);
        ASSERT_EQ(AccessibleObjectFromWindow(m_hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&m_root)),
                  S_OK);
    }
    void TearDown() override {
        for (IAccessible* object : m_children) object->Release();
        if (m_root) m_root->Release();
        m_window.reset();
        CoUninitialize();
    }
    // The client area's children, each an object of its own.
    void TakeChildren() {
        long count = 0;
        ASSERT_EQ(m_root->get_accChildCount(&count), S_OK);
        std::vector<VARIANT> found(static_cast<size_t>(count));
        long obtained = 0;
        ASSERT_EQ(AccessibleChildren(m_root, 0, count, found.data(), &obtained), S_OK);
        for (long i = 0; i < obtained; ++i) {
            ASSERT_EQ(found[i].vt, VT_DISPATCH);
            IAccessible* child = TakeObject(found[i]);
            ASSERT_NE(child, nullptr);
            m_children.push_back(child);
        }
    }

    std::unique_ptr<ProbeWindow> m_window;
    HWND m_hwnd = nullptr;
    IAccessible* m_root = nullptr;
    std::vector<IAccessible*> m_children;
};

TEST_F(Win32AccessibleTest, TheClientObjectServesTheLiveTree) {
    TakeChildren();
    ASSERT_EQ(m_children.size(), 2u);  // the button and the animation; the hidden label is not
    EXPECT_EQ(NameOf(m_root), L"Accessible probe");
    EXPECT_EQ(NameOf(m_children[0]), L"OK");
    VARIANT role;
    ASSERT_EQ(m_children[1]->get_accRole(Self(), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ANIMATION);

    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(m_children[0]->accLocation(&x, &y, &w, &h, Self()), S_OK);
    const DuiLib::UIRect button = m_window->PosOf(L"probeButton");
    POINT origin = {button.left, button.top};
    ClientToScreen(m_hwnd, &origin);
    EXPECT_EQ((std::vector<long>{x, y, w, h}),
              (std::vector<long>{origin.x, origin.y, button.Width(), button.Height()}));
    VARIANT hit;
    ASSERT_EQ(m_root->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    EXPECT_EQ(NameOfAnswer(hit), L"OK");

    // The client area's parent is the window; the focus is the control's.
    IDispatch* parent = nullptr;
    ASSERT_EQ(m_root->get_accParent(&parent), S_OK);
    ASSERT_NE(parent, nullptr);
    parent->Release();
    ASSERT_TRUE(m_window->GetPaintManager().SetFocus(
        m_window->GetPaintManager().FindControl(L"probeButton")));
    VARIANT focus;
    ASSERT_EQ(m_root->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    EXPECT_EQ(NameOfAnswer(focus), L"OK");

    // A change is seen at once by the objects already handed out.
    m_window->GetPaintManager().FindControl(L"probeButton")->SetText(L"Apply");
    EXPECT_EQ(NameOf(m_children[0]), L"Apply");
}

TEST_F(Win32AccessibleTest, TheDefaultActionClicksThroughTheLoopAndNotWhileDisabled) {
    TakeChildren();
    ASSERT_EQ(m_children[0]->accDoDefaultAction(Self()), S_OK);
    EXPECT_TRUE(m_window->notifications.empty());  // not inside the caller's call
    DuiLib::UIMainQueue::getInstance()->pumpUntil([&] { return !m_window->notifications.empty(); },
                                                  5000);
    EXPECT_EQ(m_window->notifications, std::vector<std::wstring>{L"click:probeButton"});

    m_window->GetPaintManager().FindControl(L"probeButton")->SetEnabled(false);
    EXPECT_EQ(m_children[0]->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_children[1]->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);  // no action
}

TEST_F(Win32AccessibleTest, ObjectsOfADestroyedControlOrWindowAreNotConnected) {
    TakeChildren();
    auto* root = dynamic_cast<DuiLib::CContainerUI*>(m_window->GetPaintManager().GetRoot());
    auto* row = dynamic_cast<DuiLib::CContainerUI*>(root->GetItemAt(0));
    ASSERT_TRUE(row->Remove(m_window->GetPaintManager().FindControl(L"probeButton")));
    BSTR name = nullptr;
    EXPECT_EQ(m_children[0]->get_accName(Self(), &name), CO_E_OBJNOTCONNECTED);
    long count = 0;
    EXPECT_EQ(m_root->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 1);

    m_window.reset();  // the window, its tree and its backend go
    EXPECT_EQ(m_root->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(m_children[1]->get_accName(Self(), &name), CO_E_OBJNOTCONNECTED);
    VARIANT state;
    EXPECT_EQ(m_children[1]->get_accState(Self(), &state), CO_E_OBJNOTCONNECTED);
}

// IEnumVARIANT over the client area's two children, as Microsoft documents it:
// S_FALSE with the count fetched when fewer remain, a null count taken, Skip
// past the end S_FALSE, Reset to the start, a Clone that keeps its own place.
TEST_F(Win32AccessibleTest, TheChildrenEnumerationKeepsItsPlaceAndTheContract) {
    IEnumVARIANT* children = nullptr;
    ASSERT_EQ(m_root->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children)), S_OK);
    auto names = [](VARIANT* got, ULONG count) {
        std::vector<std::wstring> found;
        for (ULONG i = 0; i < count; ++i) {
            found.push_back(got[i].vt == VT_EMPTY ? L"<empty>" : NameOfAnswer(got[i]));
        }
        return found;
    };
    VARIANT got[3];
    ULONG fetched = 7;
    ASSERT_EQ(children->Reset(), S_OK);
    EXPECT_EQ(children->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(names(got, fetched), std::vector<std::wstring>{L"OK"});
    IEnumVARIANT* clone = nullptr;
    ASSERT_EQ(children->Clone(&clone), S_OK);
    EXPECT_EQ(children->Next(3, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(names(got, 1), std::vector<std::wstring>{L""});  // the animation, unnamed
    EXPECT_EQ(children->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    EXPECT_EQ(clone->Next(2, got, nullptr), S_FALSE);  // where it was cloned: one left
    EXPECT_EQ(names(got, 2), (std::vector<std::wstring>{L"", L"<empty>"}));
    clone->Release();

    ASSERT_EQ(children->Reset(), S_OK);
    EXPECT_EQ(children->Skip(1), S_OK);
    EXPECT_EQ(children->Skip(5), S_FALSE);
    ASSERT_EQ(children->Reset(), S_OK);
    EXPECT_EQ(children->Next(2, got, &fetched), S_OK);
    EXPECT_EQ(names(got, fetched), (std::vector<std::wstring>{L"OK", L""}));
    children->Release();
}

// A client in another apartment holds the button's object through a proxy, as
// another process's screen reader does. When the button goes, the window lives
// on, and the proxy is cut off then: the object does not wait for the client.
TEST_F(Win32AccessibleTest, AClientsProxyOfADestroyedControlIsCutOffAtOnce) {
    std::atomic<int> step{0};
    HRESULT held = E_FAIL, afterwards = S_OK;
    std::thread client([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IAccessible* root = nullptr;
        IAccessible* button = nullptr;
        held = AccessibleObjectFromWindow(m_hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&root));
        if (SUCCEEDED(held)) {
            VARIANT first;
            long obtained = 0;
            held = AccessibleChildren(root, 0, 1, &first, &obtained);
            button = obtained == 1 ? TakeObject(first) : nullptr;
            root->Release();
        }
        step = 1;
        DuiLib::Backend::WakeMainQueue();
        while (step != 2) std::this_thread::yield();
        if (button) {
            BSTR name = nullptr;
            afterwards = button->get_accName(Self(), &name);
            SysFreeString(name);
            button->Release();
        }
        CoUninitialize();
        step = 3;
        DuiLib::Backend::WakeMainQueue();
    });
    // The UI thread serves the client's calls meanwhile.
    DuiLib::UIMainQueue::getInstance()->pumpUntil([&] { return step == 1; }, 10000);
    const long alive = DuiLib::Win32Accessible::LiveObjects();
    auto* root = dynamic_cast<DuiLib::CContainerUI*>(m_window->GetPaintManager().GetRoot());
    auto* row = dynamic_cast<DuiLib::CContainerUI*>(root->GetItemAt(0));
    const bool removed = row->Remove(m_window->GetPaintManager().FindControl(L"probeButton"));
    const long afterRemoval = DuiLib::Win32Accessible::LiveObjects();
    step = 2;
    DuiLib::UIMainQueue::getInstance()->pumpUntil([&] { return step == 3; }, 10000);
    client.join();
    EXPECT_EQ(held, S_OK);
    ASSERT_TRUE(removed);
    EXPECT_EQ(afterRemoval, alive - 1);  // the proxy's hold went with the control
    // Windows answers CO_E_OBJNOTCONNECTED (or RPC_E_DISCONNECTED) for a disconnected
    // object; Wine's channel RPC_S_UNKNOWN_IF as an HRESULT. A failure either way.
    EXPECT_TRUE(FAILED(afterwards)) << std::hex << afterwards;
}

}  // namespace
