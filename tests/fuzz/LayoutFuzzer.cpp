// The layout builder (CDialogBuilder) on a layout file written from the input,
// then what a window does with the tree: lay it out, paint it, move the mouse,
// click, tick timers, look controls up. Input: a flag byte (bit 0: also build
// it as inline layout text), then the file's bytes.
#include <filesystem>

#include "FuzzSupport.h"
#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "winapi/TextConversion.h"

using namespace DuiLib;

namespace {

// Click and move at a few points spread over the client area.
void Exercise(CPaintManagerUI& manager, uint32_t seed) {
    UITestDriver driver(manager, 760, 560);
    driver.Layout();
    driver.Paint();
    for (int i = 0; i < 4; ++i) {
        const int x = static_cast<int>((seed >> (i * 8)) & 0xFF) * 3;
        const int y = static_cast<int>((seed >> (i * 8 + 4)) & 0xFF) * 2;
        driver.MoveTo(x, y);
        driver.ClickAt(x, y);
    }
    driver.Wheel(L"containerInstalledHotfix", -240);
    driver.TickTimers(2);
    driver.Paint();
    manager.FindControl(L"btnUninstall");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSupport::StageShippedResources();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A new file name per input: the toolkit keeps parsed layouts by path, size and
    // modification time, and two inputs of one size can share a time stamp.
    static unsigned long long count = 0;
    const std::wstring name = L"layout/fuzz-" + std::to_wstring(count % 64) + L".xml";
    const std::string path = FuzzSupport::ExecutableFolder() + "/res/" + Strconv::WideToUtf8(name);
    std::filesystem::remove(path);
    ++count;
    FuzzSupport::WriteFile(path, bytes);
    uint32_t seed = 0;
    for (size_t i = 0; i < bytes.size(); ++i) seed = seed * 31 + static_cast<uint8_t>(bytes[i]);

    CDialogBuilder builder;
    {
        // As a window builds its layout: the root's size, caption and fonts configure it.
        CPaintManagerUI manager;
        if (CControlUI* root = builder.Create(STRINGorID(name), nullptr, nullptr, &manager)) {
            manager.AttachDialog(root);
            Exercise(manager, seed);
        }
    }
    // As a row builds its layout: no manager; the caller owns the root.
    delete builder.Create(STRINGorID(name));
    if (data[0] & 1) {
        const std::wstring text = Strconv::Utf8ToWide(bytes);
        if (!text.empty() && text[0] == L'<') delete builder.Create(STRINGorID(text.c_str()));
    }
    return 0;
}
