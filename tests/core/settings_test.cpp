// Settings in setup.ini: defaults, stored forms and the typed conversions.
#include <string>
#include <utility>
#include <vector>

#include "core/settings.h"
#include "support/sandbox_test.h"

namespace {

class Settings : public SandboxTest {
  protected:
    void Store(const std::string& lines) { sandbox::WriteFile(AppFile("setup.ini"), lines); }
};

TEST_F(Settings, WithoutAFileEveryReadGivesItsDefault) {
    EXPECT_EQ(ReadSetting("language", "eng"), "eng");
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), -1);
    EXPECT_TRUE(ReadSettingBool("runautomatically", true));
    EXPECT_FALSE(ReadSettingBool("wasfirstrun", false));
}

TEST_F(Settings, StoredTextIsTrimmedUnquotedAndFoundWhateverTheKeyCase) {
    Store("[main]\r\nLanguage = deu \r\nquoted=\" a b \"\r\nempty=\r\nlong=" +
          std::string(3000, 'x') + "\r\n");
    EXPECT_EQ(ReadSetting("language", "eng"), "deu");
    EXPECT_EQ(ReadSetting("LANGUAGE", "eng"), "deu");
    EXPECT_EQ(ReadSetting("quoted", ""), " a b ");
    EXPECT_EQ(ReadSetting("empty", "default"), "") << "a present empty value is not absent";
    EXPECT_EQ(ReadSetting("long", ""), std::string(2047, 'x'));
}

TEST_F(Settings, AFileSavedByAnEditorReadsAndKeepsItsEncoding) {
    Store("\xEF\xBB\xBF; saved as UTF-8\n[Main]\nlanguage=fra\nnote=caf\xC3\xA9\n");
    EXPECT_EQ(ReadSetting("language", "eng"), "fra");
    EXPECT_EQ(ReadSetting("note", ""), "caf\u00E9");
    WriteSetting("language", "deu");
    EXPECT_EQ(ReadAppFile("setup.ini"),
              "\xEF\xBB\xBF; saved as UTF-8\r\n[Main]\r\nlanguage=deu\r\nnote=caf\xC3\xA9\r\n");
}

// A key keeps the name it was first written with.
TEST_F(Settings, WritesCreateTheFileAndReplaceValuesInPlace) {
    WriteSettingBool("userwelcomed", true);
    WriteSetting("Language", "deu");
    WriteSettingLong("frmmain_window_left", 1440);
    WriteSetting("language", "fra");
    WriteSettingLong("firsterrors", -1);
    EXPECT_TRUE(ReadSettingBool("userwelcomed", false));
    EXPECT_EQ(ReadSetting("language", "eng"), "fra");
    EXPECT_EQ(ReadSettingLong("frmmain_window_left", 0), 1440);
    EXPECT_EQ(ReadAppFile("setup.ini"),
              "[Main]\r\nuserwelcomed=1\r\nLanguage=fra\r\nfrmmain_window_left=1440\r\n"
              "firsterrors=-1\r\n");
}

TEST_F(Settings, AFailedWriteIsIgnored) {
    sandbox::DenyWrites(kAppFolder);
    WriteSetting("language", "deu");
    EXPECT_EQ(ReadSetting("language", "eng"), "eng");
    EXPECT_EQ(ReadAppFile("setup.ini"), "<none>");
}

TEST_F(Settings, BooleansReadNumbersAndTrueFalseWordsElseTheDefault) {
    const std::vector<std::pair<std::string, int>> cases = {
        // stored text, expected (-1: the default, whichever it is)
        {"0", 0},    {"1", 1},     {"-1", 1},   {"2.5", 1},       {"0.0", 0},
        {"True", 1}, {"FALSE", 0}, {"tRuE", 1}, {"\"false\"", 0}, {"", -1},
        {"yes", -1}, {"1abc", -1}, {"on", -1},
    };
    for (const auto& [text, expected] : cases) {
        Store("[Main]\r\nflag=" + text + "\r\n");
        for (bool defaultValue : {false, true}) {
            const bool want = expected == -1 ? defaultValue : expected == 1;
            EXPECT_EQ(ReadSettingBool("flag", defaultValue), want)
                << "stored \"" << text << "\", default " << defaultValue;
        }
    }
}

TEST_F(Settings, WholeNumbersRoundHalfToEvenAndRejectTextOutOfRange) {
    const std::vector<std::pair<std::string, long>> cases = {
        {"1440", 1440},
        {"-1", -1},
        {"+7", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"0.5", 0},
        {"1.5", 2},
        {"2.4999", 2},
        {"1e3", 1000},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647L - 1},
        {"2147483647.4", 2147483647},
        {"2147483648", -99},
        {"-2147483649", -99},
        {"2147483647.5", -99},
        {"", -99},
        {"abc", -99},
        {"12abc", -99},
        {".", -99},
        {"1e", -99},
        {"0x10", -99},
    };
    for (const auto& [text, expected] : cases) {
        Store("[Main]\r\nfirsterrors=" + text + "\r\n");
        EXPECT_EQ(ReadSettingLong("firsterrors", -99), expected) << "stored \"" << text << "\"";
    }
}

}  // namespace
