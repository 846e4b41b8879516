// Profile files as the system reads and writes them: lines, names, values and defaults, the
// encodings a file may carry, and how a write rewrites the file.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/contract_machine.h"
#include "platform/profile.h"

using namespace platform;
using namespace std::string_literals;

namespace {

// UTF-16 with its byte order mark, of text whose bytes are ASCII or Latin-1 letters.
std::string Utf16(const std::string& text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

class ProfileContract : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = contract::PrepareMachine(); }
    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }
    std::string Read(const std::string& section, const std::string& key, const std::string& file,
                     const std::string& defaultText = "dflt", std::uint32_t size = 2048) const {
        std::string buffer(size, '\0');
        buffer.resize(
            ReadProfileString(section, key, defaultText, buffer.data(), size, Path(file)));
        return buffer;
    }

    std::string scratch_;
};

TEST_F(ProfileContract, ReadsAsTheSystemParsesLinesNamesValuesDefaultsAndEncodings) {
    const std::string blanks = " \t\v\f\x1a";  // and CR and LF, which end a line
    const std::pair<const char*, std::string> files[] = {
        {"setup.ini",
         "[Other]\r\nlanguage=xxx\r\n[Main]\r\n  Language  =  deu  \r\ndouble=\"  quoted  \"\r\n"
         "single='x'\r\nmismatched=\"x'\r\nempty=\r\nlong=" +
             std::string(3000, 'a') + "\r\nquoted=\"abcd\"\r\n"},
        {"ends.ini",
         "[Main]\rcr=1\r[Other]\r\r\nx=2\r\r\n\r\n[Third]\n\ncrcrlf=3\r\r\nlf=4\nlast=5"},
        {"blanks.ini", "[" + blanks + "Main" + blanks + "]\r\n" + blanks + "key" + blanks + "=" +
                           blanks + "a value" + blanks + "\r\n"},
        {"layout.ini",
         "first=0\r\n[Main]\r\na=1\r\n[Unclosed\r\nb=2\r\n[Last]]x] ; note\r\nc=3\r\n"
         "[Bare]\r\nk\r\nk=2\r\n[Main]\r\nz=9\r\n"
         "[Nul]\r\ncut=ab\0cd\r\nblank=ab \0 \r\nq=\"x\"\0y\r\nn\0ame=7\r\nafter=1\r\n"s},
        {"utf8.ini", "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE2\x86\x92\r\n"},
        {"utf16.ini", Utf16("[Main]\r\nk=caf\xE9 ") + "\xAC\x20" + Utf16("\r\n").substr(2)},
        {"big.ini", Utf16("[Main]\r\nk=big\r\n", true)},
        {"unmarked.ini", Utf16("[Main]\r\nk=x\r\n").substr(2)},
        {"ansi.ini", "[Main]\r\nk=caf\xE9 \x80\r\nq=\"\xE9\xE9\"\r\n"},
    };
    for (const auto& [name, bytes] : files)
        contract::WriteFile(Path(name), bytes);
    const struct {
        const char *file, *section, *key;
        std::string value, defaultText = "dflt";
        std::uint32_t size = 2048;
    } rows[] = {
        {"setup.ini", "main", "LANGUAGE", "deu"},
        {"setup.ini", "Main", "double", "  quoted  "},
        {"setup.ini", "Main", "single", "x"},
        {"setup.ini", "Main", "mismatched", "\"x'"},
        {"setup.ini", "Main", "empty", ""},  // present but empty is not the default
        {"setup.ini", "Main", "absent", "dflt"},
        {"missing.ini", "Main", "language", "dflt"},
        {"setup.ini", "Main", "long", std::string(2047, 'a')},
        {"setup.ini", "Main", "quoted", "abc", "", 5},  // a closing quote that just fits goes
        {"setup.ini", "Main", "quoted", "abcd", "", 6},
        {"ends.ini", "Other", "x", "2"},
        {"ends.ini", "Third", "crcrlf", "3"},
        {"ends.ini", "Third", "last", "5"},  // the last line needs no end
        {"blanks.ini", "Main", "key", "a value"},
        {"blanks.ini", " \t\v\f\rMain \t\v\f\r", "\t\v\f\r key \t\v\f\r", "a value"},
        {"blanks.ini", "Ma in", "key", "dflt"},
        {"layout.ini", "Main", "b", "2"},  // an unclosed header opens nothing
        {"layout.ini", "Unclosed", "b", "dflt"},
        {"layout.ini", "Last]]x", "c", "3"},      // the last ']' closes a header
        {"layout.ini", "Bare", "k", "dflt"},      // a bare name is a key without a value
        {"layout.ini", "Main", "z", "dflt"},      // only the first section of a name is read
        {"layout.ini", "Nul", "cut", "ab"},       // a NUL ends a value
        {"layout.ini", "Nul", "blank", "ab "},    // after the line's blanks are trimmed
        {"layout.ini", "Nul", "q", "x"},          // and before the quotes are removed
        {"layout.ini", "Nul", "n", "7"},          // and a name
        {"layout.ini", "Main", "k", "x", "x  "},  // a default loses trailing spaces
        {"layout.ini", "Main", "k", " ", "   "},
        {"layout.ini", "Main", "k", "\t", "\t"},
        {"layout.ini", "Main", "k", "quoted", "\"quoted\"  "},  // and its quotes
        {"missing.ini", "Main", "k", "q", "'q'"},
        {"utf8.ini", "Main", "k", "caf\u00E9 \u20AC \u2192"},  // text comes in UTF-8
        {"utf16.ini", "Main", "k", "caf\u00E9 \u20AC"},
        {"big.ini", "Main", "k", "big"},
        {"unmarked.ini", "Main", "k", "dflt"},             // without its mark UTF-16 is not known
        {"ansi.ini", "Main", "k", "caf\u00E9 \u20AC"},     // no mark: the ANSI code page
        {"ansi.ini", "Main", "k", "caf", "", 5},           // a short buffer never cuts a letter
        {"ansi.ini", "Main", "q", "\u00E9\u00E9", "", 5},  // unquoted as the text counts
    };
    for (const auto& row : rows)
        EXPECT_EQ(Read(row.section, row.key, row.file, row.defaultText, row.size), row.value)
            << row.file << " [" << row.section << "] " << row.key << ", default " << row.defaultText
            << ", " << row.size << " bytes";
}

