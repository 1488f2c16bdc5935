// A text composed from a language file's pattern ("Uninstall {0}"), so that
// translators put the inserted value where their language wants it.
#pragma once

#include <string>

#include "duilib/UIlib.h"
#include "support/TextUtil.h"

inline std::wstring ComposedText(const wchar_t* patternKey, const std::wstring& value) {
    const std::wstring pattern = DuiLib::UICulture::GetInstance()->GetString(patternKey).str();
    return FormatString(pattern, value, L"{0}");
}
