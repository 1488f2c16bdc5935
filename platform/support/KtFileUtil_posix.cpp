// KtFileUtil on other systems: executables carry no version resource here,
// so the version is empty.
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"

namespace DE {

std::wstring GetFileVersion(const std::wstring& file) {
    KT_LOG(LOG_ERROR, L"no version resources on this system, file:" << file, "DE::GetFileVersion");
    return {};
}

}  // namespace DE
