// The toolkit's contract on the host: simulated forms, whose widgets take a user's click directly
// and whose timers run on the toolkit's own clock.
#include "testing/sim_toolkit.h"
#include "toolkit_support.h"

namespace quellspur::contract {
namespace {

using platform::sim::SimButton;
using platform::sim::SimCheckBox;
using platform::sim::SimColumnList;
using platform::sim::SimDesktop;
using platform::sim::SimForm;

constexpr std::uint32_t kOkOnly = 0;  // MB_OK

class SimUserInterface final : public UserInterface {
 public:
  platform::Toolkit& toolkit() override { return toolkit_; }
  void Click(platform::Button& button) override { dynamic_cast<SimButton&>(button).Click(); }
  void Click(platform::CheckBox& box) override { dynamic_cast<SimCheckBox&>(box).Click(); }
  // The simulated list raises the same click for a selection by program as for a user's.
  void ClickLine(platform::ListBox& list, int line) override { list.SetListIndex(line); }
  // The simulated list selects as the real one does for a click: the row alone, or with Ctrl
  // turned in or out of the selection.
  void ClickRow(platform::ColumnList& list, int row, bool withControl) override {
    if (withControl) {
      list.SetSelected(row, !list.Selected(row));
      return;
    }
    for (int other = 0; other < list.RowCount(); ++other) {
      if (other != row) {
        list.SetSelected(other, false);
      }
    }
    list.SetSelected(row, true);
  }
  void ClickHeader(platform::ColumnList& list, int column) override {
    dynamic_cast<SimColumnList&>(list).ClickHeader(column);
  }
  std::optional<std::wstring> ShowSaveDialog(const std::optional<std::wstring>& typed) override {
    toolkit_.simDesktop().AnswerNextSaveDialog(typed);
    return toolkit_.desktop().SaveFileName(L"Save", L"", L"name.exe");
  }
  void AskToClose(platform::Form& form, platform::CloseReason reason) override {
    dynamic_cast<SimForm&>(form).AskToClose(reason);
  }
  void LetTimePass(int milliseconds) override { toolkit_.LetTimePass(milliseconds); }
  std::wstring CaptionOnScreen(platform::Form& form) override {
    return dynamic_cast<SimForm&>(form).window().Caption();
  }
  SeenMessageBox ShowMessageBox(const std::wstring& text, const std::wstring& caption) override {
    SeenMessageBox seen;
    seen.answer = toolkit_.desktop().MessageBox(text, caption, kOkOnly);
    const auto& shown = dynamic_cast<SimDesktop&>(toolkit_.desktop()).shown();
    if (!shown.empty()) {
      seen.caption = shown.back().caption;
      seen.text = shown.back().text;
    }
    return seen;
  }
  bool Simulated() const override { return true; }

 private:
  platform::sim::Journal journal_;
  platform::sim::SimToolkit toolkit_{journal_};
};

}  // namespace

UserInterface& TheUserInterface() {
  static SimUserInterface ui;
  return ui;
}

}  // namespace quellspur::contract
