// The chooser: which of several found files a broken entry is to point to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/problem.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace app {

// Shows the candidates modally over `owner`, the first one selected; the chosen path after
// OK, nothing after Cancel, Esc or the close box.
std::optional<std::string> ChoosePath(forms::Form* owner, const core::Language& language,
                                      const core::Problem& problem,
                                      const std::vector<std::string>& candidates);

class ChooserDialog : public forms::Dialog {
  public:
    // The dialog names the missing file itself: several entries may share one location
    // (every shared DLL's count lives in the same key).
    ChooserDialog(const core::Language& language, const core::Problem& problem,
                  const std::vector<std::string>& candidates);

    const std::optional<std::string>& Chosen() const { return chosen_; }

  protected:
    void Design() override;
    void OnLoad() override;

  private:
    void Accept();

    const core::Language& language_;
    const core::Problem& problem_;
    const std::vector<std::string>& candidates_;
    forms::Label info_;
    forms::Label missing_;
    forms::ListBox paths_;
    forms::Button ok_;
    forms::Button cancel_;
    std::optional<std::string> chosen_;
};

}  // namespace app
