// The update number that may be handed to the elevated installer.
#pragma once

#include <string>

// The text after the first "KB" or "kb" of a hotfix identifier when it is
// non-empty and made of ASCII digits only; otherwise empty. Nothing else of an
// identifier may reach the installer's command line.
std::wstring ExtractKbNumber(const std::wstring& hotfixId);
