// The registry calls as the scanners and the repair rely on them, on either backend.
#include <set>
#include <tuple>

#include "base/text.h"
#include "platform/contract_scratch.h"

using namespace platform;
using namespace std::string_literals;

namespace {

class RegistryContract : public contract::Scratch {
  protected:
    void SetUp() override {
        Scratch::SetUp();
        key_ = Create();
    }
    std::string Query(const std::string& name) {
        std::string bytes(1024, '\0');
        std::uint32_t type = 0, size = 1024;
        const long rc = QueryValue(key_, name, &type, bytes.data(), &size);
        return rc ? std::to_string(rc) : std::to_string(type) + " " + bytes.substr(0, size);
    }

    RegKey key_;
};

TEST_F(RegistryContract, ValuesKeepTheirTypeAndBytesKeysOpenByPathAndBothEnumerate) {
    const std::tuple<std::string, std::uint32_t, std::string> rows[] = {
        {"WithNul", kRegSz, "C:\\app.exe\0"s},         {"WithoutNul", kRegSz, "C:\\app.exe"},
        {"Number", kRegDword, "\x2a\0\0\0"s},          {"Multi", kRegMultiSz, "a\0b\0\0"s},
        {"Data", kRegBinary, "\xFF\0\x01"s},           {"", kRegSz, "the default\0"s},
        {"\u03C9", kRegExpandSz, "%TEMP%\\\u00D6l\0"s}};
    std::set<std::string> expected, enumerated;
    for (const auto& [name, type, bytes] : rows) {
        ASSERT_EQ(SetValue(key_, name, type, bytes.data(), bytes.size()), kErrorSuccess) << name;
        expected.insert(name + "|" + std::to_string(type) + "|" + bytes);
    }
    for (const auto& [name, type, bytes] : rows)  // names ignore case
        EXPECT_EQ(Query(base::UpperCase(name)), std::to_string(type) + " " + bytes) << name;
    std::string name;
    char data[64];
    for (std::uint32_t i = 0, type = 0, size = sizeof data;
         EnumValue(key_, i, name, 64, &type, data, &size) == kErrorSuccess; ++i, size = sizeof data)
        enumerated.insert(name + "|" + std::to_string(type) + "|" + std::string(data, size));
    EXPECT_EQ(enumerated, expected);
    std::uint32_t size = 2;
    EXPECT_EQ(EnumValue(key_, 0, name, 64, nullptr, data, &size), kErrorMoreData);

    ASSERT_EQ(SetValue(key_, "Number", kRegSz, "text", 5), kErrorSuccess);
    EXPECT_EQ(Query("Number"), "1 text\0"s) << "a set replaces a value of another type";
    EXPECT_EQ(DeleteValue(key_, "NUMBER"), kErrorSuccess);
    EXPECT_EQ(DeleteValue(key_, "Number"), kErrorFileNotFound);
    ASSERT_EQ(SetValue(key_, "Big", kRegBinary, std::string(1500, 'x').data(), 1500), 0);
    EXPECT_EQ(Query("Big"), "234") << "more data";
    EXPECT_EQ(QueryValue(key_, "Big", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 1500u);
    EXPECT_EQ(Query("Absent"), "2");

    // Paths split on backslashes only; names are UTF-8, count UTF-16 units against the buffer,
    // match in any case but never a look-alike. No '_': Windows orders it after letters, Wine
    // before.
    for (const char* name : {"beta", "Alpha", "text/html", "A\\B", "\u03A9mega", "Omega",
                             "\u65E5\u672C\u8A9E", "???", "\u00C4rger", "\u00E4rger"})
        Create(name);
    std::string names;
    long rc = kErrorSuccess;
    for (std::uint32_t i = 0; (rc = EnumKey(key_, i, name, 256)) == kErrorSuccess; ++i)
        names += name + " ";
    EXPECT_EQ(rc, kErrorNoMoreItems);
    EXPECT_EQ(names, "??? A Alpha beta Omega text/html \u00C4rger \u03A9mega \u65E5\u672C\u8A9E ");
    EXPECT_EQ(EnumKey(key_, 2, name, 5), kErrorMoreData) << "five letters and the NUL";
    EXPECT_EQ(EnumKey(key_, 7, name, 6), kErrorSuccess) << "five UTF-16 units and the NUL";
    EXPECT_EQ(name, "\u03A9mega");
    const std::pair<const char*, long> opens[] = {
        {"TEXT/HTML", kErrorSuccess}, {"text", kErrorFileNotFound}, {"A/B", kErrorFileNotFound},
        {"a\\\\b\\", kErrorSuccess},  // doubled and trailing backslashes are one
        {"\\A", kErrorBadPathname},   {"\u03C9MEGA", kErrorSuccess}};
    for (const auto& [path, code] : opens) {
        RegKey opened;
        EXPECT_EQ(OpenKey(key_, path, 0, kKeyRead, opened), code) << path;
        EXPECT_EQ(opened.is_valid(), code == kErrorSuccess) << path;
    }
}

}  // namespace
