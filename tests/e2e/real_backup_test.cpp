// The registry backup on a real (Wine) machine: the real REG tool exports each registry
// record's key with the command line the backup builds (quoted keys with blanks, the short
// form of a program folder with a blank, /y), and importing the files brings back exactly
// the values there were, also of a key named beyond the ANSI code page. Run by
// real_backup_test.sh from "C:\Purgelint Backup Test".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/item.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/registry.h"
#include "platform/run_to_end.h"
#include "repair/backup.h"

namespace {

using platform::kHkeyCurrentUser;

const std::string kTestKey = "Software\\PurgelintBackupTest";
const std::string kAppPath = kTestKey + "\\App Paths\\tool.exe";
const std::string kFonts = kTestKey + "\\Windows NT\\CurrentVersion\\Fonts";
// A key whose name the ANSI code page cannot hold, and its twin named as that code page would
// name it: the export is of the first only.
const std::string kUnicode = kTestKey + "\\Ωmega Tools 日本語";
const std::string kTwin = kTestKey + "\\Omega Tools ???";

struct StoredValue {
    std::string key, name;
    std::uint32_t type;
    std::string data;
};
const std::vector<StoredValue> kValues = {
    {kAppPath, "", platform::kRegSz, std::string("C:\\Tools\\tool.exe", 18)},
    {kAppPath, "Path", platform::kRegSz, std::string("C:\\Program Files\\Tools", 23)},
    {kAppPath, "Runs", platform::kRegDword, std::string("\x07\x00\x00\x00", 4)},
    {kFonts, "Gone (TrueType)", platform::kRegSz, std::string("gone.ttf", 9)},
    {kUnicode, "ツール", platform::kRegSz, std::string("C:\\Gone\\Ωmega.exe") + '\0'},
};
const StoredValue kTwinValue = {kTwin, "???", platform::kRegSz, std::string("C:\\Present.exe", 15)};

void Write(const StoredValue& value) {
    platform::RegKey key;
    ASSERT_EQ(platform::CreateKey(kHkeyCurrentUser, value.key, platform::kKeyAllAccess, key),
              platform::kErrorSuccess);
    ASSERT_EQ(platform::SetValue(key, value.name, value.type, value.data.data(),
                                 static_cast<std::uint32_t>(value.data.size())),
              platform::kErrorSuccess);
}

// "type:bytes" of a value, or "<absent>".
std::string Read(const StoredValue& value) {
    platform::RegKey key;
    if (platform::OpenKey(kHkeyCurrentUser, value.key, 0, platform::kKeyRead, key) !=
        platform::kErrorSuccess)
        return "<absent>";
    char data[256];
    std::uint32_t type = 0, size = sizeof data;
    if (platform::QueryValue(key, value.name, &type, data, &size) != platform::kErrorSuccess)
        return "<absent>";
    return std::to_string(type) + ":" + std::string(data, size);
}

void AddRecord(long type, const std::string& key) {
    auto item = std::make_shared<clsItem>();
    item->pType(type);
    item->pCureKeyRoot = kHkeyCurrentUser;
    item->pCureKeyName = key;
    item->pName(key);
    AddItem(item);
}

std::string BackupFolder() {
    return platform::ApplicationFolder() + "\\backup";
}

// The names of the files in the backup folder, sorted.
std::vector<std::string> BackupFiles() {
    std::vector<std::string> names;
    platform::FindData found;
    platform::FindHandle listing;
    for (long rc = platform::FindFirst(BackupFolder() + "\\*.reg", found, listing);
         rc == platform::kErrorSuccess; rc = platform::FindNext(listing, found))
        names.push_back(found.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RealBackup, EachRegistryRecordsKeyIsExportedAndReimportsToTheSameValues) {
    ASSERT_NE(platform::ApplicationFolder().find(' '), std::string::npos)
        << "run from a folder with a blank (real_backup_test.sh)";
    platform::DeleteKeyTree(kHkeyCurrentUser, kTestKey);
    for (const auto& value : kValues)
        Write(value);
    Write(kTwinValue);
    AddRecord(kTypeRegistry, kAppPath);
    AddRecord(kTypeShortcut, "C:\\Users\\Public\\Desktop\\Gone.lnk");
    AddRecord(kTypeRegistry, kFonts);
    AddRecord(kTypeRegistry, kUnicode);

    ASSERT_TRUE(Backupregistry());
    const auto files = BackupFiles();
    ASSERT_EQ(files.size(), 3u);
    ASSERT_EQ(files[0].size(), std::string("yymmdd-hhnnss-1.reg").size()) << files[0];
    EXPECT_EQ(files[0].substr(0, 14) + "2.reg", files[1]) << "one stamp, counters 1 to 3";
    EXPECT_EQ(files[0].substr(0, 14) + "3.reg", files[2]);
    EXPECT_EQ(platform::GetAttributes(platform::ApplicationFolder() + "\\log.txt"),
              platform::kInvalidFileAttributes)
        << "no error logged";

    platform::DeleteKeyTree(kHkeyCurrentUser, kTestKey);
    ASSERT_EQ(Read(kValues.back()), "<absent>");
    ASSERT_EQ(Read(kTwinValue), "<absent>");
    for (const auto& file : files)
        EXPECT_EQ(RunToEnd("reg import \"" + BackupFolder() + "\\" + file + "\""), "exit 0")
            << file;
    for (const auto& value : kValues)
        EXPECT_EQ(Read(value), std::to_string(value.type) + ":" + value.data)
            << value.key << " " << value.name;
    EXPECT_EQ(Read(kTwinValue), "<absent>") << "the twin was not exported";
    platform::DeleteKeyTree(kHkeyCurrentUser, kTestKey);
}

}  // namespace
