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
#include "platform/text.h"

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

using TextsByKey = std::map<std::string, std::string, platform::NoCaseLess>;

// The [Lang] texts of the built-in language file's bytes: UTF-16LE after its byte-order mark,
// else UTF-8 (the shipped eng.txt is ASCII); names and values lose their blanks and matching
// outer quotes as the profile functions take them, and the first key of a name counts.
TextsByKey ParseLanguageFile(std::string_view bytes) {
    std::string text;
    if (bytes.starts_with("\xFF\xFE")) {
        std::u16string units;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
        text = platform::Utf8FromUtf16(units);
    } else {
        text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    }
    TextsByKey texts;
    bool inLang = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string line = platform::Trim(std::string_view(text).substr(start, end - start),
                                                platform::kProfileBlanks);
        start = end + 1;
        if (line.starts_with('[')) {
            inLang = platform::EqualsNoCase(
                platform::Trim(line.substr(1, line.rfind(']') - 1), platform::kProfileBlanks),
                "Lang");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inLang || equals == std::string::npos) continue;
        std::string value = platform::Trim(line.substr(equals + 1), platform::kProfileBlanks);
        if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        texts.emplace(platform::Trim(line.substr(0, equals), platform::kProfileBlanks), value);
    }
    return texts;
}

// The English built into the program: what a damaged language file or one that lacks a key
// falls back to, so that no window is left without its words. Parsed again only when the
// built-in bytes are not the ones parsed last.
std::string BuiltInText(const std::string& key) {
    static std::string parsedBytes;
    static TextsByKey texts;
    if (std::string bytes = platform::BuiltInLanguageFile(); bytes != parsedBytes) {
        texts = ParseLanguageFile(bytes);
        parsedBytes = std::move(bytes);
    }
    const auto it = texts.find(key);
    return it == texts.end() ? std::string() : it->second;
}

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
        RecordMissing(key, folder + "_missing.txt");
        text = BuiltInText(key);
        if (text.empty()) text = defaultText;
    }
    std::string result;
    size_t start = 0;
    for (size_t bars; (bars = text.find("||", start)) != std::string::npos; start = bars + 2)
        result += text.substr(start, bars - start) + "\r\n";
    return result + text.substr(start);
}
