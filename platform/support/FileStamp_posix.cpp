#include <sys/stat.h>

#include "support/FileStamp.h"

bool ReadFileStamp(const std::filesystem::path& path, FileStamp& stamp) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.written =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}
