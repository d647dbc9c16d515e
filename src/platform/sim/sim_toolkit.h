// Forms without a screen: built from their design out of simulated widgets, and kept findable by
// name for the tests while they are loaded.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/form_spec.h"
#include "platform/sim/sim_widgets.h"
#include "platform/toolkit.h"

namespace quellspur::platform::sim {

class SimToolkit;

class SimForm : public Form {
 public:
  SimForm(SimToolkit& toolkit, Journal& journal, const FormSpec& spec);
  ~SimForm() override;

  std::wstring Caption() const override { return window_.Caption(); }
  void SetCaption(const std::wstring& caption) override { window_.SetCaption(caption); }
  bool Visible() const override { return window_.Visible(); }
  void Show() override { window_.Show(); }
  void Hide() override { window_.Hide(); }
  void BringToFront() override { window_.BringToFront(); }
  int Width() const override { return window_.Width(); }
  int Height() const override { return window_.Height(); }
  void Move(int left, int top) override { window_.Move(left, top); }
  MousePointer Pointer() const override { return window_.Pointer(); }
  void SetPointer(MousePointer pointer) override { window_.SetPointer(pointer); }

  Button& ButtonNamed(const std::wstring& name) override { return Find(buttons_, name); }
  CheckBox& CheckBoxNamed(const std::wstring& name) override { return Find(checkBoxes_, name); }
  Label& LabelNamed(const std::wstring& name) override { return Find(labels_, name); }
  ListBox& ListBoxNamed(const std::wstring& name) override { return Find(listBoxes_, name); }

  void OnCloseRequest(std::function<bool()> keepOpen) override { keepOpen_ = std::move(keepOpen); }
  void Unload() override;
  bool Loaded() const override { return loaded_; }

  // The user clicks the close box.
  void UserCloses();

  const FormSpec& spec() const { return spec_; }
  const SimWindow& window() const { return window_; }
  SimButton& SimButtonNamed(const std::wstring& name) { return Find(buttons_, name); }
  SimCheckBox& SimCheckBoxNamed(const std::wstring& name) { return Find(checkBoxes_, name); }

 private:
  // Takes the form off the toolkit's list of loaded forms.
  void Forget();
  template <typename Widget>
  static Widget& Find(std::map<std::wstring, std::unique_ptr<Widget>>& widgets,
                      const std::wstring& name);

  SimToolkit& toolkit_;
  Journal& journal_;
  FormSpec spec_;
  SimWindow window_;
  bool loaded_ = true;
  std::function<bool()> keepOpen_;
  std::map<std::wstring, std::unique_ptr<SimButton>> buttons_;
  std::map<std::wstring, std::unique_ptr<SimCheckBox>> checkBoxes_;
  std::map<std::wstring, std::unique_ptr<SimLabel>> labels_;
  std::map<std::wstring, std::unique_ptr<SimListBox>> listBoxes_;
};

class SimToolkit : public Toolkit {
 public:
  explicit SimToolkit(Journal& journal) : journal_(journal), desktop_(journal) {}

  std::unique_ptr<Form> LoadForm(const FormSpec& spec) override;
  Desktop& desktop() override { return desktop_; }

  // The loaded form of that name, or nullptr.
  SimForm* FormNamed(const std::wstring& name);

 private:
  friend class SimForm;
  Journal& journal_;
  SimDesktop desktop_;
  std::map<std::wstring, SimForm*> loaded_;
};

}  // namespace quellspur::platform::sim
