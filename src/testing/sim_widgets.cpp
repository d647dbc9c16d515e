#include "testing/sim_widgets.h"

#include <algorithm>
#include <utility>

#include "platform/logic_fault.h"

namespace quellspur::platform::sim {

void SimWindow::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  journal_.Record(name_ + L".Caption=" + caption);
}

void SimWindow::Show() {
  visible_ = true;
  journal_.Record(name_ + L".Show");
}

void SimWindow::Hide() {
  visible_ = false;
  journal_.Record(name_ + L".Hide");
}

void SimWindow::BringToFront() {
  journal_.Record(name_ + L".BringToFront");
}

void SimWindow::Move(int left, int top) {
  left_ = left;
  top_ = top;
  journal_.Record(name_ + L".Move " + std::to_wstring(left) + L"," + std::to_wstring(top));
}

void SimWindow::SetPointer(MousePointer pointer) {
  pointer_ = pointer;
  journal_.Record(name_ + L".MousePointer=" + std::to_wstring(static_cast<int>(pointer)));
}

// A bad index is an error, as the toolkit's own list raises one.
void SimListBox::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit) {
    throw platform::LogicFault("list index out of range");
  }
}

std::wstring SimListBox::List(int index) const {
  CheckIndex(index, ListCount() - 1);
  return lines_[static_cast<std::size_t>(index)];
}

void SimListBox::AddItem(const std::wstring& text) {
  lines_.push_back(text);
  journal_.Record(name_ + L".AddItem " + text);
}

void SimListBox::InsertItem(const std::wstring& text, int index) {
  CheckIndex(index, ListCount());
  lines_.insert(lines_.begin() + index, text);
  if (selected_ >= index) {
    ++selected_;
  }
  journal_.Record(name_ + L".AddItem " + text + L" at " + std::to_wstring(index));
}

void SimListBox::RemoveItem(int index) {
  CheckIndex(index, ListCount() - 1);
  lines_.erase(lines_.begin() + index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
  journal_.Record(name_ + L".RemoveItem " + std::to_wstring(index));
}

void SimListBox::Clear() {
  lines_.clear();
  selected_ = -1;
  journal_.Record(name_ + L".Clear");
}

void SimListBox::SetListIndex(int index) {
  CheckIndex(index, ListCount() - 1);
  selected_ = index;
  journal_.Record(name_ + L".ListIndex=" + std::to_wstring(index));
  Raise(onClick_);
}

int SimListBox::ScrollWidth() const {
  std::size_t widest = 0;
  for (const std::wstring& line : lines_) {
    widest = std::max(widest, line.size());
  }
  return static_cast<int>(widest) * kCharacterWidth;
}

std::wstring SimColumnList::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0) {
    return {};
  }
  const std::vector<std::wstring>& cells = rows_[static_cast<std::size_t>(row)].cells;
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                         : std::wstring();
}

void SimColumnList::AddRow(const std::vector<std::wstring>& cells) {
  Row row;
  row.cells.assign(cells.begin(),
                   cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), columns_)));
  rows_.push_back(std::move(row));
  journal_.Record(name_ + L".AddRow " + Rows().back());
}

void SimColumnList::Clear() {
  const bool hadSelection =
      std::any_of(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; });
  rows_.clear();
  journal_.Record(name_ + L".Clear");
  if (hadSelection) {
    Raise(onSelectionChange_);
  }
}

bool SimColumnList::Selected(int row) const {
  return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].selected;
}

void SimColumnList::SetSelected(int row, bool selected) {
  if (row < 0 || row >= RowCount() || rows_[static_cast<std::size_t>(row)].selected == selected) {
    return;
  }
  rows_[static_cast<std::size_t>(row)].selected = selected;
  journal_.Record(name_ + L".Selected " + std::to_wstring(row) + (selected ? L"=1" : L"=0"));
  Raise(onSelectionChange_);
}

void SimColumnList::ClickHeader(int column) {
  if (onColumnClick_ && column >= 0 && static_cast<std::size_t>(column) < columns_) {
    const auto call = onColumnClick_;
    call(column);
  }
}

std::vector<std::wstring> SimColumnList::Rows() const {
  std::vector<std::wstring> texts;
  for (const Row& row : rows_) {
    std::wstring text;
    for (std::size_t column = 0; column < columns_; ++column) {
      text += (column == 0 ? L"" : L" | ") +
              (column < row.cells.size() ? row.cells[column] : std::wstring());
    }
    texts.push_back(std::move(text));
  }
  return texts;
}

int SimDesktop::MessageBox(const std::wstring& text, const std::wstring& caption,
                           std::uint32_t style) {
  shown_.push_back({caption, text, style});
  journal_.Record(L"MessageBox " + caption + L": " + text + L" (" + std::to_wstring(style) + L")");
  Raise(std::exchange(meanwhile_, nullptr));
  if (!messageBoxAnswers_.empty()) {
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
  }
  constexpr std::uint32_t kButtons = 0xF;
  return (style & kButtons) == (kMbYesNoQuestion & kButtons) ? kIdYes : kIdOk;
}

std::optional<std::wstring> SimDesktop::SaveFileName(const std::wstring& title,
                                                     const std::wstring& folder,
                                                     const std::wstring& suggestedName) {
  offeredNames_.push_back(suggestedName);
  journal_.Record(L"SaveFileName " + title + L": " + folder + L"\\" + suggestedName);
  if (saveDialogAnswers_.empty()) {
    return std::nullopt;
  }
  std::optional<std::wstring> answer = saveDialogAnswers_.front();
  saveDialogAnswers_.pop_front();
  return answer;
}

void SimButton::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  journal_.Record(name_ + L".Caption=" + caption);
}

void SimButton::SetEnabled(bool enabled) {
  enabled_ = enabled;
  journal_.Record(name_ + L".Enabled=" + (enabled ? L"1" : L"0"));
}

void SimButton::Click() {
  if (enabled_) {
    Raise(onClick_);
  }
}

void SimCheckBox::SetValue(int value) {
  value_ = value;
  journal_.Record(name_ + L".Value=" + std::to_wstring(value));
}

void SimLabel::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  journal_.Record(name_ + L".Caption=" + caption);
}

void SimTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  remaining_ = milliseconds;
}

// Switching it on, even when it is on already, starts a full interval.
void SimTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  remaining_ = interval_;
  journal_.Record(name_ + L".Enabled=" + (enabled ? L"1" : L"0"));
}

void SimTimer::Elapse() {
  if (enabled_) {
    remaining_ = interval_;
    Raise(onTimer_);
  }
}

}  // namespace quellspur::platform::sim
