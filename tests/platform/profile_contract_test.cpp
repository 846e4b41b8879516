// Profile files as the system reads and writes them: how lines, names, values and defaults
// are parsed, the encodings a file may carry, and how a write rewrites the file.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/contract_machine.h"
#include "platform/profile.h"

using namespace platform;
using namespace std::string_literals;

namespace {

class ProfileContract : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = contract::PrepareMachine(); }

    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }
    // The file `name` holding `bytes`; returns its path.
    std::string File(const std::string& name, const std::string& bytes) const {
        contract::WriteFile(Path(name), bytes);
        return Path(name);
    }
    static std::string Read(const std::string& section, const std::string& key,
                            const std::string& file, const std::string& defaultText = "dflt",
                            std::uint32_t size = 2048) {
        std::string buffer(size, '\0');
        const auto n = ReadProfileString(section, key, defaultText, buffer.data(), size, file);
        buffer.resize(n);
        return buffer;
    }

    std::string scratch_;
};

// UTF-16 of text whose bytes are all below 0x80 or Latin-1 letters.
std::string Utf16(const std::string& text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

TEST_F(ProfileContract, ReadsTrimUnquoteAndIgnoreCase) {
    const std::string ini =
        File("setup.ini",
             "[Other]\r\nlanguage=xxx\r\n[Main]\r\n  Language  =  deu  \r\n"
             "double=\"  quoted  \"\r\nsingle='x'\r\nmismatched=\"x'\r\nempty=\r\n");
    EXPECT_EQ(Read("main", "LANGUAGE", ini), "deu");
    EXPECT_EQ(Read("Main", "double", ini), "  quoted  ");
    EXPECT_EQ(Read("Main", "single", ini), "x");
    EXPECT_EQ(Read("Main", "mismatched", ini), "\"x'");
    EXPECT_EQ(Read("Main", "empty", ini), "") << "present but empty is not the default";
    EXPECT_EQ(Read("Main", "absent", ini), "dflt");
    EXPECT_EQ(Read("Nowhere", "language", ini), "dflt");
    EXPECT_EQ(Read("Main", "language", Path("missing.ini")), "dflt");
}

TEST_F(ProfileContract, ReadsAreCutToTheBuffer) {
    const std::string ini =
        File("long.ini", "[Main]\r\nlong=" + std::string(3000, 'a') + "\r\nquoted=\"abcd\"\r\n");
    EXPECT_EQ(Read("Main", "long", ini), std::string(2047, 'a'));
    EXPECT_EQ(Read("Main", "quoted", ini, "", 4), "abc");
    EXPECT_EQ(Read("Main", "quoted", ini, "", 5), "abc")
        << "the closing quote fits only as the last character, and is then dropped";
    EXPECT_EQ(Read("Main", "quoted", ini, "", 6), "abcd");
}

TEST_F(ProfileContract, LinesEndAtCrAtLfOrAtAnyRunOfThem) {
    const std::string ini = File("ends.ini",
                                 "[Main]\rcr=1\r[Other]\r\r\nx=2\r\r\n\r\n[Third]\n\ncrcrlf=3\r\r\n"
                                 "lf=4\nlast=5");
    EXPECT_EQ(Read("Main", "cr", ini), "1");
    EXPECT_EQ(Read("Other", "x", ini), "2");
    EXPECT_EQ(Read("Third", "crcrlf", ini), "3");
    EXPECT_EQ(Read("Third", "lf", ini), "4");
    EXPECT_EQ(Read("Third", "last", ini), "5") << "the last line needs no end";
}

TEST_F(ProfileContract, BlanksAroundNamesAndValuesAreTrimmedOnBothSides) {
    // Space, tab, vertical tab, form feed, CR, LF and the old end-of-file mark ^Z are blanks.
    const std::string blanks = " \t\v\f\x1a";
    const std::string ini =
        File("blanks.ini", "[" + blanks + "Main" + blanks + "]\r\n" + blanks + "key" + blanks +
                               "=" + blanks + "a value" + blanks + "\r\n");
    EXPECT_EQ(Read("Main", "key", ini), "a value");
    EXPECT_EQ(Read(" \t\v\f\rMain \t\v\f\r", "\t\v\f\r key \t\v\f\r", ini), "a value")
        << "the names asked for are trimmed too";
    EXPECT_EQ(Read("\x1a\nMain\n\x1a", "\nkey\n", ini), "a value");
    EXPECT_EQ(Read("Ma in", "key", ini), "dflt") << "blanks inside a name count";
}

TEST_F(ProfileContract, SectionHeadersKeysAndValuesAsTheReaderSplitsThem) {
    const std::string ini = File("parts.ini",
                                 "first=0\r\n"
                                 "[Main]\r\na=1\r\n[Unclosed\r\nb=2\r\n"
                                 "[Last]]x] ; note\r\nc=3\r\n"
                                 "[Bare]\r\nk\r\nk=2\r\n"
                                 "[Main]\r\nz=9\r\n"
                                 "[Nul]\r\ncut=ab\0cd\r\nblank=ab \0 \r\nq=\"x\"\0y\r\n"
                                 "n\0ame=7\r\nafter=1\r\n"s);
    EXPECT_EQ(Read("Main", "b", ini), "2") << "an unclosed header opens nothing";
    EXPECT_EQ(Read("Unclosed", "b", ini), "dflt");
    EXPECT_EQ(Read("Last]]x", "c", ini), "3") << "the last ']' closes the header";
    EXPECT_EQ(Read("Last", "c", ini), "dflt");
    EXPECT_EQ(Read("Bare", "k", ini), "dflt") << "a bare name is a key without a value";
    EXPECT_EQ(Read("Main", "z", ini), "dflt") << "only the first section of a name is read";
    EXPECT_EQ(Read("Main", "first", ini), "dflt");

    EXPECT_EQ(Read("Nul", "cut", ini), "ab") << "a NUL ends a value";
    EXPECT_EQ(Read("Nul", "blank", ini), "ab ") << "after the line's blanks are trimmed";
    EXPECT_EQ(Read("Nul", "q", ini), "x") << "and before the quotes are removed";
    EXPECT_EQ(Read("Nul", "n", ini), "7") << "a NUL ends a name too";
    EXPECT_EQ(Read("Nul", "after", ini), "1");
}

TEST_F(ProfileContract, DefaultsLoseTrailingSpacesAndQuotes) {
    const std::string ini = File("empty.ini", "[Main]\r\n");
    EXPECT_EQ(Read("Main", "k", ini, "x  "), "x");
    EXPECT_EQ(Read("Main", "k", ini, "  x  "), "  x");
    EXPECT_EQ(Read("Main", "k", ini, "   "), " ") << "an all-blank default keeps one blank";
    EXPECT_EQ(Read("Main", "k", ini, "\t"), "\t") << "only spaces are cut from a default";
    EXPECT_EQ(Read("Main", "k", ini, ""), "");
    EXPECT_EQ(Read("Main", "k", ini, "\"quoted\"  "), "quoted");
    EXPECT_EQ(Read("Main", "k", ini, "'a b'"), "a b");
    EXPECT_EQ(Read("Main", "k", ini, "\""), "\"");
    EXPECT_EQ(Read("Main", "k", Path("missing.ini"), "'q'"), "q");
}

TEST_F(ProfileContract, ByteOrderMarksChooseTheEncoding) {
    const std::string utf8 =
        File("utf8.ini", "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE2\x86\x92\r\n");
    EXPECT_EQ(Read("Main", "k", utf8), "caf\u00E9 \u20AC \u2192") << "text comes in UTF-8";

    const std::string utf16 =
        File("utf16.ini", Utf16("[Main]\r\nk=caf\xE9 ") + "\xAC\x20" + Utf16("\r\n").substr(2));
    EXPECT_EQ(Read("Main", "k", utf16), "caf\u00E9 \u20AC");
    const std::string ansi = File("ansi.ini", "[Main]\r\nk=caf\xE9 \x80\r\nq=\"\xE9\xE9\"\r\n");
    EXPECT_EQ(Read("Main", "k", ansi), "caf\u00E9 \u20AC") << "no mark: the ANSI code page";
    EXPECT_EQ(Read("Main", "k", ansi, "", 5), "caf") << "a short buffer never cuts a letter";
    EXPECT_EQ(Read("Main", "q", ansi, "", 5), "\u00E9\u00E9") << "unquoted as the text counts";
    const std::string big = File("big.ini", Utf16("[Main]\r\nk=big\r\n", true));
    EXPECT_EQ(Read("Main", "k", big), "big");
    const std::string unmarked = File("unmarked.ini", Utf16("[Main]\r\nk=x\r\n").substr(2));
    EXPECT_EQ(Read("Main", "k", unmarked), "dflt") << "without its mark UTF-16 is not known";

    ASSERT_TRUE(WriteProfileValue("Main", "new", "\u00E9\u03A9", utf8));
    EXPECT_EQ(
        contract::ReadFile(utf8),
        "\xEF\xBB\xBF[Main]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE2\x86\x92\r\nnew=\xC3\xA9\xCE\xA9\r\n")
        << "a write keeps the encoding and what the code page cannot hold";
}

TEST_F(ProfileContract, WritesCreateAndReplaceInPlace) {
    const std::string ini = Path("setup.ini");
    ASSERT_TRUE(WriteProfileValue("Main", "wasfirstrun", "1", ini));
    ASSERT_TRUE(WriteProfileValue("Main", "language", "eng", ini));
    ASSERT_TRUE(WriteProfileValue("MAIN", "WasFirstRun", "0", ini));
    ASSERT_TRUE(WriteProfileValue("Lang_eng", "key", "", ini));
    EXPECT_EQ(Read("Main", "wasfirstrun", ini), "0");
    EXPECT_EQ(contract::ReadFile(ini),
              "[Main]\r\nwasfirstrun=0\r\nlanguage=eng\r\n[Lang_eng]\r\nkey=\r\n");

    EXPECT_FALSE(WriteProfileValue("Main", "k", "v", Path("no folder\\setup.ini")));
    EXPECT_EQ(contract::ReadFile(Path("no folder\\setup.ini")), "<none>");
}

TEST_F(ProfileContract, AWriteRewritesTheFileInItsOwnForm) {
    const std::string ini = File("form.ini",
                                 "top=1\r\n[Main]\r\n\r\n  a = 1 \r\n; comment\r\nbare\r\n"
                                 "[Unclosed\r\n[Other]\r\nx=\x80\x81\xFF\r\n");
    ASSERT_TRUE(WriteProfileValue("Main", "b", "  v  ", ini));
    EXPECT_EQ(contract::ReadFile(ini),
              "top=1\r\n[Main]\r\na=1\r\n; comment\r\nbare\r\n[Unclosed\r\nb=v  \r\n"
              "[Other]\r\nx=\x80\x81\xFF\r\n")
        << "blank lines go, names and values lose their outer blanks, a value its leading ones";
    EXPECT_EQ(Read("Main", "b", ini), "v");
}

TEST_F(ProfileContract, BlankEdgedNamesWriteOneSectionHoweverOftenTheyAreWritten) {
    const std::string ini = Path("_missing.txt");
    ASSERT_TRUE(WriteProfileValue(" Lang_eng\t", "\tkey ", "", ini));
    const std::string once = contract::ReadFile(ini);
    EXPECT_EQ(once, "[Lang_eng]\r\nkey=\r\n");
    // A file read more than two seconds ago may be served from a cache of what was parsed.
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    ASSERT_TRUE(WriteProfileValue(" Lang_eng\t", "\tkey ", "", ini));
    ASSERT_TRUE(WriteProfileValue("lang_ENG", "KEY", "", ini));
    EXPECT_EQ(contract::ReadFile(ini), once);
}

}  // namespace
