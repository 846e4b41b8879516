#include "core/problem.h"

#include "base/text.h"
#include "core/language.h"

namespace core {

// A shortcut's identity puts its (empty) value name before its location; stored row keys and
// the list's order of rows depend on these texts.
std::array<std::string_view, 4> Problem::IdentityParts() const {
    switch (kind) {
        case ProblemKind::Registry:
            return {"registry_", location, "_", valueName};
        case ProblemKind::Shortcut:
            return {"shortcut__", location};
        case ProblemKind::File:
            return {"file_", location, "_"};
    }
    return {"unknown_"};
}

std::string Problem::Identity() const {
    std::string identity;
    for (const std::string_view part : IdentityParts())
        identity += part;
    return identity;
}

std::uint64_t Problem::IdentityHash() const {
    std::uint64_t hash = base::kHashNoCaseStart;
    for (const std::string_view part : IdentityParts())
        hash = base::HashNoCase(part, hash);
    return hash;
}

std::string KindText(ProblemKind kind, const Language& language) {
    switch (kind) {
        case ProblemKind::Registry:
            return language.Text("type_registry", "Registry");
        case ProblemKind::Shortcut:
            return language.Text("type_shortcut", "Shortcut");
        case ProblemKind::File:
            return language.Text("type_file", "File");
    }
    return "";
}

std::string CategoryText(Category category, const Language& language) {
    switch (category) {
        case Category::BrokenLink:
            return language.Text("status_brokenlink", "Broken link");
        case Category::UnusedFile:
            return language.Text("status_unusedfile", "Unused file");
        case Category::WrongUninstall:
            return language.Text("status_wronguninstall", "Wrong uninstall info");
        case Category::WrongHelp:
            return language.Text("status_wronghelp", "Broken help link");
    }
    return "";
}

}  // namespace core
