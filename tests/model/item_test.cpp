// The problem record's identity and names, and the shared records of the collection.
#include "model/item.h"
#include "support/sandbox_test.h"

namespace {

using ProblemRecord = SandboxTest;

TEST_F(ProblemRecord, IdentityFollowsKindNameAndKey) {
    clsItem item;
    EXPECT_EQ(item.pType(), kTypeRegistry);
    EXPECT_EQ(item.pSTATUS, kStatusBrokenLink);
    EXPECT_EQ(item.UID(), "") << "a fresh record has no identity yet";

    item.pType(kTypeShortcut);
    EXPECT_EQ(item.UID(), "shortcut__");
    item.pName("C:\\Users\\ann\\Desktop\\Game.lnk");
    EXPECT_EQ(item.UID(), "shortcut__C:\\Users\\ann\\Desktop\\Game.lnk");
    item.pKey("k");
    EXPECT_EQ(item.UID(), "shortcut_k_C:\\Users\\ann\\Desktop\\Game.lnk") << "key before name";

    clsItem registry;
    registry.pType(kTypeRegistry);
    registry.pName("HKLM\\SOFTWARE\\Run");
    EXPECT_EQ(registry.UID(), "registry_HKLM\\SOFTWARE\\Run_");
    registry.pKey("Updater");
    EXPECT_EQ(registry.UID(), "registry_HKLM\\SOFTWARE\\Run_Updater");

    clsItem file;
    file.pType(kTypeFile);
    file.pName("C:\\Temp\\old.tmp");
    EXPECT_EQ(file.UID(), "file_C:\\Temp\\old.tmp_");

    file.pType(kTypeRepaired);
    EXPECT_EQ(file.UID(), "unknown_");
    file.pType(7);
    EXPECT_EQ(file.UID(), "unknown_");
}

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

TEST_F(ProblemRecord, TheCollectionSharesRecordsInScanOrder) {
    ProblemCollection problems;
    auto first = std::make_shared<clsItem>();
    auto second = std::make_shared<clsItem>();
    first->pType(kTypeShortcut);
    problems.Add(first);
    problems.Add(second);
    problems.Add(first);  // duplicates are not detected
    ASSERT_EQ(problems.Count(), 3);
    EXPECT_EQ(problems.Item(1), first);
    EXPECT_EQ(problems.Item(2), second);

    problems.Item(3)->pType(kTypeRepaired);
    EXPECT_EQ(first->UID(), "unknown_") << "one record seen through every reference";
    problems.Remove(1);
    EXPECT_EQ(problems.Item(1), second);
    EXPECT_EQ(problems.Item(2)->pType(), kTypeRepaired);
}

}  // namespace
