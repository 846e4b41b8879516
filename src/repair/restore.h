// Undoing a repair run from what its backup kept: each registry value it changed comes back
// from the run's export, each shortcut from its copy. Nothing that has changed since the run
// is overwritten, so restoring a run twice changes nothing the second time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "repair/run_record.h"

namespace repair {

enum class Restored {
    Yes,              // put back as it was before the run
    AlreadyAsBefore,  // it was so already: nothing done
    Kept,             // changed since the run (another value, a newer file): left as it is
    Failed,           // could not be put back; the reason tells why
    NothingKept,      // a deleted temporary file: it is gone for good
};

struct Restoration {
    Change change;
    Restored result;
    std::string reason;

    // Whether the change is undone (or needs no undoing).
    bool Undone() const { return result == Restored::Yes || result == Restored::AlreadyAsBefore; }
};

// The runs whose manifests are in the backup folder, newest first.
std::vector<RunRecord> ListRuns();
// The run of this stamp; nothing when the backup folder has no manifest of it.
std::optional<RunRecord> FindRun(const std::string& stamp);
// The bytes that every run's files in the backup folder take together.
std::uint64_t BackupSpace();
// Deletes the run's manifest, exports and copies: ERROR_SUCCESS or the first failure.
long RemoveRun(const std::string& stamp);

// Puts back what the run changed, change by change, in the run's order.
std::vector<Restoration> RestoreRun(const RunRecord& run);

// The stable English name of a restore's result, for reports.
const char* RestoredId(Restored result);

}  // namespace repair
