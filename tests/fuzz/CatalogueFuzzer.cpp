// The description catalogue lookup (XmlHelper::GetValueDesc) on a catalogue
// file written from the input. Input: a flag byte (bit 0: UTF-8 code page),
// the category text up to the first newline, then the file's bytes.
#include "FuzzSupport.h"
#include "hotfix/XmlHelper.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSupport::ExecutableFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    FuzzSupport::UseCodePage(data[0] & 1);
    const std::wstring category = FuzzSupport::DecodeText(FuzzSupport::TakeField(input, '\n'));
    FuzzSupport::WriteFile(FuzzSupport::ExecutableFolder() + "/config/HotfixDestriptionDes.xml",
                           input);

    XmlHelper* catalogue = XmlHelper::GetInstance();
    const std::wstring first = catalogue->GetValueDesc(category);
    // The lookup keeps nothing between calls: the same file gives the same answer.
    FUZZ_CHECK(catalogue->GetValueDesc(category) == first);
    return 0;
}
