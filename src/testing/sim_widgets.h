// Widgets without a screen: they keep their state, raise their events as the real ones do, and
// note every change in a journal.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/widgets.h"
#include "testing/journal.h"

namespace quellspur::platform::sim {

// Calls an event handler through a copy: the handler may unload, even delete, the form that holds
// the widget, and with it the function being called.
inline void Raise(const Handler& handler) {
  if (handler) {
    const Handler call = handler;
    call();
  }
}

class SimWindow : public Window {
 public:
  SimWindow(Journal& journal, std::wstring name, int width, int height)
      : journal_(journal), name_(std::move(name)), width_(width), height_(height) {}

  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override;
  bool Visible() const override { return visible_; }
  void Show() override;
  void Hide() override;
  void BringToFront() override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Move(int left, int top) override;
  MousePointer Pointer() const override { return pointer_; }
  void SetPointer(MousePointer pointer) override;

  int left() const { return left_; }
  int top() const { return top_; }

 private:
  Journal& journal_;
  std::wstring name_;
  std::wstring caption_;
  bool visible_ = false;
  int width_;
  int height_;
  int left_ = 0;
  int top_ = 0;
  MousePointer pointer_ = MousePointer::Default;
};

class SimListBox : public ListBox {
 public:
  SimListBox(Journal& journal, std::wstring name) : journal_(journal), name_(std::move(name)) {}

  int ListCount() const override { return static_cast<int>(lines_.size()); }
  std::wstring List(int index) const override;
  void AddItem(const std::wstring& text) override;
  void InsertItem(const std::wstring& text, int index) override;
  void RemoveItem(int index) override;
  void Clear() override;
  bool Selected(int index) const override { return index == selected_; }
  int ListIndex() const override { return selected_; }
  void SetListIndex(int index) override;
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }
  // Measured as if every character were of the screen font's average width.
  int ScrollWidth() const override;

  const std::vector<std::wstring>& lines() const { return lines_; }
  // The average character of the dialog font at 96 dots per inch, in twips.
  static constexpr int kCharacterWidth = 6 * 15;

 private:
  void CheckIndex(int index, int limit) const;

  Journal& journal_;
  std::wstring name_;
  std::vector<std::wstring> lines_;
  int selected_ = -1;
  Handler onClick_;
};

class SimColumnList : public ColumnList {
 public:
  SimColumnList(Journal& journal, std::wstring name, std::size_t columns)
      : journal_(journal), name_(std::move(name)), columns_(columns) {}

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::wstring Cell(int row, int column) const override;
  void AddRow(const std::vector<std::wstring>& cells) override;
  void Clear() override;
  bool Selected(int row) const override;
  void SetSelected(int row, bool selected) override;
  void OnSelectionChange(Handler handler) override { onSelectionChange_ = std::move(handler); }
  void OnColumnClick(std::function<void(int column)> handler) override {
    onColumnClick_ = std::move(handler);
  }

  // The user clicks a column's header.
  void ClickHeader(int column);
  // The rows as the user reads them, a row's cells joined by " | ".
  std::vector<std::wstring> Rows() const;

 private:
  struct Row {
    std::vector<std::wstring> cells;
    bool selected = false;
  };

  Journal& journal_;
  std::wstring name_;
  std::size_t columns_;
  std::vector<Row> rows_;
  Handler onSelectionChange_;
  std::function<void(int)> onColumnClick_;
};

class SimButton : public Button {
 public:
  SimButton(Journal& journal, std::wstring name, std::wstring caption, bool enabled)
      : journal_(journal),
        name_(std::move(name)),
        caption_(std::move(caption)),
        enabled_(enabled) {}

  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }

  // A user's click; a disabled button takes none.
  void Click();

 private:
  Journal& journal_;
  std::wstring name_;
  std::wstring caption_;
  bool enabled_;
  Handler onClick_;
};

class SimTimer : public Timer {
 public:
  SimTimer(Journal& journal, std::wstring name, int interval)
      : journal_(journal), name_(std::move(name)), interval_(interval) {}

  int Interval() const override { return interval_; }
  void SetInterval(int milliseconds) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  void OnTimer(Handler handler) override { onTimer_ = std::move(handler); }

  // The interval has passed: an enabled timer starts the next one and raises its event.
  void Elapse();
  // Milliseconds until the next tick; -1 while the timer is off or its interval is 0.
  int DueIn() const { return enabled_ && interval_ > 0 ? remaining_ : -1; }
  // Time passes short of the tick.
  void Wait(int milliseconds) { remaining_ -= milliseconds; }

 private:
  Journal& journal_;
  std::wstring name_;
  int interval_;
  int remaining_ = 0;
  bool enabled_ = false;
  Handler onTimer_;
};

class SimCheckBox : public CheckBox {
 public:
  SimCheckBox(Journal& journal, std::wstring name) : journal_(journal), name_(std::move(name)) {}
  int Value() const override { return value_; }
  void SetValue(int value) override;
  // A user's click: a checked box goes off, any other on.
  void Click() { SetValue(value_ == 1 ? 0 : 1); }

 private:
  Journal& journal_;
  std::wstring name_;
  int value_ = 0;
};

class SimLabel : public Label {
 public:
  SimLabel(Journal& journal, std::wstring name) : journal_(journal), name_(std::move(name)) {}
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override;

 private:
  Journal& journal_;
  std::wstring name_;
  std::wstring caption_;
};

class SimMenuItem : public MenuItem {
 public:
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }
  // The user chooses the item.
  void Click() { Raise(onClick_); }

 private:
  Handler onClick_;
};

// A message box as the user saw it.
struct ShownMessageBox {
  std::wstring caption;
  std::wstring text;
  std::uint32_t style = 0;
};

// A 1024 x 768 screen at 96 dots per inch.
class SimDesktop : public Desktop {
 public:
  explicit SimDesktop(Journal& journal) : journal_(journal) {}
  void Beep() override { journal_.Record(L"Beep"); }
  int ScreenWidth() const override { return 1024 * 15; }
  int ScreenHeight() const override { return 768 * 15; }
  // Notes the box; the user answers with the next answer given, or else its first button.
  int MessageBox(const std::wstring& text, const std::wstring& caption,
                 std::uint32_t style) override;
  // Notes the dialog; the user answers with the next path given, or else cancels.
  std::optional<std::wstring> SaveFileName(const std::wstring& title, const std::wstring& folder,
                                           const std::wstring& suggestedName) override;

  // What happens while the next message box waits for its answer: messages of timers and other
  // windows are handled meanwhile.
  void WhileNextMessageBoxWaits(Handler meanwhile) { meanwhile_ = std::move(meanwhile); }
  // What the user answers to the next message box, and to the next save dialog.
  void AnswerNextMessageBox(int button) { messageBoxAnswers_.push_back(button); }
  void AnswerNextSaveDialog(std::optional<std::wstring> path) {
    saveDialogAnswers_.push_back(std::move(path));
  }

  // The boxes shown so far, the first first.
  const std::vector<ShownMessageBox>& shown() const { return shown_; }
  // The names the save dialogs offered, the first first.
  const std::vector<std::wstring>& offeredNames() const { return offeredNames_; }

 private:
  Journal& journal_;
  std::vector<ShownMessageBox> shown_;
  std::deque<int> messageBoxAnswers_;
  Handler meanwhile_;
  std::deque<std::optional<std::wstring>> saveDialogAnswers_;
  std::vector<std::wstring> offeredNames_;
};

}  // namespace quellspur::platform::sim
