// The user a repair asks, answering through dialogs and message boxes.
#pragma once

#include "core/language.h"
#include "forms/form.h"
#include "repair/user.h"

namespace app {

class WindowUser : public repair::User {
  public:
    explicit WindowUser(const core::Language& language) : language_(language) {}

    // The window the chooser shows over; none: the active one.
    void SetOwner(forms::Form* owner) { owner_ = owner; }

    std::optional<std::string> ChoosePath(const core::Problem& problem,
                                          const std::vector<std::string>& candidates) override;
    void CannotDelete(const std::string& path) override;
    bool RepairWithoutCompleteBackup() override;

  private:
    const core::Language& language_;
    forms::Form* owner_ = nullptr;
};

}  // namespace app
