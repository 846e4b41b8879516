// The names a problem record shows for its kind and status, through translation.
#include "model/item.h"
#include "support/sandbox_test.h"

namespace {

using ProblemRecord = SandboxTest;

TEST_F(ProblemRecord, KindAndStatusNamesComeThroughTranslation) {
    sandbox::WriteFile("C:\\Purgelint\\languages\\eng.txt", "[Lang]\r\ntype_file=Datei\r\n");
    clsItem item;
    const std::pair<long, std::string> kinds[] = {{kTypeRegistry, "Registry"},
                                                  {kTypeShortcut, "Shortcut"},
                                                  {kTypeFile, "Datei"},
                                                  {kTypeRepaired, ""},
                                                  {3, ""},
                                                  {-2, ""}};
    for (const auto& [kind, name] : kinds) {
        item.pType(kind);
        EXPECT_EQ(item.pTypeName(), name) << "kind " << kind;
    }
    const std::pair<long, std::string> statuses[] = {
        {kStatusBrokenLink, "Broken link"},
        {kStatusUnusedFile, "Unused file"},
        {kStatusWrongUninstall, "Wrong uninstall info"},
        {kStatusWrongHelp, "Broken help link"},
        {4, ""},
        {-1, ""}};
    for (const auto& [status, name] : statuses) {
        item.pSTATUS = status;
        EXPECT_EQ(item.pStatusName(), name) << "status " << status;
    }
    item.pSTATUS = kStatusWrongHelp;
    item.pType(kTypeRepaired);
    EXPECT_EQ(item.pStatusName(), "Broken help link") << "a repaired record keeps its status";
}

}  // namespace
