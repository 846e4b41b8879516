// Every text the user sees, by key, from languages\<language>.txt beside the program.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "base/text.h"
#include "platform/filesystem.h"

namespace core {

// What a file looks like from outside: an edit changes its time or its size. A file that is
// not there has only its error code.
struct FileStamp {
    long error = -1;
    platform::FileTime time = 0;
    std::uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

// Reads of one file, kept while the file stays as it was: a scan asks for the same few keys
// for every item it looks at, and an edited language file still takes effect at once.
template <typename Entries>
class FileCache {
  public:
    Entries& For(const std::string& path);
    // After the program itself changed the file: what it knows is still right.
    void Restamp();

  private:
    std::string path_;
    FileStamp stamp_;
    Entries entries_;
};

class Language {
  public:
    // `name` is the file's base name: "eng", "deu", "fra".
    explicit Language(std::string name = "eng") : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }

    // The text of `key`; where the language's file lacks it (the key is then recorded in
    // languages\_missing.txt), the English built into the program, else `defaultText`. Every
    // "||" becomes a line break.
    std::string Text(const std::string& key, const std::string& defaultText) const;

    // For tests: `observer` sees every key asked for, before the lookup, so that a test
    // learns the keys the running program really uses. An empty function removes it.
    void SetObserver(std::function<void(const std::string& key)> observer) {
        observer_ = std::move(observer);
    }

  private:
    using TextsByKey = std::map<std::string, std::string, base::NoCaseLess>;

    std::string FileText(const std::string& key, const std::string& file) const;
    std::string BuiltInText(const std::string& key) const;
    void RecordMissing(const std::string& key, const std::string& missingFile) const;

    std::string name_;
    std::function<void(const std::string&)> observer_;
    mutable FileCache<std::map<std::string, std::string>> texts_;
    mutable FileCache<std::set<std::string>> recordedMissing_;
    mutable std::string builtInBytes_;
    mutable TextsByKey builtInTexts_;
};

}  // namespace core
