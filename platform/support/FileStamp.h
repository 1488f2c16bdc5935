// The size and last write time of a regular file, read in one query of the file
// system: whether a parse kept from the file still holds (the layout files, the
// description catalogue). Under Wine a query costs a few microseconds where
// opening and reading the file costs hundreds. One file per platform.
#pragma once

#include <cstdint>
#include <filesystem>

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t written = 0;  // in the system's own units
    bool operator==(const FileStamp& other) const {
        return size == other.size && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// False when there is no regular file at the path (missing, a folder, unreadable).
bool ReadFileStamp(const std::filesystem::path& path, FileStamp& stamp);
