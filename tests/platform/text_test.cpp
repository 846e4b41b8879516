// Names as Windows compares them, and the one conversion to and from UTF-16.
#include <tuple>

#include "base/text.h"
#include "platform/contract_scratch.h"

using namespace base;

namespace {

TEST(Text, NamesMatchWithoutRegardToCaseAsTheSystemFoldsThemAndAnyBytesConvertConsistently) {
    // Ärger, Ωmega, a letter whose simple upper case is one letter, look-alikes, long s,
    // dotless i and broken bytes.
    const std::tuple<const char*, const char*, bool> pairs[] = {
        {"S.\u00C4rger", "s.\u00E4RGER", true}, {"\u1F80", "\u1F88", true},
        {"\u03A9mega", "Omega", false},         {"\u017F.tmp", "s.tmp", false},
        {"\u0131nstall", "install", false},     {"a\xFF", "a\xFE", false}};
    for (const auto& [a, b, same] : pairs) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        EXPECT_EQ(EqualsNoCase(a, b), same);
        EXPECT_EQ(UpperCase(a) == UpperCase(b), same);
        EXPECT_EQ(!NoCaseLess()(a, b) && !NoCaseLess()(b, a), same);
        EXPECT_EQ(HashNoCase(a) == HashNoCase(b), same);
    }
    EXPECT_EQ(HashNoCase("\u00E4rger", HashNoCase("S.")), HashNoCase("s.\u00C4RGER"));
    EXPECT_TRUE(NoCaseLess()("apple", "Banana"));
    EXPECT_TRUE(NoCaseLess()("\uD7FF", "\U0001F600")) << "UTF-16 order: the planes after U+D7FF";
    EXPECT_TRUE(NoCaseLess()("\U0001F600", "\uE000")) << "and before U+E000";

    const std::string command = "\"C:\\\u00DCber \u03A9\\app.exe\" /S";  // Über Ω
    EXPECT_EQ(FindNoCase(command, "c:\\\u00FCBER \u03C9\\APP.EXE"), 1u);
    EXPECT_EQ(FindNoCase(command, "C:\\Uber O\\app.exe"), std::string::npos);
    EXPECT_EQ(FindNoCase("\xC3\x89x", "\x89x"), std::string::npos) << "never inside a letter";
    std::size_t length = 0;
    EXPECT_EQ(FindNoCase("\"C:\\\u2C65\\a.exe\" /S", "c:\\\u023A\\A.EXE", &length), 1u);
    EXPECT_EQ(length, 12u) << "the letter \u2C65 takes three bytes where its upper case takes two";

    // Any bytes: a cut never splits a letter, UTF-16 lengths agree with the conversion, upper
    // case changes only letters; UTF-16 comes back exactly, a lone surrogate too.
    for (const std::string text :
         {"a\u00E9\u20AC\U0001F600", "\x80z", "x\xC3", "\xE2\x82x", "\xC0\xAF\xF8",
          "\xED\xA0\x80\xED\xB0\x80", "\xF0\x9F\x98", "\xF4\x90\x80\x80 \t"}) {
        SCOPED_TRACE(text);
        const std::u16string units = Utf16FromUtf8(text);
        EXPECT_EQ(Utf16Length(text), units.size());
        EXPECT_EQ(UpperCase(text).size(), text.size());
        EXPECT_TRUE(EqualsNoCase(UpperCase(text), text));
        EXPECT_EQ(Trim(" " + text + " "), Trim(text));
        for (std::size_t bytes = 0; bytes <= text.size(); ++bytes) {
            const std::string cut = CutUtf8(text, bytes);
            EXPECT_TRUE(cut.size() <= bytes && text.starts_with(cut)) << bytes << ": " << cut;
            EXPECT_EQ(units.compare(0, Utf16FromUtf8(cut).size(), Utf16FromUtf8(cut)), 0);
        }
    }
    for (const std::u16string& name :
         {std::u16string(u"\u65E5\u672C\u8A9E \U0001D11E"), std::u16string(1, u'\xD800') + u"lone"})
        EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(name)), name);
    EXPECT_EQ(Utf8FromUtf16(u"\u03A9\U0001D11E"), "\u03A9\U0001D11E");
    EXPECT_EQ(Utf16FromUtf8("a\xFF!"), u"a\uFFFD!") << "no UTF-8: the replacement letter";

    // Every letter of the Basic Multilingual Plane upper-cases as CharUpperW does it, but those
    // whose upper case is ASCII (never a look-alike).
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

}  // namespace
