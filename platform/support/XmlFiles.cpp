#include "support/XmlFiles.h"

#include <tinyxml2.h>

#include <mutex>
#include <unordered_map>

#include "support/FileReader.h"
#include "support/FileStamp.h"
#include "winapi/TextConversion.h"

namespace XmlFiles {

namespace {

// A few files serve the program; more paths than this only come from tests
// and tools, and then the oldest state is simply dropped.
constexpr size_t kMaxKept = 32;

struct Kept {
    FileStamp stamp;
    std::shared_ptr<const tinyxml2::XMLDocument> document;
};

std::mutex g_mutex;
std::unordered_map<std::wstring, Kept> g_kept;

}  // namespace

Loaded Load(const std::wstring& path) {
    Loaded loaded;
    const std::filesystem::path native = Strconv::WideToPath(path);
    FileStamp stamp;
    if (!ReadFileStamp(native, stamp)) return loaded;
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
    if (read == FileReader::XmlRead::kUnreadable) {
        loaded.status = Loaded::kUnreadable;
        return loaded;
    }
    if (read != FileReader::XmlRead::kParsed) {
        loaded.status = Loaded::kNotXml;
        loaded.error = Strconv::Utf8ToWide(document->ErrorStr() ? document->ErrorStr() : "");
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

}  // namespace XmlFiles
