#include "core/translate.h"

#include <map>
#include <set>
#include <utility>

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/profile.h"

namespace {

// What a file looks like from outside: an edit changes its time or its size. A file that
// is not there has only its error code.
struct FileStamp {
    long error = -1;
    platform::FileTime time = 0;
    std::uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
    platform::FileAttributeData data;
    FileStamp stamp;
    stamp.error = platform::GetAttributeData(path, data);
    if (stamp.error == platform::kErrorSuccess) {
        stamp.time = data.ftLastWriteTime;
        stamp.size = data.nFileSize;
    }
    return stamp;
}

// Reads of one file, kept while the file stays as it was: a scan asks for the same few
// keys for every item it looks at, and an edited language file still takes effect at once.
template <typename Entries>
class FileCache {
  public:
    Entries& For(const std::string& path) {
        FileStamp stamp = StampOf(path);
        if (path != path_ || !(stamp == stamp_)) {
            path_ = path;
            stamp_ = stamp;
            entries_ = Entries();
        }
        return entries_;
    }
    // After the program itself changed the file: what it knows is still right.
    void Restamp() { stamp_ = StampOf(path_); }

  private:
    std::string path_;
    FileStamp stamp_;
    Entries entries_;
};

FileCache<std::map<std::string, std::string>> languageTexts;
FileCache<std::set<std::string>> recordedMissing;
std::function<void(const std::string&)> keyObserver;

std::string ReadText(const std::string& key, const std::string& languageFile) {
    auto& texts = languageTexts.For(languageFile);
    auto it = texts.find(key);
    if (it == texts.end())
        it = texts.emplace(key, ReadIniString("Lang", key, "", languageFile)).first;
    return it->second;
}

// Translators look here for what is missing; without the folder nothing is recorded.
void RecordMissing(const std::string& key, const std::string& missingFile) {
    const std::string section = "Lang_" + sLanguage;
    if (!recordedMissing.For(missingFile).insert(section + "\n" + key).second) return;
    platform::WriteProfileValue(section, key, "", missingFile);
    recordedMissing.Restamp();
}

}  // namespace

void SetTranslateObserver(std::function<void(const std::string& key)> observer) {
    keyObserver = std::move(observer);
}

std::string Translate(const std::string& key, const std::string& defaultText) {
    if (keyObserver) keyObserver(key);
    const std::string folder = platform::ApplicationFolder() + "\\languages\\";
    std::string text = ReadText(key, folder + sLanguage + ".txt");
    if (text.empty()) {
        text = defaultText;
        RecordMissing(key, folder + "_missing.txt");
    }
    std::string result;
    size_t start = 0;
    for (size_t bars; (bars = text.find("||", start)) != std::string::npos; start = bars + 2)
        result += text.substr(start, bars - start) + "\r\n";
    return result + text.substr(start);
}
