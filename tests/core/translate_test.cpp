// Texts by key: the language file, the default, "||" line breaks and the missing-key record.
#include "core/app_state.h"
#include "core/translate.h"
#include "support/sandbox_test.h"

namespace {

class Translation : public SandboxTest {
  protected:
    static constexpr const char* kMissing = "C:\\Purgelint\\languages\\_missing.txt";
    void Language(const std::string& code, const std::string& lines) {
        sandbox::WriteFile(std::string(kAppFolder) + "\\languages\\" + code + ".txt", lines);
    }
    static std::string Missing() { return sandbox::ReadFile(kMissing).value_or("<none>"); }
};

TEST_F(Translation, WithoutALanguagesFolderDefaultsServeAndNothingIsCreated) {
    EXPECT_EQ(Translate("msgbox_welcome", "Welcome||Scan now?"), "Welcome\r\nScan now?");
    EXPECT_EQ(Translate("frmoptions_ok", "OK"), "OK");
    EXPECT_FALSE(std::filesystem::exists(sandbox::HostPath("C:\\Purgelint\\languages")));
}

TEST_F(Translation, TheLanguageFileWinsAndIsNotRecorded) {
    Language("eng", "[Lang]\r\nfrmoptions_ok=Fine\r\nfrmmain_help=Line one||Line two\r\n");
    EXPECT_EQ(Translate("frmoptions_ok", "OK"), "Fine");
    EXPECT_EQ(Translate("FRMOPTIONS_OK", "OK"), "Fine");
    EXPECT_EQ(Translate("frmmain_help", ""), "Line one\r\nLine two");
    EXPECT_EQ(Missing(), "<none>");
}

TEST_F(Translation, MissingAndEmptyKeysFallBackAndAreRecordedOncePerLanguage) {
    Language("eng", "[Lang]\r\nempty_key=\r\n");
    EXPECT_EQ(Translate("scanresult_found", ""), "");
    EXPECT_EQ(Translate("scanresult_found", "ignored default"), "ignored default");
    EXPECT_EQ(Translate("empty_key", "Fallback"), "Fallback");
    sLanguage = "deu";
    EXPECT_EQ(Translate("scanresult_found", "x"), "x");
    EXPECT_EQ(
        Missing(),
        "[Lang_eng]\r\nscanresult_found=\r\nempty_key=\r\n[Lang_deu]\r\nscanresult_found=\r\n");
}

TEST_F(Translation, RepeatedMissesLeaveTheRecordAsItIs) {
    Language("eng", "[Lang]\r\n");
    // A quoted language setting keeps its blanks; its record is found again all the same.
    for (const std::string code : {"eng", " deu\t"}) {
        sLanguage = code;
        EXPECT_EQ(Translate("scanresult_found", "x"), "x");
        const std::string once = Missing();
        const size_t changes = sandbox::Journal().size();
        for (int call = 0; call < 3; ++call)
            EXPECT_EQ(Translate("SCANRESULT_FOUND", "x"), "x");
        EXPECT_EQ(Missing(), once) << "language \"" << code << "\"";
        EXPECT_EQ(sandbox::Journal().size(), changes) << "nothing is written again";
    }
    EXPECT_EQ(Missing(), "[Lang_eng]\r\nscanresult_found=\r\n[Lang_ deu]\r\nscanresult_found=\r\n");
}

// A junk file, or one that lacks a key, leaves no window without words: the English built
// into the program stands in, and the key is still recorded for the translators.
TEST_F(Translation, WhatTheFileLacksComesFromTheBuiltInEnglishThenFromTheDefault) {
    const std::string english =
        "[Other]\r\nframe_ok=No\r\n[Lang]\r\nframe_ok = OK \r\nframe_info=\" needs it:\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : english)
        utf16 += std::string{c, '\0'};
    for (const std::string& builtIn : {english, utf16}) {
        sandbox::SetBuiltInLanguageFile(builtIn);
        Language("eng", "\x01\x02 junk ==\r\n[Lang\r\n");
        Language("deu", "[Lang]\r\nframe_ok=Gut\r\n");
        for (const std::string code : {"eng", "deu"}) {
            SCOPED_TRACE(code + (builtIn == english ? " ASCII" : " UTF-16"));
            sLanguage = code;
            EXPECT_EQ(Translate("FRAME_OK", ""), code == "deu" ? "Gut" : "OK");
            EXPECT_EQ(Translate("frame_info", "x"), " needs it:");
            EXPECT_EQ(Translate("frame_other", "Default"), "Default");
        }
    }
    EXPECT_EQ(Missing(),
              "[Lang_eng]\r\nFRAME_OK=\r\nframe_info=\r\nframe_other=\r\n"
              "[Lang_deu]\r\nframe_info=\r\nframe_other=\r\n");
}

TEST_F(Translation, BarsPairLeftToRight) {
    EXPECT_EQ(Translate("k1", "A||B"), "A\r\nB");
    EXPECT_EQ(Translate("k2", "|||"), "\r\n|");
    EXPECT_EQ(Translate("k3", "||||"), "\r\n\r\n");
    EXPECT_EQ(Translate("k4", "|a|"), "|a|");
}

}  // namespace
