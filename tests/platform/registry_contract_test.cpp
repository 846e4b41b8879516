// The registry operations as the system relies on them, on either backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/registry.h"

using namespace platform;

namespace {

class RegistryContract : public ::testing::Test {
  protected:
    void SetUp() override {
        contract::PrepareMachine();
        ASSERT_EQ(CreateKey(contract::kScratchRoot, contract::kScratchKey, kKeyAllAccess, key_),
                  kErrorSuccess);
    }
    void TearDown() override {
        key_.Reset();
        DeleteKeyTree(contract::kScratchRoot, contract::kScratchKey);
    }
    void Set(const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(SetValue(key_, name, type, bytes.data(), bytes.size()), kErrorSuccess);
    }
    // The stored bytes as a 1024-byte read sees them.
    long Query(const std::string& name, std::string& bytes, std::uint32_t* type = nullptr) {
        char buffer[1024];
        std::uint32_t size = sizeof buffer;
        const long rc = QueryValue(key_, name, type, buffer, &size);
        bytes.assign(buffer, rc == kErrorSuccess ? size : 0);
        return rc;
    }
    // Creates a key below the scratch key; the handle is dropped unless asked for.
    void CreateBelow(const std::string& path, RegKey* opened = nullptr) {
        RegKey sub;
        ASSERT_EQ(CreateKey(contract::kScratchRoot, Below(path), kKeyAllAccess, sub), kErrorSuccess)
            << path;
        if (opened) *opened = std::move(sub);
    }
    static std::string Below(const std::string& path) {
        return std::string(contract::kScratchKey) + "\\" + path;
    }
    std::vector<std::string> SubkeyNames() { return SubkeyNames(key_); }
    static std::vector<std::string> SubkeyNames(const RegKey& key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0;; ++i) {
            const long rc = EnumKey(key, i, name, 256);
            if (rc == kErrorNoMoreItems) break;
            EXPECT_EQ(rc, kErrorSuccess);
            names.push_back(name);
        }
        return names;
    }

    RegKey key_;
};

TEST_F(RegistryContract, StringsKeepTheBytesTheyWereStoredWith) {
    Set("WithNul", kRegSz, std::string("C:\\app.exe") + '\0');
    Set("WithoutNul", kRegSz, "C:\\app.exe");
    Set("Empty", kRegSz, std::string(1, '\0'));
    std::string bytes;
    std::uint32_t type = 0;
    ASSERT_EQ(Query("WithNul", bytes, &type), kErrorSuccess);
    EXPECT_EQ(bytes, std::string("C:\\app.exe") + '\0');
    EXPECT_EQ(type, kRegSz);
    ASSERT_EQ(Query("withoutnul", bytes), kErrorSuccess) << "value names ignore case";
    EXPECT_EQ(bytes, "C:\\app.exe") << "stored without its NUL, handed back so";
    ASSERT_EQ(Query("Empty", bytes), kErrorSuccess);
    EXPECT_EQ(bytes, std::string(1, '\0'));
}

TEST_F(RegistryContract, ValuesOfEveryTypeAndTheDefaultValue) {
    const std::string dword("\x2a\0\0\0", 4);
    Set("Number", kRegDword, dword);
    Set("Multi", kRegMultiSz, std::string("a\0b\0\0", 5));
    Set("", kRegSz, std::string("default") + '\0');
    std::string bytes;
    std::uint32_t type = 0;
    ASSERT_EQ(Query("Number", bytes, &type), kErrorSuccess);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(bytes, dword);
    ASSERT_EQ(Query("Multi", bytes, &type), kErrorSuccess);
    EXPECT_EQ(type, kRegMultiSz);
    EXPECT_EQ(bytes, std::string("a\0b\0\0", 5));
    ASSERT_EQ(Query("", bytes), kErrorSuccess);
    EXPECT_EQ(bytes, std::string("default") + '\0');

    Set("Number", kRegSz, std::string("text") + '\0');
    ASSERT_EQ(Query("Number", bytes, &type), kErrorSuccess);
    EXPECT_EQ(type, kRegSz) << "a set replaces a value of another type";
}

