#include "app/restore_dialog.h"

#include <algorithm>
#include <cstdio>

#include "base/product.h"
#include "forms/interaction.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "repair/backup.h"

namespace app {
namespace {

// At most this many changes that did not come back are named in the closing message.
constexpr std::size_t kNamedLeft = 10;

// "1.4 MB": the space in the unit that suits it.
std::string SpaceText(std::uint64_t bytes) {
    char text[32];
    if (bytes < 1024)
        std::snprintf(text, sizeof text, "%u bytes", static_cast<unsigned>(bytes));
    else if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}

// The run's local time in the user's forms; the stamp when the record lost its time.
std::string WhenText(const repair::RunRecord& run) {
    platform::SystemTime time;
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(run.time.c_str(), "%4u-%2u-%2uT%2u:%2u:%2u", &year, &month, &day, &hour,
                    &minute, &second) != 6)
        return run.stamp;
    time.wYear = static_cast<std::uint16_t>(year);
    time.wMonth = static_cast<std::uint16_t>(month);
    time.wDay = static_cast<std::uint16_t>(day);
    time.wHour = static_cast<std::uint16_t>(hour);
    time.wMinute = static_cast<std::uint16_t>(minute);
    time.wSecond = static_cast<std::uint16_t>(second);
    return platform::ShortDateText(time) + " " + platform::TimeText(time);
}

std::size_t ChangedOfKind(const repair::RunRecord& run, core::ProblemKind kind) {
    return static_cast<std::size_t>(std::count_if(
        run.changes.begin(), run.changes.end(),
        [kind](const repair::Change& c) { return c.Changed() && c.problem.kind == kind; }));
}

// What the restore did: how many changes came back, the first few that did not with their
// reasons, and the question whether to scan again.
std::string ResultText(const std::vector<repair::Restoration>& restorations,
                       const core::Language& language) {
    std::size_t undone = 0, notKept = 0;
    std::string left;
    std::size_t named = 0;
    for (const repair::Restoration& r : restorations) {
        undone += r.Undone();
        notKept += r.result == repair::Restored::NothingKept;
        if (r.Undone() || r.result == repair::Restored::NothingKept) continue;
        if (named++ == kNamedLeft) left += "...\r\n";
        if (named > kNamedLeft) continue;
        const core::Problem& p = r.change.problem;
        left.append(p.location);
        if (!p.valueName.empty()) left.append(" (").append(p.valueName).append(")");
        left.append(": ").append(r.reason).append("\r\n");
    }
    std::string text = language.Text("msgbox_restored", "Changes restored:") + " " +
                       std::to_string(undone) + " / " +
                       std::to_string(restorations.size() - notKept) + "\r\n";
    if (!left.empty())
        text.append("\r\n")
            .append(language.Text("msgbox_restore_left", "Not restored:"))
            .append("\r\n")
            .append(left);
    if (notKept > 0)
        text.append("\r\n")
            .append(language.Text("msgbox_restore_files",
                                  "Deleted temporary files cannot be brought back:"))
            .append(" ")
            .append(std::to_string(notKept))
            .append("\r\n");
    return text.append("\r\n").append(
        language.Text("msgbox_restore_scan", "Find problems again now?"));
}

}  // namespace

bool RunRestoreCommand(forms::Form& owner, const Session& session) {
    RestoreDialog dialog(session.language);
    dialog.Show(forms::ShowMode::Modal, &owner);
    if (!dialog.Chosen()) return false;
    const auto restorations = repair::RestoreRun(*dialog.Chosen());
    return forms::ShowMessage(ResultText(restorations, session.language), base::kProductTitle,
                              forms::Buttons::YesNo) == forms::Answer::Yes;
}

RestoreDialog::RestoreDialog(const core::Language& language)
    : forms::Dialog("RestoreDialog"), language_(language) {}

void RestoreDialog::Design() {
    SetClientSize(9855, 4470);
    Add(info_, "info", {120, 120, 9615, 615});
    Add(runs_, "runs", {120, 840, 9615, 2505});
    Add(space_, "space", {120, 3420, 9615, 375});
    Add(restore_, "restore", {3840, 3960, 1935, 375});
    restore_.Click = [this] { Restore(); };
    Add(remove_, "remove", {5880, 3960, 1935, 375});
    remove_.Click = [this] { Remove(); };
    Add(close_, "close", {7920, 3960, 1815, 375});
    close_.Click = [this] { Unload(); };
    SetDialogButtons(&restore_, &close_);
    SetTabOrder({&runs_, &restore_, &remove_, &close_});
}

void RestoreDialog::OnLoad() {
    const auto text = [this](const char* key, const char* english) {
        return language_.Text(key, english);
    };
    chosen_.reset();
    SetCaption(text("frmrestore_caption", "Restore"));
    restore_.SetCaption(text("frmrestore_restore", "Restore"));
    remove_.SetCaption(text("frmrestore_remove", "Remove"));
    close_.SetCaption(text("frmrestore_close", "Close"));
    ListRuns();
}

void RestoreDialog::ListRuns() {
    listed_ = repair::ListRuns();
    runs_.Clear();
    for (const repair::RunRecord& run : listed_)
        runs_.Add(RunLine(run));
    const bool any = !listed_.empty();
    if (any) runs_.Select(0);
    restore_.SetEnabled(any);
    remove_.SetEnabled(any);
    // The texts of this window are in every language file and built into the program.
    info_.SetCaption(language_.Text(any ? "frmrestore_info" : "frmrestore_none", ""));
    space_.SetCaption(language_.Text("frmrestore_space", "The backups take:") + " " +
                      SpaceText(repair::BackupSpace()) + " (" + repair::BackupFolder() + ")");
}

std::string RestoreDialog::RunLine(const repair::RunRecord& run) const {
    std::string method = "?";
    if (run.method)
        method = language_.Text(*run.method == repair::Method::Aggressive ? "frmrepopt_opt_method1"
                                                                          : "frmrepopt_opt_method0",
                                "");
    std::string line = WhenText(run) + "    " + method + "    " +
                       std::to_string(ChangedOfKind(run, core::ProblemKind::Registry)) + " " +
                       language_.Text("frmrestore_registry", "registry entries") + ", " +
                       std::to_string(ChangedOfKind(run, core::ProblemKind::Shortcut)) + " " +
                       language_.Text("frmrestore_shortcuts", "shortcuts");
    if (run.damaged)
        line.append(" (")
            .append(language_.Text("frmrestore_damaged", "damaged record"))
            .append(")");
    return line;
}

void RestoreDialog::Restore() {
    const int selected = runs_.Selection();
    if (selected < 0 || selected >= static_cast<int>(listed_.size())) return;
    chosen_ = listed_[static_cast<std::size_t>(selected)];
    Unload();
}

// The run's files go for good, after the user has said so.
void RestoreDialog::Remove() {
    const int selected = runs_.Selection();
    if (selected < 0 || selected >= static_cast<int>(listed_.size())) return;
    if (forms::ShowMessage(language_.Text("msgbox_remove_run",
                                          "Remove the backup of this repair? It can no longer "
                                          "be undone afterwards."),
                           base::kProductTitle, forms::Buttons::YesNo,
                           forms::Icon::Warning) != forms::Answer::Yes)
        return;
    if (const long error = repair::RemoveRun(listed_[static_cast<std::size_t>(selected)].stamp);
        error != platform::kErrorSuccess)
        forms::ShowMessage(platform::ErrorDescription(error), base::kProductTitle,
                           forms::Buttons::Ok, forms::Icon::Warning);
    ListRuns();
}

}  // namespace app
