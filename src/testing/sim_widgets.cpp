#include "testing/sim_widgets.h"

#include <stdexcept>

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
    throw std::out_of_range("list index out of range");
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
