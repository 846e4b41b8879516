// Profile files as setup.ini and the language files are read and written, in each encoding.
#include <chrono>
#include <thread>

#include "platform/contract_scratch.h"
#include "platform/profile.h"

using namespace platform;

namespace {

// UTF-16 with its byte order mark, of text whose bytes are ASCII or Latin-1 letters.
std::string Utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text)
        bytes += std::string{c, '\0'};
    return bytes;
}

class ProfileContract : public contract::Scratch {
  protected:
    // As the program reads: into 2048 bytes.
    std::string Read(const char* section, const char* key, const char* file) const {
        std::string buffer(2048, '\0');
        buffer.resize(ReadProfileString(section, key, "dflt", buffer.data(), 2048, Path(file)));
        return buffer;
    }
};

TEST_F(ProfileContract, ReadsAsTheSystemParsesAndWritesCreateReplaceAndKeepTheEncoding) {
    const std::string blanks = " \t\v\f\x1a";  // and CR and LF, which end a line
    const std::pair<const char*, std::string> files[] = {
        {"setup.ini",
         "[Other]\r\nlanguage=xxx\r\n[Main]\r\n  Language  =  deu  \r\ndouble=\"  quoted  \"\r\n"
         "empty=\r\nlong=" +
             std::string(3000, 'a') + "\r\n"},
        {"ends.ini", "[Main]\rcr=1\r[Other]\r\r\nx=2\r\r\n\r\n[Third]\n\ncrcrlf=3\r\r\nlast=5"},
        {"blanks.ini", "[" + blanks + "Main" + blanks + "]\r\n" + blanks + "key" + blanks + "=" +
                           blanks + "a value" + blanks + "\r\n"},
        {"utf8.ini", "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE2\x86\x92\r\n"},
        {"utf16.ini", Utf16("[Main]\r\nk=caf\xE9 ") + "\xAC\x20" + Utf16("\r\n").substr(2)},
        {"ansi.ini", "[Main]\r\nk=caf\xE9 \x80\r\n"},
    };
    for (const auto& [name, bytes] : files)
        contract::WriteFile(Path(name), bytes);
    const struct {
        const char *file, *section, *key;
        std::string value;
    } rows[] = {
        {"setup.ini", "main", "LANGUAGE", "deu"},
        {"setup.ini", "Main", "double", "  quoted  "},
        {"setup.ini", "Main", "empty", ""},  // present but empty is not the default
        {"setup.ini", "Main", "absent", "dflt"},
        {"missing.ini", "Main", "language", "dflt"},
        {"setup.ini", "Main", "long", std::string(2047, 'a')},
        {"ends.ini", "Other", "x", "2"},
        {"ends.ini", "Third", "last", "5"},  // the last line needs no end
        {"blanks.ini", "Main", "key", "a value"},
        {"utf8.ini", "Main", "k", "caf\u00E9 \u20AC \u2192"},  // text comes in UTF-8
        {"utf16.ini", "Main", "k", "caf\u00E9 \u20AC"},
        {"ansi.ini", "Main", "k", "caf\u00E9 \u20AC"},  // no mark: the ANSI code page
    };
    for (const auto& row : rows)
        EXPECT_EQ(Read(row.section, row.key, row.file), row.value)
            << row.file << " [" << row.section << "] " << row.key;

    // As setup.ini and _missing.txt are written: one key after another, with time between.
    const std::string ini = Path("_missing.txt");
    ASSERT_TRUE(WriteProfileValue(" Lang_eng\t", "\tkey ", "", ini));
    EXPECT_EQ(contract::ReadFile(ini), "[Lang_eng]\r\nkey=\r\n");
    // A file read more than two seconds ago may be served from a cache of what was parsed.
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    ASSERT_TRUE(WriteProfileValue("lang_ENG", "KEY", "1", ini));
    ASSERT_TRUE(WriteProfileValue("Lang_eng", "other", "", ini));
    EXPECT_EQ(contract::ReadFile(ini), "[Lang_eng]\r\nkey=1\r\nother=\r\n");
    EXPECT_FALSE(WriteProfileValue("Main", "k", "v", Path("no folder\\setup.ini")));
    EXPECT_EQ(contract::ReadFile(Path("no folder\\setup.ini")), "<none>");

    const std::string utf8 = "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9\r\n";
    contract::WriteFile(Path("utf8.ini"), utf8);
    ASSERT_TRUE(WriteProfileValue("Main", "new", "\u00E9\u03A9", Path("utf8.ini")));
    EXPECT_EQ(contract::ReadFile(Path("utf8.ini")), utf8 + "new=\xC3\xA9\xCE\xA9\r\n")
        << "a write keeps the encoding and what the code page cannot hold";
    contract::WriteFile(Path("utf16.ini"), Utf16("[Main]\r\nk=x\r\n"));
    ASSERT_TRUE(WriteProfileValue("Main", "new", "\u00E9", Path("utf16.ini")));
    EXPECT_EQ(contract::ReadFile(Path("utf16.ini")), Utf16("[Main]\r\nk=x\r\nnew=\xE9\r\n"));
}

}  // namespace
