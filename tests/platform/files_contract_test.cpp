// Appended files, path forms and result texts as the program relies on them.
#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

using namespace platform;

namespace {

TEST(FilesContract, AppendCreatesThenExtends) {
    const std::string folder = contract::PrepareMachine(), log = folder + "\\app.log";
    ASSERT_TRUE(AppendToFile(log, "one\r\n"));
    ASSERT_TRUE(AppendToFile(log, "two\r\n"));
    EXPECT_EQ(contract::ReadFile(log), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(folder + "\\no folder\\app.log", "x"));
}

TEST(FilesContract, LongAndShortFormsOfAnExistingPath) {
    const std::string folder = contract::PrepareMachine() + "\\Long Folder Name";
    const std::string longPath = folder + "\\Another long name.txt";
    contract::MakeFolder(folder);
    contract::WriteFile(longPath, "x");
    const std::string shortPath = ShortPathName(longPath);
    EXPECT_NE(shortPath.find('~'), std::string::npos) << shortPath;
    EXPECT_LT(shortPath.size(), longPath.size());
    EXPECT_EQ(LongPathName(shortPath), longPath);
    EXPECT_EQ(LongPathName(folder + "\\missing"), "");
    EXPECT_TRUE(ShortPathName(folder + "\\").ends_with('\\')) << "a trailing backslash stays";
}

TEST(FilesContract, ResultCodesHaveTheirOwnTextsWithoutALineBreak) {
    const long codes[] = {kErrorFileNotFound,     kErrorPathNotFound, kErrorAccessDenied,
                          kErrorInvalidParameter, kErrorBadPathname,  kErrorMoreData,
                          kErrorNoMoreItems,      kErrorKeyDeleted,   kErrorSharingViolation};
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        const std::string text = ErrorDescription(codes[i]);
        ASSERT_FALSE(text.empty()) << codes[i];
        EXPECT_NE(text.back(), '\n') << codes[i];
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(text, ErrorDescription(codes[j])) << codes[i] << " and " << codes[j];
    }
    EXPECT_NE(ErrorDescription(kErrorAccessDenied).find("denied"), std::string::npos);
}

}  // namespace
