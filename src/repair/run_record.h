// What a repair run did, change by change, as its manifest in the backup folder keeps it:
// the record an undo works from. The manifest is JSON with one change per line, so that a
// damaged or cut file still gives back every change before the damage.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"
#include "platform/clock.h"
#include "repair/actions.h"

namespace repair {

// One problem the run handled: the entry or file, what the run did with it, and where its
// earlier state is kept (the export that holds the entry's key, or the shortcut's copy).
struct Change {
    core::Problem problem;
    Outcome outcome{Action::Failed};
    std::string backupFile;

    // Whether the run changed something here: re-pointed or deleted.
    bool Changed() const {
        return outcome.action == Action::Repointed || outcome.action == Action::Deleted;
    }
};

struct RunRecord {
    std::string stamp;             // "yymmdd-HhNnSs", as the run's file names start
    std::string time;              // local, ISO 8601
    std::optional<Method> method;  // nothing when the manifest lost it
    std::vector<Change> changes;
    bool damaged = false;  // some of the manifest could not be read
};

// The stable English names that manifests and reports share.
const char* KindId(core::ProblemKind kind);
const char* CategoryId(core::Category category);
const char* ActionId(Action action);
const char* MethodId(Method method);

// "2026-12-07T09:05:03": a local time as reports and manifests write it.
std::string IsoTime(const platform::SystemTime& time);

std::string ManifestText(const RunRecord& record);
// The record a manifest holds, as much of it as can be read; the stamp is the caller's.
RunRecord ReadManifest(const std::string& stamp, const std::string& text);

}  // namespace repair
