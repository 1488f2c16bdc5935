#include <filesystem>
#include <fstream>

#include "testkit/FakeServicingStore.h"
#include "testkit/TestPaths.h"
#include "winapi/Registry.h"
#include "winapi/RegistryTesting.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApiTesting.h"

namespace fs = std::filesystem;

namespace {
const std::wstring kPackagesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages\\";
}

FakeServicingStore::FakeServicingStore(const std::string& scratchName)
    : m_windowsFolder(TestPaths::MakeScratchDir(scratchName)) {
    WinApi::Testing::ResetRegistry();
    WinApi::Testing::SetWindowsDirectory(Strconv::Utf8ToWide(m_windowsFolder));
}

FakeServicingStore::~FakeServicingStore() {
    WinApi::Testing::ResetRegistry();
    WinApi::Testing::SetWindowsDirectory(L"");
}

void FakeServicingStore::AddPackage(const std::wstring& name, std::optional<uint32_t> state,
                                    std::optional<std::string> manifest) {
    WinApi::Testing::AddRegistryKey(kPackagesKey + name);
    if (state) {
        const uint32_t value = *state;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
        WinApi::Testing::SetRegistryValue(kPackagesKey + name, L"CurrentState", WinApi::kRegDword,
                                          {bytes, bytes + sizeof(value)});
    }
    if (manifest) {
        const fs::path folder = fs::path(m_windowsFolder) / "servicing" / "Packages";
        fs::create_directories(folder);
        std::ofstream(folder / (Strconv::WideToUtf8(name) + ".mum"), std::ios::binary) << *manifest;
    }
}

void FakeServicingStore::Clear() {
    WinApi::Testing::ResetRegistry();
    std::error_code ec;
    fs::remove_all(fs::path(m_windowsFolder) / "servicing", ec);
}

std::string FakeServicingStore::Manifest(const std::string& assemblyName,
                                         const std::string& identifier, bool permanent,
                                         const std::string& releaseType, int updates) {
    const std::string identity =
        "\" version=\"19041.3570.1.12\" language=\"neutral\" "
        "processorArchitecture=\"amd64\" "
        "publicKeyToken=\"31bf3856ad364e35\" buildType=\"release\"/>\n";
    std::string text =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v3\" manifestVersion=\"1.0\" "
        "copyright=\"Copyright (c) Microsoft Corporation. All Rights Reserved.\">\n"
        "  <assemblyIdentity name=\"" +
        assemblyName + identity + "  <package identifier=\"" + identifier + "\" releaseType=\"" +
        releaseType + "\" restart=\"possible\"" +
        (permanent ? " selfUpdate=\"true\" permanence=\"permanent\"" : "") + ">\n";
    for (int i = 1; i <= updates; ++i) {
        const std::string child = "Package_" + std::to_string(i) + "_for_" + identifier;
        text += "    <update name=\"" + std::to_string(i) +
                "\">\n      <package integrate=\"hidden\">\n        <assemblyIdentity name=\"" +
                child + identity + "      </package>\n    </update>\n";
    }
    return text + "  </package>\n</assembly>\n";
}

namespace {
const wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
}  // namespace

void FakeServicingStore::SetRunningVersion(const wchar_t* name, const std::wstring& text) {
    const std::wstring terminated = text + L'\0';
    const auto* chars = reinterpret_cast<const uint8_t*>(terminated.c_str());
    WinApi::Testing::SetRegistryValue(kCurrentVersionKey, name, WinApi::kRegSz,
                                      {chars, chars + terminated.size() * sizeof(wchar_t)});
}

void FakeServicingStore::SetRunningVersion(const wchar_t* name, uint32_t number) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&number);
    WinApi::Testing::SetRegistryValue(kCurrentVersionKey, name, WinApi::kRegDword,
                                      {bytes, bytes + sizeof(number)});
}
