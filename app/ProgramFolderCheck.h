// Whether the program's own files are safe to run from: this elevated process
// reads its layouts, language files and catalogue from beside itself, so
// whatever runs as the user must not be able to change them. Main thread.
#pragma once

#include <string>

// True when the user's own unelevated token may change the program's folder
// (`instancePath`, ending in a separator), its res\ or config\ folder, or the
// executable: start-up then shows the message and ends. False otherwise, also
// when there is no such token (logged once: no lower-rights self to guard
// against) or a check cannot be made (logged; the later start-up checks still
// find missing files).
bool UserMayChangeProgramFiles(const std::wstring& instancePath, const std::wstring& executable);

// The top-most message that the program's folder can be changed by other
// programs; returns when it is dismissed.
void ShowProgramFolderUnsafeTips();
