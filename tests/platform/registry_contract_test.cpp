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
        ASSERT_EQ(
            RegCreateKeyExA(contract::kScratchRoot, contract::kScratchKey, kKeyAllAccess, key_),
            kErrorSuccess);
    }
    void TearDown() override {
        key_.Reset();
        RegDeleteTreeA(contract::kScratchRoot, contract::kScratchKey);
    }
    void Set(const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key_, name, type, bytes.data(), bytes.size()), kErrorSuccess);
    }
    // The stored bytes as a 1024-byte read sees them.
    long Query(const std::string& name, std::string& bytes, std::uint32_t* type = nullptr) {
        char buffer[1024];
        std::uint32_t size = sizeof buffer;
        const long rc = RegQueryValueExA(key_, name, type, buffer, &size);
        bytes.assign(buffer, rc == kErrorSuccess ? size : 0);
        return rc;
    }
    // Creates a key below the scratch key; the handle is dropped unless asked for.
    void CreateBelow(const std::string& path, RegKey* opened = nullptr) {
        RegKey sub;
        ASSERT_EQ(RegCreateKeyExA(contract::kScratchRoot, Below(path), kKeyAllAccess, sub),
                  kErrorSuccess)
            << path;
        if (opened) *opened = std::move(sub);
    }
    static std::string Below(const std::string& path) {
        return std::string(contract::kScratchKey) + "\\" + path;
    }
    std::vector<std::string> SubkeyNames() { return SubkeyNames(key_); }
    static std::vector<std::string> SubkeyNames(const RegKey& key) {
        std::vector<std::string> names;
        char name[256];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t size = sizeof name;
            const long rc = RegEnumKeyExA(key, i, name, &size);
            if (rc == kErrorNoMoreItems) break;
            EXPECT_EQ(rc, kErrorSuccess);
            names.emplace_back(name, size);
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
    // Windows hands such a string back as stored; Wine's ANSI read appends the NUL.
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    EXPECT_EQ(bytes, "C:\\app.exe") << "the last character is kept";
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
    EXPECT_EQ(RegQueryValueExA(key_, "Big", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 1500u);
    EXPECT_EQ(Query("Absent", bytes), kErrorFileNotFound);
    EXPECT_EQ(Query("", bytes), kErrorFileNotFound) << "no default value was set";
}

TEST_F(RegistryContract, OpenAndDeleteFollowTheResultCodes) {
    RegKey missing;
    EXPECT_EQ(RegOpenKeyExA(contract::kScratchRoot, Below("No"), 0, kKeyAllAccess, missing),
              kErrorFileNotFound);
    EXPECT_FALSE(missing.IsOpen());

    Set("Gone", kRegSz, std::string("x") + '\0');
    EXPECT_EQ(RegDeleteValueA(key_, "GONE"), kErrorSuccess);
    EXPECT_EQ(RegDeleteValueA(key_, "Gone"), kErrorFileNotFound);

    CreateBelow("A\\B");
    RegKey again;
    EXPECT_EQ(RegOpenKeyExA(key_, "a\\b", 0, kKeyAllAccess, again), kErrorSuccess)
        << "key names ignore case";
    EXPECT_EQ(RegDeleteTreeA(contract::kScratchRoot, Below("A")), kErrorSuccess);
    EXPECT_TRUE(SubkeyNames().empty());
}

TEST_F(RegistryContract, SubkeysEnumerateInNameOrderWithoutRegardToCase) {
    // Only letters here: Windows orders '_' after the letters (upper case), Wine before.
    for (const char* name : {"beta", "Alpha", "gamma", "Delta"})
        CreateBelow(name);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));

    char name[4];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key_, 0, name, &size), kErrorMoreData)
        << "a name that does not fit the caller's buffer";
}

TEST_F(RegistryContract, ValuesEnumerateWithNamesTypesAndData) {
    Set("First", kRegSz, std::string("one") + '\0');
    Set("Second", kRegExpandSz, std::string("%TEMP%") + '\0');
    std::vector<std::string> seen;
    for (std::uint32_t i = 0;; ++i) {
        char name[64];
        char data[64];
        std::uint32_t nameSize = sizeof name, dataSize = sizeof data, type = 0;
        const long rc = RegEnumValueA(key_, i, name, &nameSize, &type, data, &dataSize);
        if (rc == kErrorNoMoreItems) break;
        ASSERT_EQ(rc, kErrorSuccess);
        seen.push_back(std::string(name, nameSize) + "|" + std::to_string(type) + "|" +
                       std::string(data, dataSize));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{std::string("First|1|one") + '\0',
                                              std::string("Second|2|%TEMP%") + '\0'}));

    char name[64];
    char data[2];
    std::uint32_t nameSize = sizeof name, dataSize = sizeof data;
    EXPECT_EQ(RegEnumValueA(key_, 0, name, &nameSize, nullptr, data, &dataSize), kErrorMoreData)
        << "data that does not fit the caller's buffer";
}

