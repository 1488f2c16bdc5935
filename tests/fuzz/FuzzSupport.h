// Shared by the fuzz targets: a scratch executable folder, the shipped
// resources staged into it, input splitting and text decoding, and a check
// that stops the run (libFuzzer then keeps the input as a crash).
// Every target runs single-threaded on libFuzzer's thread, which is also the
// toolkit's UI thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "duilib/UIString.h"

// A broken invariant: prints what and where, then aborts.
#define FUZZ_CHECK(condition)                                                \
    do {                                                                     \
        if (!(condition)) FuzzSupport::Fail(#condition, __FILE__, __LINE__); \
    } while (0)

namespace FuzzSupport {

[[noreturn]] void Fail(const char* what, const char* file, int line);

// A fresh folder for this process (removed at exit), standing as the folder
// of the executable "OrvelleEx.exe": GetModuleFileNameW reports a file in it.
std::string ExecutableFolder();

// Copies the repository's res/ and config/ into the executable folder and
// points the toolkit at them (resource path, language folder, "en-US").
void StageShippedResources();

void WriteFile(const std::string& path, const std::string& bytes);

// Takes the bytes before the first `separator` (or all of them) off `input`.
std::string TakeField(std::string& input, char separator);

// Bytes as wide text: UTF-8, except that the byte 0x01 followed by three
// bytes gives that 24-bit value as one wchar_t (lone surrogates, zero,
// values past U+10FFFF), the odd texts a system may report.
std::wstring DecodeText(const std::string& bytes);

// "Y-M-D" with a four-digit year and a month and a day that exist, as a row
// shows a date (month-first dates keep their padding as written).
bool IsRealShownDate(const std::wstring& date);

// A text's "/" pieces with the last one first ("1/2/3/4" -> "4-1-2-3"), as a row
// shows a text no reading makes a real date; empty without a "/" or after a last "/".
std::wstring SlashRewrite(const std::wstring& text);

// Switches the narrow code page of the text conversions: "C" (ASCII) or "C.UTF-8".
void UseCodePage(bool utf8);

}  // namespace FuzzSupport
