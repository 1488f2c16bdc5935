// Which language string file serves a language. A folder holds one UTF-8 XML
// file per language, "<language>.xml" (en-US.xml, zh-CN.xml), each with a
// <Strings> root. Used by DuiLib::UICulture and DE::LanguageResExist alike.
#pragma once

#include <string>

// The path of the usable file for `language` in `folder` (relative folders
// stay relative; "\" and "/" both separate): the exact "<language>.xml";
// else, for Chinese, the file in the reader's script ("zh-HK" finds
// "zh-TW.xml", "zh-SG" finds "zh-CN.xml"); else a file of the same base
// language (the part before "-", compared without regard to case, first by
// name: "de-AT" finds "de-DE.xml"); else "en-US.xml"; else empty. A file is
// usable when it parses and its root element is <Strings>.
std::wstring ResolveLanguageFile(const std::wstring& folder, const std::wstring& language);

// True when the file parses as XML and its root element is <Strings>.
bool IsUsableLanguageFile(const std::wstring& path);
