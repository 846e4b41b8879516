// Names as Windows compares them, and the one conversion to and from UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "platform/contract_machine.h"

using namespace base;

namespace {

TEST(Text, NamesMatchWithoutRegardToCaseInEveryAlphabetAndNeverALookAlike) {
    const struct {
        const char *a, *b;
        bool same;
    } pairs[] = {
        {"Setup.EXE", "setup.exe", true},
        {"\u00C4rger", "\u00E4RGER", true},  // Ärger
        {"\u03A9mega", "\u03C9MEGA", true},  // Ωmega
        {"\u041F\u0440\u0438\u0432\u0435\u0442", "\u043F\u0420\u0418\u0412\u0415\u0422", true},
        {"\uFF21pp", "\uFF41PP", true},  // fullwidth A
        {"\u1F80", "\u1F88", true},      // simple upper case: one letter
        {"\u03A9mega", "Omega", false},
        {"\u65E5\u672C\u8A9E", "???", false},  // 日本語
        {"\u017F.tmp", "s.tmp", false},        // long s is no s
        {"\u0131nstall", "install", false},    // dotless i is no i
        {"a\xFF", "a\xFE", false},             // broken bytes stay themselves
        {"ab", "abc", false},
    };
    for (const auto& [a, b, same] : pairs) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        EXPECT_EQ(EqualsNoCase(a, b), same);
        EXPECT_EQ(UpperCase(a) == UpperCase(b), same);
        EXPECT_EQ(!NoCaseLess()(a, b) && !NoCaseLess()(b, a), same);
    }
    EXPECT_TRUE(NoCaseLess()("apple", "Banana"));
    EXPECT_TRUE(NoCaseLess()("\uD7FF", "\U0001F600")) << "UTF-16 order: the planes after U+D7FF";
    EXPECT_TRUE(NoCaseLess()("\U0001F600", "\uE000")) << "and before U+E000";
}

// Every letter of the Basic Multilingual Plane upper-cases as CharUpperW does it, but those
// whose upper case is ASCII (never a look-alike).
TEST(Text, EveryLetterFoldsAsTheSystemFoldsIt) {
    if (!contract::SystemUpperCase(u'a')) GTEST_SKIP() << "the sandbox has no table of its own";
    std::string differences;
    for (char32_t code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000) continue;
        const char16_t unit = static_cast<char16_t>(code);
        const char16_t system = *contract::SystemUpperCase(unit);
        const std::u16string expected(1, system < 0x80 ? unit : system);
        if (Utf16FromUtf8(UpperCase(Utf8FromUtf16(std::u16string(1, unit)))) != expected)
            differences += " U+" + std::to_string(static_cast<unsigned>(code));
    }
    EXPECT_EQ(differences, "");
}

TEST(Text, APathIsFoundInsideATextWithoutRegardToCase) {
    const std::string command = "\"C:\\\u00DCber \u03A9\\app.exe\" /S";  // Über Ω
    EXPECT_EQ(FindNoCase(command, "c:\\\u00FCBER \u03C9\\APP.EXE"), 1u);
    EXPECT_EQ(FindNoCase(command, "C:\\Uber O\\app.exe"), std::string::npos);
    EXPECT_EQ(FindNoCase("\xC3\x89x", "\x89x"), std::string::npos) << "never inside a letter";
    std::size_t length = 0;
    EXPECT_EQ(FindNoCase("\"C:\\\u2C65\\a.exe\" /S", "c:\\\u023A\\A.EXE", &length), 1u);
    EXPECT_EQ(length, 12u) << "the letter \u2C65 takes three bytes where its upper case takes two";
    EXPECT_EQ(CutUtf8("\u00E9\u00E9", 3), "\u00E9");
}

TEST(Text, Utf16ComesBackExactlyALoneSurrogateToo) {
    const std::u16string names[] = {u"plain", u"\u65E5\u672C\u8A9E", u"\U0001D11E clef",
                                    std::u16string(1, u'\xD800') + u"lone"};
    for (const auto& name : names) {
        const std::string utf8 = Utf8FromUtf16(name);
        EXPECT_EQ(Utf16FromUtf8(utf8), name) << utf8;
        EXPECT_EQ(Utf16Length(utf8), name.size()) << utf8;
    }
    EXPECT_EQ(Utf8FromUtf16(u"\u03A9\U0001D11E"), "\u03A9\U0001D11E");
    EXPECT_EQ(Utf16FromUtf8("a\xFF"
                            "b"),
              u"a\uFFFDb")
        << "no UTF-8: the replacement letter";
}

}  // namespace
