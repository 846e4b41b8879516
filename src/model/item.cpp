#include "model/item.h"

#include "core/translate.h"

ProblemCollection colProblems;

void AddItem(const std::shared_ptr<clsItem>& item) {
    colProblems.Add(item);
}

void clsItem::pType(long val) {
    type_ = val;
    UpdateUID();
}

void clsItem::pName(const std::string& val) {
    name_ = val;
    UpdateUID();
}

void clsItem::pKey(const std::string& val) {
    key_ = val;
    UpdateUID();
}

void clsItem::UpdateUID() {
    switch (type_) {
        case kTypeRegistry:
            uid_ = "registry_" + name_ + "_" + key_;
            break;
        // A shortcut's key comes before its name.
        case kTypeShortcut:
            uid_ = "shortcut_" + key_ + "_" + name_;
            break;
        case kTypeFile:
            uid_ = "file_" + name_ + "_" + key_;
            break;
        default:
            uid_ = "unknown_";
    }
}

std::string clsItem::pTypeName() const {
    switch (type_) {
        case kTypeRegistry:
            return Translate("type_registry", "Registry");
        case kTypeShortcut:
            return Translate("type_shortcut", "Shortcut");
        case kTypeFile:
            return Translate("type_file", "File");
        default:
            return "";
    }
}

std::string clsItem::pStatusName() const {
    switch (pSTATUS) {
        case kStatusBrokenLink:
            return Translate("status_brokenlink", "Broken link");
        case kStatusUnusedFile:
            return Translate("status_unusedfile", "Unused file");
        case kStatusWrongUninstall:
            return Translate("status_wronguninstall", "Wrong uninstall info");
        case kStatusWrongHelp:
            return Translate("status_wronghelp", "Broken help link");
        default:
            return "";
    }
}
