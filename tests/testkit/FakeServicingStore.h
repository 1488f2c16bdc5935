// A component-based servicing store for one test (non-Windows builds only): its
// package keys in the registry stand-in and its manifests in a scratch folder
// that stands as the Windows folder. Everything is put back when it goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class FakeServicingStore {
public:
    explicit FakeServicingStore(const std::string& scratchName);
    ~FakeServicingStore();
    FakeServicingStore(const FakeServicingStore&) = delete;
    FakeServicingStore& operator=(const FakeServicingStore&) = delete;

    // A package key; without a state it holds no CurrentState value, without a
    // manifest there is no .mum file.
    void AddPackage(const std::wstring& name, std::optional<uint32_t> state,
                    std::optional<std::string> manifest);
    // Forgets every package and manifest.
    void Clear();

    // A manifest as the store keeps it: an <assembly> with its
    // <assemblyIdentity> (the package's name up to "~") and a <package> of
    // update `identifier` ("KB5031356") that holds <update> children.
    static std::string Manifest(const std::string& assemblyName, const std::string& identifier,
                                bool permanent, const std::string& releaseType = "Update",
                                int updates = 2);

    // A value of the running Windows' version (HKLM\SOFTWARE\Microsoft\Windows
    // NT\CurrentVersion), as Windows writes it: "CurrentBuildNumber" and
    // "InstallationType" as text, "UBR" as a number.
    static void SetRunningVersion(const wchar_t* name, const std::wstring& text);
    static void SetRunningVersion(const wchar_t* name, uint32_t number);

private:
    std::string m_windowsFolder;
};