TEST_F(RegistryContract, DeletingATreeLeavesEveryOpenHandleInItOnADeletedKey) {
    RegKey doomed, below;
    CreateBelow("Doomed", &doomed);
    CreateBelow("Doomed\\Below", &below);
    ASSERT_EQ(RegSetValueExA(below, "Kept", kRegSz, "x", 2), kErrorSuccess);
    ASSERT_EQ(RegDeleteTreeA(contract::kScratchRoot, Below("Doomed")), kErrorSuccess);

    for (const RegKey* key : {&doomed, &below}) {
        SCOPED_TRACE(key == &doomed ? "the deleted key" : "a key below it");
        EXPECT_EQ(RegSetValueExA(*key, "New", kRegSz, "y", 2), kErrorKeyDeleted);
        EXPECT_EQ(RegDeleteValueA(*key, "Kept"), kErrorKeyDeleted);
        std::uint32_t size = 0;
        EXPECT_EQ(RegQueryValueExA(*key, "Kept", nullptr, nullptr, &size), kErrorKeyDeleted);
        char name[64];
        char data[64];
        std::uint32_t nameSize = sizeof name, dataSize = sizeof data;
        EXPECT_EQ(RegEnumKeyExA(*key, 0, name, &nameSize), kErrorKeyDeleted);
        nameSize = sizeof name;
        EXPECT_EQ(RegEnumValueA(*key, 0, name, &nameSize, nullptr, data, &dataSize),
                  kErrorKeyDeleted);
        RegKey same;
        EXPECT_EQ(RegOpenKeyExA(*key, "", 0, kKeyRead, same), kErrorKeyDeleted);
    }
    RegKey reopened;
    EXPECT_EQ(RegOpenKeyExA(contract::kScratchRoot, Below("Doomed\\Below"), 0, kKeyRead, reopened),
              kErrorFileNotFound)
        << "writes through the old handles recreated nothing";
    EXPECT_TRUE(SubkeyNames().empty());
}

TEST_F(RegistryContract, TreeDeletionNeverReachesARoot) {
    EXPECT_EQ(RegDeleteTreeA(contract::kScratchRoot, ""), kErrorInvalidParameter);
    EXPECT_EQ(RegDeleteTreeA(contract::kScratchRoot, "\\"), kErrorBadPathname);
    RegKey scratch;
    EXPECT_EQ(RegOpenKeyExA(contract::kScratchRoot, contract::kScratchKey, 0, kKeyRead, scratch),
              kErrorSuccess)
        << "the root keeps its keys";
}

TEST_F(RegistryContract, PathsSplitOnBackslashesOnly) {
    CreateBelow("text/html");
    CreateBelow("A\\B");
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"A", "text/html"}))
        << "a slash is part of a key name";
    RegKey opened;
    EXPECT_EQ(RegOpenKeyExA(key_, "TEXT/HTML", 0, kKeyRead, opened), kErrorSuccess);
    EXPECT_EQ(RegOpenKeyExA(key_, "text", 0, kKeyRead, opened), kErrorFileNotFound);
    EXPECT_EQ(RegOpenKeyExA(key_, "A/B", 0, kKeyRead, opened), kErrorFileNotFound);
    EXPECT_EQ(RegOpenKeyExA(key_, "A\\\\B\\", 0, kKeyRead, opened), kErrorSuccess)
        << "doubled and trailing backslashes are taken as one";

    EXPECT_EQ(RegOpenKeyExA(key_, "\\A", 0, kKeyRead, opened), kErrorBadPathname);
    EXPECT_FALSE(opened.IsOpen());
    EXPECT_EQ(RegOpenKeyExA(contract::kScratchRoot, "\\" + Below("A"), 0, kKeyRead, opened),
              kErrorBadPathname);
    EXPECT_EQ(RegCreateKeyExA(contract::kScratchRoot, "\\" + Below("C"), kKeyAllAccess, opened),
              kErrorBadPathname);
    EXPECT_EQ(RegDeleteTreeA(contract::kScratchRoot, "\\" + Below("A")), kErrorBadPathname);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"A", "text/html"}));
}

TEST_F(RegistryContract, NamesMatchWithoutRegardToCaseInTheWholeCodePage) {
    RegKey umlaut;
    CreateBelow("\xC4rger", &umlaut);  // Ärger
    CreateBelow("\x8Alo");             // Šlo
    RegKey opened;
    EXPECT_EQ(RegOpenKeyExA(key_, "\xE4RGER", 0, kKeyRead, opened), kErrorSuccess);
    EXPECT_EQ(RegOpenKeyExA(key_, "\x9ALO", 0, kKeyRead, opened), kErrorSuccess);
    CreateBelow("\xE4rger");
    EXPECT_EQ(SubkeyNames().size(), 2u) << "the second create opened the first key";

    ASSERT_EQ(RegSetValueExA(umlaut, "\xD6l", kRegSz, "x", 2), kErrorSuccess);  // Öl
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(umlaut, "\xF6L", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(RegDeleteValueA(umlaut, "\xF6l"), kErrorSuccess);
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
