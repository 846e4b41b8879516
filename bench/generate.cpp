#include "bench/generate.h"

#include <stdexcept>
#include <vector>

#include "bench/machine.h"
#include "platform/errors.h"

namespace bench {

namespace {

using scan::PathIn;

void Check(long rc, const std::string& what) {
    if (rc != platform::kErrorSuccess)
        throw std::runtime_error(what + " failed with " + std::to_string(rc));
}

platform::RegKey CreateKey(platform::RootKey root, const std::string& key) {
    platform::RegKey created;
    Check(platform::CreateKey(root, key, platform::kKeyAllAccess, created), "creating " + key);
    return created;
}

void SetString(const platform::RegKey& key, const std::string& name, const std::string& text) {
    Check(platform::SetValue(key, name, platform::kRegSz, text.c_str(),
                             static_cast<std::uint32_t>(text.size() + 1)),
          "writing " + name);
}

// One entry of a list, named after `index`, pointing at `target` in the list's own way.
void PlantEntry(const RegistryList& list, const platform::RegKey& key, int index,
                const std::string& folder, const std::string& file) {
    const std::string target = folder + "\\" + file;
    const std::string listKey = list.key;
    switch (list.pathIn) {
        case PathIn::SubkeyValue: {
            const bool uninstall = *list.valueName != '\0';
            const auto subkey = CreateKey(
                list.root, listKey + "\\" + Plan::EntryName(index) + (uninstall ? "" : ".exe"));
            if (uninstall) {
                SetString(subkey, "DisplayName", "Bench application " + std::to_string(index));
                SetString(subkey, "Publisher", "Bench publisher");
                SetString(subkey, list.valueName, "\"" + target + "\" /S");
            } else {
                SetString(subkey, "", target);
                SetString(subkey, "Path", folder);
            }
            break;
        }
        case PathIn::ValueData:
            SetString(
                key, Plan::EntryName(index),
                listKey.find("Run") != std::string::npos ? "\"" + target + "\" /min" : target);
            break;
        case PathIn::ValueName: {
            const std::uint32_t references = 1;
            Check(platform::SetValue(key, target, platform::kRegDword, &references,
                                     sizeof references),
                  "writing " + target);
            break;
        }
        case PathIn::HelpFolderAndName:
            SetString(key, file, folder);
            break;
    }
}

// The names below `key` (subkeys or values) that carry the mark.
std::vector<std::string> MarkedNames(const platform::RegKey& key, bool subkeys) {
    std::vector<std::string> names;
    std::string text;
    for (std::uint32_t index = 0;; ++index) {
        const long rc = subkeys
                            ? platform::EnumKey(key, index, text, 512)
                            : platform::EnumValue(key, index, text, 512, nullptr, nullptr, nullptr);
        if (rc != platform::kErrorSuccess) break;
        if (text.find(kMark) != std::string::npos) names.push_back(text);
    }
    return names;
}

}  // namespace

void PlantShortcuts(const Plan& plan) {
    for (int i = 0; i < plan.shortcuts; ++i)
        MakeShortcut(plan.ShortcutPath(i), plan.Target(i, IsBroken(i)));
}

void PlantRegistry(const Plan& plan) {
    for (const auto& list : scan::RegistryLists()) {
        const auto key = CreateKey(list.root, list.key);
        for (int i = 0; i < plan.EntriesOf(list); ++i) {
            const int index = plan.FirstTargetOf(list) + i;
            PlantEntry(list, key, index, plan.TargetFolder(index, IsBroken(i)),
                       Plan::TargetName(index));
        }
    }
}

void RemoveRegistryPlantings() {
    for (const auto& list : scan::RegistryLists()) {
        platform::RegKey key;
        if (platform::OpenKey(list.root, list.key, 0, platform::kKeyAllAccess, key) !=
            platform::kErrorSuccess)
            continue;
        for (const auto& subkey : MarkedNames(key, true))
            Check(platform::DeleteKeyTree(list.root, std::string(list.key) + "\\" + subkey),
                  "removing " + subkey);
        for (const auto& value : MarkedNames(key, false))
            Check(platform::DeleteValue(key, value), "removing " + value);
    }
}

}  // namespace bench