TEST_F(ProfileContract, WritesCreateReplaceAndKeepTheEncoding) {
    const std::string ini = Path("setup.ini");
    ASSERT_TRUE(WriteProfileValue("Main", "wasfirstrun", "1", ini));
    ASSERT_TRUE(WriteProfileValue("Main", "language", "eng", ini));
    ASSERT_TRUE(WriteProfileValue("MAIN", "WasFirstRun", "0", ini));
    ASSERT_TRUE(WriteProfileValue("Lang_eng", "key", "", ini));
    EXPECT_EQ(contract::ReadFile(ini),
              "[Main]\r\nwasfirstrun=0\r\nlanguage=eng\r\n[Lang_eng]\r\nkey=\r\n");
    EXPECT_FALSE(WriteProfileValue("Main", "k", "v", Path("no folder\\setup.ini")));
    EXPECT_EQ(contract::ReadFile(Path("no folder\\setup.ini")), "<none>");

    const std::string utf8 = "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9\r\n";
    contract::WriteFile(Path("utf8.ini"), utf8);
    ASSERT_TRUE(WriteProfileValue("Main", "new", "\u00E9\u03A9", Path("utf8.ini")));
    EXPECT_EQ(contract::ReadFile(Path("utf8.ini")), utf8 + "new=\xC3\xA9\xCE\xA9\r\n")
        << "a write keeps the encoding and what the code page cannot hold";
}

TEST_F(ProfileContract, AWriteRewritesTheFileInItsOwnForm) {
    contract::WriteFile(Path("form.ini"),
                        "top=1\r\n[Main]\r\n\r\n  a = 1 \r\n; comment\r\nbare\r\n"
                        "[Unclosed\r\n[Other]\r\nx=\x80\x81\xFF\r\n");
    ASSERT_TRUE(WriteProfileValue("Main", "b", "  v  ", Path("form.ini")));
    EXPECT_EQ(contract::ReadFile(Path("form.ini")),
              "top=1\r\n[Main]\r\na=1\r\n; comment\r\nbare\r\n[Unclosed\r\nb=v  \r\n"
              "[Other]\r\nx=\x80\x81\xFF\r\n")
        << "blank lines go, names and values lose their outer blanks, a value its leading ones";
    EXPECT_EQ(Read("Main", "b", "form.ini"), "v");
}

TEST_F(ProfileContract, BlankEdgedNamesWriteOneSectionHoweverOftenTheyAreWritten) {
    const std::string ini = Path("_missing.txt");
    ASSERT_TRUE(WriteProfileValue(" Lang_eng\t", "\tkey ", "", ini));
    EXPECT_EQ(contract::ReadFile(ini), "[Lang_eng]\r\nkey=\r\n");
    // A file read more than two seconds ago may be served from a cache of what was parsed.
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    ASSERT_TRUE(WriteProfileValue(" Lang_eng\t", "\tkey ", "", ini));
    ASSERT_TRUE(WriteProfileValue("lang_ENG", "KEY", "", ini));
    EXPECT_EQ(contract::ReadFile(ini), "[Lang_eng]\r\nkey=\r\n");
}

}  // namespace
