// The executable's folder as the named operations give it, for the paths
// Windows can report: a drive's root, a long path, a path without a folder.
#include <gtest/gtest.h>

#include "support/Common.h"
#include "support/KtFileUtil.h"
#include "testkit/LogCapture.h"
#include "winapi/WinApiTesting.h"

namespace {

struct FolderCase {
    std::wstring module;
    std::wstring folder;    // Common::GetDllPathByModuleW, the start-up's current directory
    std::wstring fullPath;  // FileInfo::GetSelfFullFilePath of "x.txt"; empty: it fails
};

TEST(ExecutableFolder, EachOperationFindsTheSameFolder) {
    const std::wstring deep = L"/opt/" + std::wstring(300, L'd');
    const FolderCase cases[] = {
        {L"C:\\x.exe", L"C:\\", L"C:/x.txt"},  // the root, not the drive's current folder
        {L"\\\\?\\D:\\x.exe", L"\\\\?\\D:\\", L"//?/D:/x.txt"},
        {L"C:\\Program Files\\Orvelle\\x.exe", L"C:\\Program Files\\Orvelle",
         L"C:/Program Files/Orvelle/x.txt"},
        {L"/x.exe", L"/", L"/x.txt"},
        {L"/opt/orvelle/x.exe", L"/opt/orvelle", L"/opt/orvelle/x.txt"},
        {deep + L"/x.exe", deep, deep + L"/x.txt"},
        {L"x.exe", L"", L""},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(std::string(c.module.begin(), c.module.end()));
        WinApi::Testing::SetModuleFileName(c.module);
        LogCapture log;
        EXPECT_EQ(Common::GetInstance()->GetDllPathByModuleW(nullptr), c.folder);
        std::wstring fullPath;
        EXPECT_EQ(FileInfo::GetSelfFullFilePath(fullPath, L"x.txt"), !c.fullPath.empty());
        EXPECT_EQ(fullPath, c.fullPath);
        EXPECT_EQ(log.Records().size(), c.folder.empty() ? 2u : 0u);  // each failure once
    }
    WinApi::Testing::SetModuleFileName(L"");
}

}  // namespace
