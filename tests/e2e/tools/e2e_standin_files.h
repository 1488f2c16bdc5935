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

}  // namespace e2e_files
