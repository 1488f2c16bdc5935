// What the stand-in DLLs (WMI, Windows Update) share to read the files in
// C:\e2e\ through which a scenario steers them, and to write down their calls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e_files {

bool Exists(const wchar_t* path);
// The file's bytes; false when it cannot be opened.
bool ReadBytes(const wchar_t* path, std::string& bytes);
// UTF-16LE with its byte order mark, else UTF-8 (with or without one).
std::wstring Decode(const std::string& bytes);
// The file's lines, decoded, without line ends or blank lines; none when it cannot be read.
std::vector<std::wstring> Lines(const wchar_t* path);
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);
// Creates an empty file (a scenario's marker).
void Touch(const wchar_t* path);
// Appends one UTF-8 line; lines from several threads never interleave.
void Append(const wchar_t* path, const std::wstring& line);
// "0x8007000E".
std::wstring Hex(HRESULT hr);

// The files through which a scenario steers one stand-in: C:\e2e\<name>-<what>.
struct SteeringFiles {
    explicit SteeringFiles(const wchar_t* name);
    std::wstring Named(const wchar_t* what) const;

    const std::wstring name;
    const std::wstring fail = Named(L"fail.txt");
    const std::wstring hold = Named(L"hold");
    const std::wstring held = Named(L"held");
    const std::wstring release = Named(L"release");
    const std::wstring calls = Named(L"calls.txt");
};

// Marks the stand-in held (the held file, then `heldLine` in its calls) and
// waits for the scenario's release, at most `ms`, and while `stop` (when
// given) is not signalled; clears the held and release files. True when released.
bool WaitForRelease(const SteeringFiles& files, const std::wstring& heldLine, DWORD ms,
                    HANDLE stop);

}  // namespace e2e_files
