#include "repair/repair_actions.h"

#include "core/registry_access.h"
#include "core/text.h"
#include "core/translate.h"
#include "model/item.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "scan/command_line.h"
#include "scan/shortcut.h"
#include "ui/interaction.h"

namespace {

// The folder of a path, without its last backslash; the whole path when it has none.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

// A value whose name is the path, with its use count as data (the shared DLLs).
bool PathIsValueName(const clsItem& item) {
    return !item.pCureKeyValueName.empty() &&
           platform::EqualsNoCase(GetPathFromCommandLine(item.pCureKeyValueName),
                                  item.pCureMissingfile);
}

// A value that Windows runs as a command line: an uninstall command or a Run entry. The
// other lists (fonts, application paths) hold a bare path, which quotes would break.
bool HoldsCommandLine(const clsItem& item) {
    if (item.pSTATUS == kStatusWrongUninstall) return true;
    const std::string& key = item.pCureKeyName;
    const size_t slash = key.rfind('\\');
    return platform::EqualsNoCase(slash == std::string::npos ? key : key.substr(slash + 1), "Run");
}

// The value's current text with the missing path replaced by `newPath`, its arguments kept.
// In a command line, a new path with a blank is quoted unless it stood in quotes already:
// unquoted, Windows would take "C:\Program" for the program. A text that does not hold the
// missing path is replaced whole.
std::string RepointedText(const clsItem& item, const std::string& newPath) {
    std::string text =
        ReadRegistryValue(item.pCureKeyRoot, item.pCureKeyName, item.pCureKeyValueName);
    const std::string& missing = item.pCureMissingfile;
    size_t length = 0;
    const size_t at =
        missing.empty() ? std::string::npos : platform::FindNoCase(text, missing, &length);
    if (at == std::string::npos) return newPath;
    const bool quoted = at > 0 && text[at - 1] == '"';
    const bool quote = !quoted && HoldsCommandLine(item) && newPath.find(' ') != std::string::npos;
    return text.replace(at, length, quote ? '"' + newPath + '"' : newPath);
}

bool ChangeRegistryItem(const clsItem& item, const std::string& newPath) {
    switch (item.pCureMethod) {
        case 0:
            if (PathIsValueName(item))
                return RenameRegistryValue(item.pCureKeyRoot, item.pCureKeyName,
                                           item.pCureKeyValueName, newPath);
            return ChangeRegistryValue(item.pCureKeyRoot, item.pCureKeyName, item.pCureKeyValueName,
                                       RepointedText(item, newPath));
        case 1:
            return ChangeRegistryValue(item.pCureKeyRoot, item.pCureKeyName, item.pCureKeyValueName,
                                       FolderOf(newPath));
        default:
            return false;
    }
}

}  // namespace

bool ChangeItem(clsItem& item, const std::string& newPath) {
    if (newPath.empty()) return false;
    bool changed = false;
    if (item.pType() == kTypeRegistry)
        changed = ChangeRegistryItem(item, newPath);
    else if (item.pType() == kTypeShortcut)
        changed = ShortcutRepairDest(item.pCureFilename, newPath);
    if (changed) item.pType(kTypeRepaired);
    return changed;
}

void DeleteItem(clsItem& item) {
    bool deleted = false;
    if (item.pType() == kTypeRegistry)
        deleted = DeleteRegistryValue(item.pCureKeyRoot, item.pCureKeyName, item.pCureKeyValueName);
    else if (item.pType() == kTypeShortcut || item.pType() == kTypeFile)
        deleted = KillFile(item.pCureFilename);
    if (deleted) item.pType(kTypeRepaired);
}

bool KillFile(const std::string& path) {
    if (platform::RemoveFile(path) == platform::kErrorSuccess) return true;
    ui::MsgBox(Translate("error_deleteerror1", "Error: Cannot delete the file") + "\r\n" + path +
                   "\r\n" +
                   Translate("error_deleteerror",
                             "File is most propably read-only. You should delete this file "
                             "manually."),
               ui::vbOKOnly, Translate("error_deleteerror_caption", "Error deleting file"));
    return false;
}
