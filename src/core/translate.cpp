#include "core/translate.h"

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/application.h"
#include "platform/profile.h"

std::string Translate(const std::string& key, const std::string& defaultText) {
    const std::string folder = platform::ApplicationFolder() + "\\languages\\";
    std::string text = ReadIniString("Lang", key, "", folder + sLanguage + ".txt");
    if (text.empty()) {
        text = defaultText;
        // Translators look here for what is missing; without the folder nothing is recorded.
        platform::WritePrivateProfileStringA("Lang_" + sLanguage, key, "", folder + "_missing.txt");
    }
    std::string result;
    size_t start = 0;
    for (size_t bars; (bars = text.find("||", start)) != std::string::npos; start = bars + 2)
        result += text.substr(start, bars - start) + "\r\n";
    return result + text.substr(start);
}
