// Appended files, path forms and result texts as the program relies on them.
#include "platform/contract_scratch.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

using namespace platform;

namespace {

using FilesContract = contract::Scratch;

TEST_F(FilesContract, AppendsPathFormsAndResultTextsAreAsTheProgramNeedsThem) {
    const std::string log = Path("app.log"), folder = Path("Long Folder Name");
    ASSERT_TRUE(AppendToFile(log, "one\r\n"));
    ASSERT_TRUE(AppendToFile(log, "two\r\n"));
    EXPECT_EQ(contract::ReadFile(log), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(Path("no folder\\app.log"), "x"));

    const std::string longPath = folder + "\\Another long name.txt";
    contract::MakeFolder(folder);
    contract::WriteFile(longPath, "x");
    const std::string shortPath = ShortPathName(longPath);
    EXPECT_NE(shortPath.find('~'), std::string::npos) << shortPath;
    EXPECT_EQ(LongPathName(shortPath), longPath);
    EXPECT_EQ(LongPathName(folder + "\\missing"), "");
    EXPECT_TRUE(ShortPathName(folder + "\\").ends_with('\\')) << "as the backup asks for it";

    // The logs write these texts after the code, on the same line.
    for (const long code : {kErrorFileNotFound, kErrorInvalidHandle, kErrorSharingViolation}) {
        const std::string text = ErrorDescription(code);
        EXPECT_TRUE(!text.empty() && !text.ends_with('\n') &&
                    text != ErrorDescription(kErrorMoreData))
            << text;
    }
    EXPECT_NE(ErrorDescription(kErrorAccessDenied).find("denied"), std::string::npos);
}

}  // namespace
