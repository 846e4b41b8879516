// The registry calls as the program relies on them, on either backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/registry.h"

using namespace platform;
using namespace std::string_literals;

namespace {

const RootKey kRoot = contract::kScratchRoot;

std::string Below(const std::string& path) {
    return std::string(contract::kScratchKey) + "\\" + path;
}

// Creates a key below the scratch key and hands it back open.
RegKey Create(const std::string& path) {
    RegKey key;
    EXPECT_EQ(CreateKey(kRoot, Below(path), kKeyAllAccess, key), kErrorSuccess) << path;
    return key;
}

std::vector<std::string> SubkeyNames(const RegKey& key) {
    std::vector<std::string> names;
    std::string name;
    long rc = kErrorSuccess;
    for (std::uint32_t i = 0; (rc = EnumKey(key, i, name, 256)) == kErrorSuccess; ++i)
        names.push_back(name);
    EXPECT_EQ(rc, kErrorNoMoreItems);
    return names;
}

class RegistryContract : public ::testing::Test {
  protected:
    void SetUp() override {
        contract::PrepareMachine();
        ASSERT_EQ(CreateKey(kRoot, contract::kScratchKey, kKeyAllAccess, key_), kErrorSuccess);
    }
    void TearDown() override {
        key_.reset();
        DeleteKeyTree(kRoot, contract::kScratchKey);
    }
    void Set(const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(SetValue(key_, name, type, bytes.data(), bytes.size()), kErrorSuccess) << name;
    }
    // "<type> <bytes>" read into a 1024-byte buffer, or the result code.
    std::string Query(const std::string& name) {
        std::string bytes(1024, '\0');
        std::uint32_t type = 0, size = 1024;
        const long rc = QueryValue(key_, name, &type, bytes.data(), &size);
        return rc ? std::to_string(rc) : std::to_string(type) + " " + bytes.substr(0, size);
    }

