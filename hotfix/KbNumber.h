// The update number of a hotfix identifier: the one handed to the elevated
// installer, and the one looked up in the servicing store.
#pragma once

#include <string>

// The text after the first "KB" or "kb" of a hotfix identifier when it is
// non-empty and made of ASCII digits only; otherwise empty. Nothing else of an
// identifier may reach the installer's command line.
std::wstring ExtractKbNumber(const std::wstring& hotfixId);