TEST_F(RegistryContract, QueriesReportSizesAndMissingValues) {
    const std::string big(1500, 'x');
    Set("Big", kRegBinary, big);
    std::string bytes;
    EXPECT_EQ(Query("Big", bytes), kErrorMoreData);
    std::uint32_t size = 0;
    EXPECT_EQ(QueryValue(key_, "Big", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 1500u);
    EXPECT_EQ(Query("Absent", bytes), kErrorFileNotFound);
    EXPECT_EQ(Query("", bytes), kErrorFileNotFound) << "no default value was set";
}

TEST_F(RegistryContract, OpenAndDeleteFollowTheResultCodes) {
    RegKey missing;
    EXPECT_EQ(OpenKey(contract::kScratchRoot, Below("No"), 0, kKeyAllAccess, missing),
              kErrorFileNotFound);
    EXPECT_FALSE(missing.IsOpen());

    Set("Gone", kRegSz, std::string("x") + '\0');
    EXPECT_EQ(DeleteValue(key_, "GONE"), kErrorSuccess);
    EXPECT_EQ(DeleteValue(key_, "Gone"), kErrorFileNotFound);

    CreateBelow("A\\B");
    RegKey again;
    EXPECT_EQ(OpenKey(key_, "a\\b", 0, kKeyAllAccess, again), kErrorSuccess)
        << "key names ignore case";
    EXPECT_EQ(DeleteKeyTree(contract::kScratchRoot, Below("A")), kErrorSuccess);
    EXPECT_TRUE(SubkeyNames().empty());
}

TEST_F(RegistryContract, SubkeysEnumerateInNameOrderWithoutRegardToCase) {
    // Only letters here: Windows orders '_' after the letters (upper case), Wine before.
    for (const char* name : {"beta", "Alpha", "gamma", "Delta"})
        CreateBelow(name);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));

    std::string name;
    EXPECT_EQ(EnumKey(key_, 0, name, 5), kErrorMoreData)
        << "a name that does not fit the caller's buffer";
    EXPECT_EQ(EnumKey(key_, 0, name, 6), kErrorSuccess);
}

TEST_F(RegistryContract, ValuesEnumerateWithNamesTypesAndData) {
    Set("First", kRegSz, std::string("one") + '\0');
    Set("Second", kRegExpandSz, std::string("%TEMP%") + '\0');
    std::vector<std::string> seen;
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        char data[64];
        std::uint32_t dataSize = sizeof data, type = 0;
        const long rc = EnumValue(key_, i, name, 64, &type, data, &dataSize);
        if (rc == kErrorNoMoreItems) break;
        ASSERT_EQ(rc, kErrorSuccess);
        seen.push_back(name + "|" + std::to_string(type) + "|" + std::string(data, dataSize));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{std::string("First|1|one") + '\0',
                                              std::string("Second|2|%TEMP%") + '\0'}));

    std::string name;
    char data[2];
    std::uint32_t dataSize = sizeof data;
    EXPECT_EQ(EnumValue(key_, 0, name, 64, nullptr, data, &dataSize), kErrorMoreData)
        << "data that does not fit the caller's buffer";
}

TEST_F(RegistryContract, DeletingATreeLeavesEveryOpenHandleInItOnADeletedKey) {
    RegKey doomed, below;
    CreateBelow("Doomed", &doomed);
    CreateBelow("Doomed\\Below", &below);
    ASSERT_EQ(SetValue(below, "Kept", kRegSz, "x", 2), kErrorSuccess);
    ASSERT_EQ(DeleteKeyTree(contract::kScratchRoot, Below("Doomed")), kErrorSuccess);

    for (const RegKey* key : {&doomed, &below}) {
        SCOPED_TRACE(key == &doomed ? "the deleted key" : "a key below it");
        EXPECT_EQ(SetValue(*key, "New", kRegSz, "y", 2), kErrorKeyDeleted);
        EXPECT_EQ(DeleteValue(*key, "Kept"), kErrorKeyDeleted);
        std::uint32_t size = 0;
        EXPECT_EQ(QueryValue(*key, "Kept", nullptr, nullptr, &size), kErrorKeyDeleted);
        std::string name;
        char data[64];
        std::uint32_t dataSize = sizeof data;
        EXPECT_EQ(EnumKey(*key, 0, name, 64), kErrorKeyDeleted);
        EXPECT_EQ(EnumValue(*key, 0, name, 64, nullptr, data, &dataSize), kErrorKeyDeleted);
        RegKey same;
        EXPECT_EQ(OpenKey(*key, "", 0, kKeyRead, same), kErrorKeyDeleted);
    }
    RegKey reopened;
    EXPECT_EQ(OpenKey(contract::kScratchRoot, Below("Doomed\\Below"), 0, kKeyRead, reopened),
              kErrorFileNotFound)
        << "writes through the old handles recreated nothing";
    EXPECT_TRUE(SubkeyNames().empty());
}

TEST_F(RegistryContract, TreeDeletionNeverReachesARoot) {
    EXPECT_EQ(DeleteKeyTree(contract::kScratchRoot, ""), kErrorInvalidParameter);
    EXPECT_EQ(DeleteKeyTree(contract::kScratchRoot, "\\"), kErrorBadPathname);
    RegKey scratch;
    EXPECT_EQ(OpenKey(contract::kScratchRoot, contract::kScratchKey, 0, kKeyRead, scratch),
              kErrorSuccess)
        << "the root keeps its keys";
}

