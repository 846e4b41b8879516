// The restore window: the repair runs that can be undone, newest first, with the space their
// backups take; Restore puts the chosen run's changes back, Remove deletes its backup.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "repair/restore.h"

namespace app {

// The Restore button of the main window: the dialog, the restore of the chosen run, and what
// came back. True when the user then wants a new scan.
bool RunRestoreCommand(forms::Form& owner, const Session& session);

class RestoreDialog : public forms::Dialog {
  public:
    explicit RestoreDialog(const core::Language& language);

    // The run the user chose to restore; nothing after Close, Esc or the close box.
    const std::optional<repair::RunRecord>& Chosen() const { return chosen_; }

  protected:
    void Design() override;
    void OnLoad() override;

  private:
    void ListRuns();
    void Restore();
    void Remove();
    std::string RunLine(const repair::RunRecord& run) const;

    const core::Language& language_;
    forms::Label info_;
    forms::ListBox runs_;
    forms::Label space_;
    forms::Button restore_;
    forms::Button remove_;
    forms::Button close_;
    std::vector<repair::RunRecord> listed_;
    std::optional<repair::RunRecord> chosen_;
};

}  // namespace app
