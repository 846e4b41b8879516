#include "core/language.h"

#include <utility>

#include "core/settings.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/profile.h"

namespace core {
namespace {

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

using TextsByKey = std::map<std::string, std::string, base::NoCaseLess>;

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
        text = base::Utf8FromUtf16(units);
    } else {
        text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    }
    TextsByKey texts;
    bool inLang = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string line =
            base::Trim(std::string_view(text).substr(start, end - start), platform::kProfileBlanks);
        start = end + 1;
        if (line.starts_with('[')) {
            inLang = base::EqualsNoCase(
                base::Trim(line.substr(1, line.rfind(']') - 1), platform::kProfileBlanks), "Lang");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inLang || equals == std::string::npos) continue;
        std::string value = base::Trim(line.substr(equals + 1), platform::kProfileBlanks);
        if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        texts.emplace(base::Trim(line.substr(0, equals), platform::kProfileBlanks), value);
    }
    return texts;
}

}  // namespace

template <typename Entries>
Entries& FileCache<Entries>::For(const std::string& path) {
    FileStamp stamp = StampOf(path);
    if (path != path_ || !(stamp == stamp_)) {
        path_ = path;
        stamp_ = stamp;
        entries_ = Entries();
    }
    return entries_;
}

template <typename Entries>
void FileCache<Entries>::Restamp() {
    stamp_ = StampOf(path_);
}

// The English built into the program: what a damaged language file or one that lacks a key
// falls back to, so that no window is left without its words. Parsed again only when the
// built-in bytes are not the ones parsed last.
std::string Language::BuiltInText(const std::string& key) const {
    if (std::string bytes = platform::BuiltInLanguageFile(); bytes != builtInBytes_) {
        builtInTexts_ = ParseLanguageFile(bytes);
        builtInBytes_ = std::move(bytes);
    }
    const auto it = builtInTexts_.find(key);
    return it == builtInTexts_.end() ? std::string() : it->second;
}

std::string Language::FileText(const std::string& key, const std::string& file) const {
    auto& texts = texts_.For(file);
    auto it = texts.find(key);
    if (it == texts.end()) it = texts.emplace(key, ReadIniString("Lang", key, "", file)).first;
    return it->second;
}

// Translators look here for what is missing; without the folder nothing is recorded.
void Language::RecordMissing(const std::string& key, const std::string& missingFile) const {
    const std::string section = "Lang_" + name_;
    if (!recordedMissing_.For(missingFile).insert(section + "\n" + key).second) return;
    platform::WriteProfileValue(section, key, "", missingFile);
    recordedMissing_.Restamp();
}

std::string Language::Text(const std::string& key, const std::string& defaultText) const {
    if (observer_) observer_(key);
    const std::string folder = platform::ApplicationFolder() + "\\languages\\";
    std::string text = FileText(key, folder + name_ + ".txt");
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

}  // namespace core
