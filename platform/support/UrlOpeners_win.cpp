// The way to the desktop shell on Windows: Explorer's shell windows lead to
// the desktop's folder view, whose Shell.Application object runs ShellExecute
// inside Explorer, as the signed-in user (the way Windows documents for an
// elevated program to start something unelevated). Nothing is ever executed
// from this process.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <sstream>

#include "support/UrlOpeners.h"
#include "winapi/ComObjects_win.h"

namespace UrlOpeners {

namespace {

using WinApi::Bstr;
using WinApi::ComRef;

std::wstring Cause(const wchar_t* call, HRESULT hr) {
    std::wostringstream text;
    text << call << L" hr:0x" << std::hex << static_cast<unsigned long>(hr);
    return text.str();
}

VARIANT Variant(VARTYPE type) {
    VARIANT value;
    VariantInit(&value);
    value.vt = type;
    return value;
}

// The desktop's Shell.Application object, from Explorer's process. Empty when
// it was found; else the call that failed, as no desktop shell answered.
std::wstring FindDesktopShell(ComRef<IShellDispatch2>& shell) {
    ComRef<IShellWindows> windows;
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, windows.outVoid());
    if (FAILED(hr)) return Cause(L"CoCreateInstance(ShellWindows)", hr);
    VARIANT desktop = Variant(VT_I4);
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none = Variant(VT_EMPTY);
    LONG window = 0;
    ComRef<IDispatch> browserDispatch;
    hr = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                               browserDispatch.out());
    if (hr != S_OK || browserDispatch.get() == nullptr)  // S_FALSE: no desktop window
        return Cause(L"IShellWindows::FindWindowSW", hr);
    ComRef<IServiceProvider> services;
    hr = browserDispatch->QueryInterface(IID_IServiceProvider, services.outVoid());
    if (FAILED(hr)) return Cause(L"QueryInterface(IServiceProvider)", hr);
    ComRef<IShellBrowser> browser;
    hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.outVoid());
    if (FAILED(hr)) return Cause(L"IServiceProvider::QueryService(SID_STopLevelBrowser)", hr);
    ComRef<IShellView> view;
    hr = browser->QueryActiveShellView(view.out());
    if (FAILED(hr) || view.get() == nullptr)
        return Cause(L"IShellBrowser::QueryActiveShellView", hr);
    ComRef<IDispatch> background;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.outVoid());
    if (FAILED(hr)) return Cause(L"IShellView::GetItemObject(SVGIO_BACKGROUND)", hr);
    ComRef<IShellFolderViewDual> folderView;
    hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.outVoid());
    if (FAILED(hr)) return Cause(L"QueryInterface(IShellFolderViewDual)", hr);
    ComRef<IDispatch> application;
    hr = folderView->get_Application(application.out());
    if (FAILED(hr) || application.get() == nullptr)
        return Cause(L"IShellFolderViewDual::get_Application", hr);
    hr = application->QueryInterface(IID_IShellDispatch2, shell.outVoid());
    if (FAILED(hr)) return Cause(L"QueryInterface(IShellDispatch2)", hr);
    return std::wstring();
}

}  // namespace

DesktopShellResult ThroughDesktopShell(const std::wstring& url) {
    ComRef<IShellDispatch2> shell;
    const std::wstring missing = FindDesktopShell(shell);
    if (!missing.empty()) return {DesktopShellResult::kNoShell, missing};
    // Explorer starts the handler: let its window come to the front as ours would.
    CoAllowSetForegroundWindow(shell.get(), nullptr);
    const Bstr file(url);
    const Bstr verb(L"open");
    VARIANT none = Variant(VT_EMPTY);
    VARIANT operation = Variant(VT_BSTR);
    operation.bstrVal = verb.get();
    VARIANT show = Variant(VT_I4);
    show.lVal = SW_SHOWNORMAL;
    const HRESULT hr = shell->ShellExecute(file.get(), none, none, operation, show);
    if (FAILED(hr))
        return {DesktopShellResult::kRefused, Cause(L"IShellDispatch2::ShellExecute", hr)};
    return {DesktopShellResult::kOpened, std::wstring()};
}

}  // namespace UrlOpeners