TEST_F(RegistryContract, PathsSplitOnBackslashesOnly) {
    CreateBelow("text/html");
    CreateBelow("A\\B");
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"A", "text/html"}))
        << "a slash is part of a key name";
    RegKey opened;
    EXPECT_EQ(OpenKey(key_, "TEXT/HTML", 0, kKeyRead, opened), kErrorSuccess);
    EXPECT_EQ(OpenKey(key_, "text", 0, kKeyRead, opened), kErrorFileNotFound);
    EXPECT_EQ(OpenKey(key_, "A/B", 0, kKeyRead, opened), kErrorFileNotFound);
    EXPECT_EQ(OpenKey(key_, "A\\\\B\\", 0, kKeyRead, opened), kErrorSuccess)
        << "doubled and trailing backslashes are taken as one";

    EXPECT_EQ(OpenKey(key_, "\\A", 0, kKeyRead, opened), kErrorBadPathname);
    EXPECT_FALSE(opened.IsOpen());
    EXPECT_EQ(OpenKey(contract::kScratchRoot, "\\" + Below("A"), 0, kKeyRead, opened),
              kErrorBadPathname);
    EXPECT_EQ(CreateKey(contract::kScratchRoot, "\\" + Below("C"), kKeyAllAccess, opened),
              kErrorBadPathname);
    EXPECT_EQ(DeleteKeyTree(contract::kScratchRoot, "\\" + Below("A")), kErrorBadPathname);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"A", "text/html"}));
}

// Names outside any code page: a look-alike ("Omega" for "Ωmega") or "???" is another
// entry, and a match without regard to case covers every alphabet.
TEST_F(RegistryContract, UnicodeNamesAreTheirOwnAndMatchWithoutRegardToCase) {
    RegKey omega, umlaut;
    CreateBelow("Ωmega", &omega);
    CreateBelow("Omega");
    CreateBelow("日本語");
    CreateBelow("???");
    CreateBelow("Ärger", &umlaut);
    RegKey opened;
    EXPECT_EQ(OpenKey(key_, "ωMEGA", 0, kKeyRead, opened), kErrorSuccess);
    EXPECT_EQ(OpenKey(key_, "äRGER", 0, kKeyRead, opened), kErrorSuccess);
    CreateBelow("ärger");
    const auto names = SubkeyNames();
    for (const char* name : {"Ωmega", "Omega", "日本語", "???", "Ärger"})
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    EXPECT_EQ(names.size(), 5u) << "the second create opened the first key";
    std::string name;
    EXPECT_EQ(EnumKey(omega, 0, name, 6), kErrorNoMoreItems);
    ASSERT_EQ(SetValue(omega, "\u03A9mega", kRegSz, "", 1), kErrorSuccess);
    EXPECT_EQ(EnumValue(omega, 0, name, 5, nullptr, nullptr, nullptr), kErrorMoreData)
        << "five UTF-16 characters and the NUL do not fit five";
    EXPECT_EQ(EnumValue(omega, 0, name, 6, nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_EQ(name, "\u03A9mega");

    ASSERT_EQ(SetValue(omega, "Ωmega", kRegSz, "Öl", 4), kErrorSuccess);
    ASSERT_EQ(SetValue(omega, "Omega", kRegSz, "x", 2), kErrorSuccess);
    char data[8] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(QueryValue(omega, "ωMEGA", nullptr, data, &size), kErrorSuccess);
    EXPECT_EQ(std::string(data, size), std::string("Öl") + '\0') << "UTF-8 data, NUL kept";
    EXPECT_EQ(DeleteValue(omega, "ωmega"), kErrorSuccess);
    size = sizeof data;
    EXPECT_EQ(QueryValue(omega, "Omega", nullptr, data, &size), kErrorSuccess)
        << "the look-alike stays";
}

TEST(ErrorTexts, RegistryResultsHaveTheirOwnDescriptions) {
    const std::vector<long> codes = {kErrorFileNotFound, kErrorAccessDenied, kErrorInvalidParameter,
                                     kErrorBadPathname,  kErrorMoreData,     kErrorNoMoreItems,
                                     kErrorKeyDeleted};
    for (size_t i = 0; i < codes.size(); ++i) {
        SCOPED_TRACE(codes[i]);
        EXPECT_FALSE(ErrorDescription(codes[i]).empty());
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(ErrorDescription(codes[i]), ErrorDescription(codes[j])) << codes[j];
    }
}

}  // namespace
