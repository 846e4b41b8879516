#include "repair/run_record.h"

#include <algorithm>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "base/text.h"

namespace repair {
namespace {

using Json = nlohmann::ordered_json;

// Each enum's names, in the order of its values.
constexpr const char* kKinds[] = {"registry", "shortcut", "file"};
constexpr const char* kCategories[] = {"broken-link", "unused-file", "wrong-uninstall",
                                       "wrong-help"};
constexpr const char* kActions[] = {"repointed", "deleted", "left-needs-choice", "left-failed"};
constexpr const char* kMethods[] = {"conservative", "aggressive"};

template <typename Enum, std::size_t N>
std::optional<Enum> FromId(const char* const (&names)[N], const std::string& id) {
    for (std::size_t i = 0; i < N; ++i)
        if (id == names[i]) return static_cast<Enum>(i);
    return std::nullopt;
}

template <std::size_t N>
const char* ToId(const char* const (&names)[N], std::size_t value) {
    return value < N ? names[value] : "unknown";
}

platform::RootKey RootFromName(const std::string& name) {
    for (const platform::RootKey root :
         {platform::kHkeyClassesRoot, platform::kHkeyCurrentUser, platform::kHkeyLocalMachine,
          platform::kHkeyUsers, platform::kHkeyCurrentConfig})
        if (name == platform::RootKeyName(root)) return root;
    return 0;
}

// A text as a JSON string; a name that is no valid UTF-8 gets a replacement character.
std::string Quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// One change as a JSON object on one line. Written field by field: a run of many thousand
// deleted files writes as many lines, and a whole object for each costs more than the rest.
std::string ChangeLine(const Change& change) {
    const core::Problem& p = change.problem;
    std::string line = "{";
    const auto add = [&line](const char* name, const std::string& value) {
        line.append(line.size() > 1 ? ",\"" : "\"")
            .append(name)
            .append("\":")
            .append(Quoted(value));
    };
    add("kind", KindId(p.kind));
    add("category", CategoryId(p.category));
    add("location", p.location);
    add("missingFile", p.missingFile);
    add("action", ActionId(change.outcome.action));
    add("newPath", change.outcome.newPath);
    add("reason", change.outcome.reason);
    add("backupFile", change.backupFile);
    if (p.kind == core::ProblemKind::Registry) {
        add("root", platform::RootKeyName(p.root));
        add("key", p.keyPath);
        add("valueName", p.valueName);
        // A help entry holds the folder of its file: the run wrote the new path's folder.
        add("cure", p.cure == core::Cure::PointToFolder ? "folder" : "file");
    } else {
        add("file", p.file);
        // A temporary file is deleted for good: nothing of it is kept.
        line.append(p.kind == core::ProblemKind::Shortcut ? ",\"restorable\":true"
                                                          : ",\"restorable\":false");
    }
    return line.append("}");
}

std::string Text(const Json& json, const char* name) {
    const auto field = json.find(name);
    return field != json.end() && field->is_string() ? field->get<std::string>() : "";
}

// A change line; nothing when a field it cannot go without is missing or unknown.
std::optional<Change> ChangeFrom(const Json& json) {
    if (!json.is_object()) return std::nullopt;
    const auto kind = FromId<core::ProblemKind>(kKinds, Text(json, "kind"));
    const auto action = FromId<Action>(kActions, Text(json, "action"));
    if (!kind || !action) return std::nullopt;
    Change change;
    change.outcome = Outcome(*action, Text(json, "newPath"), Text(json, "reason"));
    change.backupFile = Text(json, "backupFile");
    core::Problem& p = change.problem;
    p.kind = *kind;
    p.category = FromId<core::Category>(kCategories, Text(json, "category")).value_or(p.category);
    p.location = Text(json, "location");
    p.missingFile = Text(json, "missingFile");
    p.file = Text(json, "file");
    p.root = RootFromName(Text(json, "root"));
    p.keyPath = Text(json, "key");
    p.valueName = Text(json, "valueName");
    p.cure = Text(json, "cure") == "folder" ? core::Cure::PointToFolder : core::Cure::PointToFile;
    const bool complete =
        p.kind == core::ProblemKind::Registry ? p.root != 0 && !p.keyPath.empty() : !p.file.empty();
    if (!complete) return std::nullopt;
    return change;
}

Json Parsed(std::string_view text) {
    return Json::parse(text, nullptr, false);
}

}  // namespace

std::string IsoTime(const platform::SystemTime& t) {
    char text[64];  // room for any field values
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return text;
}

const char* KindId(core::ProblemKind kind) {
    return ToId(kKinds, static_cast<std::size_t>(kind));
}
const char* CategoryId(core::Category category) {
    return ToId(kCategories, static_cast<std::size_t>(category));
}
const char* ActionId(Action action) {
    return ToId(kActions, static_cast<std::size_t>(action));
}
const char* MethodId(Method method) {
    return ToId(kMethods, static_cast<std::size_t>(method));
}

// The header and each change on lines of their own: the whole is one JSON object, and each
// change line is one as well.
std::string ManifestText(const RunRecord& record) {
    std::string text = "{\"time\": " + Quoted(record.time) +
                       ", \"method\": " + Quoted(record.method ? MethodId(*record.method) : "") +
                       ",\r\n\"changes\": [\r\n";
    for (std::size_t i = 0; i < record.changes.size(); ++i)
        text.append(ChangeLine(record.changes[i]))
            .append(i + 1 < record.changes.size() ? ",\r\n" : "\r\n");
    return text.append("]}\r\n");
}

// A whole manifest is read as one; a damaged one line by line, each line that is a change
// on its own (the header's method too, when its line is whole) kept.
RunRecord ReadManifest(const std::string& stamp, const std::string& text) {
    RunRecord record{stamp, "", std::nullopt, {}, false};
    const Json whole = Parsed(text);
    std::vector<Json> lines;
    if (whole.is_object() && whole.contains("changes") && whole["changes"].is_array()) {
        record.time = Text(whole, "time");
        record.method = FromId<Method>(kMethods, Text(whole, "method"));
        lines.assign(whole["changes"].begin(), whole["changes"].end());
    } else {
        record.damaged = true;
        std::size_t begin = 0;
        while (begin < text.size()) {
            const std::size_t end = std::min(text.find('\n', begin), text.size());
            std::string line =
                base::Trim(std::string_view(text).substr(begin, end - begin), " \t\r,");
            begin = end + 1;
            if (line.rfind("{\"time\"", 0) == 0) {  // the header: `{"time": .., "method": ..`
                const Json header = Parsed(line + "}");
                record.time = Text(header, "time");
                record.method = FromId<Method>(kMethods, Text(header, "method"));
            } else {
                lines.push_back(Parsed(line));
            }
        }
    }
    for (const Json& line : lines) {
        if (auto change = ChangeFrom(line))
            record.changes.push_back(std::move(*change));
        else
            record.damaged = true;
    }
    return record;
}

}  // namespace repair
