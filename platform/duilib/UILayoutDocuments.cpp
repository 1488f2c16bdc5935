#include "duilib/UILayoutDocuments.h"

#include <tinyxml2.h>

#include <filesystem>
#include <mutex>
#include <unordered_map>

#include "support/FileReader.h"
#include "support/TextConversion.h"

namespace fs = std::filesystem;

namespace DuiLib {
namespace LayoutDocuments {

namespace {

// A few layout files serve the program; more paths than this only come from
// tests and tools, and then the oldest state is simply dropped.
constexpr size_t kMaxKept = 32;

struct Stamp {
    std::uintmax_t size = 0;
    fs::file_time_type written;
    bool operator==(const Stamp& other) const {
        return size == other.size && written == other.written;
    }
};

struct Kept {
    Stamp stamp;
    std::shared_ptr<const tinyxml2::XMLDocument> document;
};

std::mutex g_mutex;
std::unordered_map<std::wstring, Kept> g_kept;

bool StampOf(const fs::path& path, Stamp& stamp) {
    std::error_code ec;
    stamp.size = fs::file_size(path, ec);
    if (ec) return false;
    stamp.written = fs::last_write_time(path, ec);
    return !ec;
}

}  // namespace

Loaded Load(const std::wstring& path) {
    Loaded loaded;
    const fs::path native = PathText::FromWide(path);
    Stamp stamp;
    if (!StampOf(native, stamp)) return loaded;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        auto it = g_kept.find(path);
        if (it != g_kept.end() && it->second.stamp == stamp) {
            loaded.status = Loaded::kParsed;
            loaded.document = it->second.document;
            return loaded;
        }
    }
    auto document = std::make_shared<tinyxml2::XMLDocument>();
    const FileReader::XmlRead read = FileReader::ReadXml(native, *document);
    if (read == FileReader::XmlRead::kUnreadable) return loaded;
    if (read != FileReader::XmlRead::kParsed || !document->RootElement()) {
        loaded.status = Loaded::kNotXml;
        loaded.error = Utf8::ToWide(document->ErrorStr() ? document->ErrorStr() : "");
        return loaded;
    }
    // The stamp read before the bytes: a file changed meanwhile is read again next time.
    loaded.status = Loaded::kParsed;
    loaded.document = document;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_kept.size() >= kMaxKept) g_kept.clear();
    g_kept[path] = Kept{stamp, document};
    return loaded;
}

}  // namespace LayoutDocuments
}  // namespace DuiLib