    RegKey key_;
};

TEST_F(RegistryContract, ValuesKeepTheirTypeAndExactBytesAndEnumerate) {
    const std::tuple<std::string, std::uint32_t, std::string> rows[] = {
        {"WithNul", kRegSz, "C:\\app.exe\0"s},
        {"WithoutNul", kRegSz, "C:\\app.exe"},
        {"Empty", kRegSz, "\0"s},
        {"Number", kRegDword, "\x2a\0\0\0"s},
        {"Multi", kRegMultiSz, "a\0b\0\0"s},
        {"Data", kRegBinary, "\xFF\0\x01"s},
        {"", kRegSz, "the default\0"s},
        {"\u03C9", kRegExpandSz, "%TEMP%\0"s}};
    std::vector<std::string> expected, enumerated;
    for (const auto& [name, type, bytes] : rows) {
        Set(name, type, bytes);
        expected.push_back(name + "|" + std::to_string(type) + "|" + bytes);
    }
    for (const auto& [name, type, bytes] : rows)  // names ignore case
        EXPECT_EQ(Query(base::UpperCase(name)), std::to_string(type) + " " + bytes) << name;
    std::string name;
    char data[64];
    for (std::uint32_t i = 0, type = 0, size = sizeof data;
         EnumValue(key_, i, name, 64, &type, data, &size) == kErrorSuccess; ++i, size = sizeof data)
        enumerated.push_back(name + "|" + std::to_string(type) + "|" + std::string(data, size));
    std::sort(expected.begin(), expected.end());
    std::sort(enumerated.begin(), enumerated.end());
    EXPECT_EQ(enumerated, expected);
    std::uint32_t size = 2;
    EXPECT_EQ(EnumValue(key_, 0, name, 64, nullptr, data, &size), kErrorMoreData);

    Set("Number", kRegSz, "text\0"s);
    EXPECT_EQ(Query("Number"), "1 text\0"s) << "a set replaces a value of another type";
    EXPECT_EQ(DeleteValue(key_, "NUMBER"), kErrorSuccess);
    EXPECT_EQ(DeleteValue(key_, "Number"), kErrorFileNotFound);
}

TEST_F(RegistryContract, QueriesReportSizesAndMissingValues) {
    Set("Big", kRegBinary, std::string(1500, 'x'));
    EXPECT_EQ(Query("Big"), "234") << "more data";
    std::uint32_t size = 0;
    EXPECT_EQ(QueryValue(key_, "Big", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 1500u);
    EXPECT_EQ(Query("Absent"), "2");
    EXPECT_EQ(Query(""), "2") << "no default value was set";
}

TEST_F(RegistryContract, SubkeysEnumerateInNameOrderIntoTheCallersBuffer) {
    // Only letters here: Windows orders '_' after the letters (upper case), Wine before.
    for (const char* name : {"beta", "Alpha", "gamma", "Delta"})
        Create(name);
    EXPECT_EQ(SubkeyNames(key_), (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));
    std::string name;
    EXPECT_EQ(EnumKey(key_, 0, name, 5), kErrorMoreData) << "five letters and the NUL";
    EXPECT_EQ(EnumKey(key_, 0, name, 6), kErrorSuccess);
}

TEST_F(RegistryContract, DeletingATreeLeavesEveryOpenHandleInItOnADeletedKey) {
    RegKey doomed = Create("Doomed"), below = Create("Doomed\\Below");
    ASSERT_EQ(SetValue(below, "Kept", kRegSz, "x", 2), kErrorSuccess);
    ASSERT_EQ(DeleteKeyTree(kRoot, Below("doomed")), kErrorSuccess);
    for (const RegKey* key : {&doomed, &below}) {
        SCOPED_TRACE(key == &doomed ? "the deleted key" : "a key below it");
        std::string name;
        char data[64];
        std::uint32_t size = sizeof data;
        RegKey same;
        EXPECT_EQ(SetValue(*key, "New", kRegSz, "y", 2), kErrorKeyDeleted);
        EXPECT_EQ(DeleteValue(*key, "Kept"), kErrorKeyDeleted);
        EXPECT_EQ(QueryValue(*key, "Kept", nullptr, nullptr, &size), kErrorKeyDeleted);
        EXPECT_EQ(EnumKey(*key, 0, name, 64), kErrorKeyDeleted);
        EXPECT_EQ(EnumValue(*key, 0, name, 64, nullptr, data, &size), kErrorKeyDeleted);
        EXPECT_EQ(OpenKey(*key, "", 0, kKeyRead, same), kErrorKeyDeleted);
    }
    EXPECT_TRUE(SubkeyNames(key_).empty()) << "the old handles recreated nothing";
}

TEST_F(RegistryContract, PathsSplitOnBackslashesOnlyAndNeverStartWithOne) {
    Create("text/html");
    Create("A\\B");
    const std::pair<const char*, long> opens[] = {
        {"TEXT/HTML", kErrorSuccess},  // a slash is part of a name, and case does not count
        {"text", kErrorFileNotFound},
        {"A/B", kErrorFileNotFound},
        {"a\\\\b\\", kErrorSuccess},  // doubled and trailing backslashes are one
        {"\\A", kErrorBadPathname}};
    for (const auto& [path, code] : opens) {
        RegKey opened;
        EXPECT_EQ(OpenKey(key_, path, 0, kKeyRead, opened), code) << path;
        EXPECT_EQ(opened.is_valid(), code == kErrorSuccess) << path;
    }
    RegKey opened;
    const std::string rooted = std::string(1, '\\') + contract::kScratchKey;
    EXPECT_EQ(OpenKey(kRoot, rooted + "\\A", 0, kKeyRead, opened), kErrorBadPathname);
    EXPECT_EQ(CreateKey(kRoot, rooted + "\\C", kKeyAllAccess, opened), kErrorBadPathname);
    EXPECT_EQ(DeleteKeyTree(kRoot, rooted + "\\A"), kErrorBadPathname);
    EXPECT_EQ(DeleteKeyTree(kRoot, ""), kErrorInvalidParameter) << "never the root itself";
    EXPECT_EQ(DeleteKeyTree(kRoot, "\\"), kErrorBadPathname);
    EXPECT_EQ(SubkeyNames(key_), (std::vector<std::string>{"A", "text/html"}));
}

// A look-alike ("Omega" for "Ωmega") or "???" is another name; case does not count in any
// alphabet.
TEST_F(RegistryContract, UnicodeNamesAreTheirOwnAndMatchWithoutRegardToCase) {
    RegKey omega = Create("Ωmega");
    for (const char* name : {"Omega", "日本語", "???", "Ärger", "ärger", "ωMEGA"})
        Create(name);
    EXPECT_EQ(SubkeyNames(key_),
              (std::vector<std::string>{"???", "Omega", "Ärger", "Ωmega", "日本語"}));
    std::string name;
    ASSERT_EQ(SetValue(omega, "Ωmega", kRegSz, "Öl", 4), kErrorSuccess);
    EXPECT_EQ(EnumValue(omega, 0, name, 5, nullptr, nullptr, nullptr), kErrorMoreData)
        << "five UTF-16 units and the NUL do not fit five";
    EXPECT_EQ(EnumValue(omega, 0, name, 6, nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_EQ(name, "Ωmega");
    ASSERT_EQ(SetValue(omega, "Omega", kRegSz, "x", 2), kErrorSuccess);
    char data[8] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(QueryValue(omega, "ωMEGA", nullptr, data, &size), kErrorSuccess);
    EXPECT_EQ(std::string(data, size), "Öl\0"s) << "UTF-8 data, NUL kept";
    EXPECT_EQ(DeleteValue(omega, "ωmega"), kErrorSuccess);
    EXPECT_EQ(QueryValue(omega, "Omega", nullptr, nullptr, &size), kErrorSuccess)
        << "the look-alike stays";
}

}  // namespace
