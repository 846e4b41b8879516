// The language file the program ships, put beside the program on the sandbox: for windows
// whose texts exist only there (their keys have empty defaults). Tests that use it define
// PURGELINT_LANGUAGES_DIR, the source tree's languages folder.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/sandbox/sandbox.h"

// The bytes of languages/<code>.txt.
inline std::string ShippedLanguage(const std::string& code = "eng") {
    const std::string path = PURGELINT_LANGUAGES_DIR "/" + code + ".txt";
    std::ifstream shipped(path, std::ios::binary);
    EXPECT_TRUE(shipped) << path;
    std::ostringstream text;
    text << shipped.rdbuf();
    return text.str();
}

// Copies languages/<code>.txt into `appFolder`\languages; the file's bytes are returned for
// tests that compare against its lines.
inline std::string InstallShippedLanguage(const std::string& appFolder,
                                          const std::string& code = "eng") {
    std::string text = ShippedLanguage(code);
    sandbox::WriteFile(appFolder + "\\languages\\" + code + ".txt", text);
    return text;
}
