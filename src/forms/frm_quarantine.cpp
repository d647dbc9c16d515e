#include "forms/frm_quarantine.h"

#include <algorithm>
#include <variant>

#include "clean/file_quarantine.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

using platform::Control;
using platform::ControlDesign;
using platform::ControlKind;

constexpr wchar_t kCaption[] = L"Quarantine";

constexpr ControlDesign Anchored(ControlDesign control, unsigned anchors) {
  control.anchors = anchors;
  return control;
}

std::wstring WhatWasDone(const QuarantineItem& item) {
  if (!item.entry) {
    return L"copy without a record";
  }
  if (std::holds_alternative<FileChange>(item.entry->change)) {
    return L"file moved into quarantine";
  }
  if (std::holds_alternative<RegistryChange>(item.entry->change)) {
    return L"start value removed";
  }
  return L"win.ini lines taken out";
}

std::wstring Where(const QuarantineItem& item) {
  if (!item.entry) {
    return item.unrecordedCopy;
  }
  if (const auto* file = std::get_if<FileChange>(&item.entry->change)) {
    return file->originalPath;
  }
  if (const auto* value = std::get_if<RegistryChange>(&item.entry->change)) {
    std::wstring where =
        Joined({RootKeyName(value->rootKey), L"\\", value->subKey, L", ", value->valueName});
    if (value->view != 0) {
      where += Joined({L" (", RegistryViewName(value->view), L" view)"});
    }
    return where;
  }
  std::wstring where;
  if (const auto* winIni = std::get_if<WinIniChange>(&item.entry->change)) {
    where = Joined({winIni->winIniPath, L", line"});
    where += winIni->lines.size() == 1 ? L" " : L"s ";
    for (std::size_t index = 0; index < winIni->lines.size(); ++index) {
      where += (index == 0 ? L"" : L", ") + DecimalText(winIni->lines[index].lineNumber);
    }
  }
  return where;
}

// Newest first by the recorded times; among equal times the later record line is the newer.
bool Newer(const QuarantineItem& a, const QuarantineItem& b) {
  if (a.entry.has_value() != b.entry.has_value()) {
    return a.entry.has_value();
  }
  if (!a.entry) {
    return UpperCase(a.unrecordedCopy) < UpperCase(b.unrecordedCopy);
  }
  return a.entry->time != b.entry->time ? a.entry->time > b.entry->time : a.entry->id > b.entry->id;
}

// The copy's name without the extension the quarantine gave it.
std::wstring OriginalName(const std::wstring& copyName) {
  if (copyName.size() > kQuarantineEnding.size() && HasQuarantineEnding(copyName)) {
    return copyName.substr(0, copyName.size() - kQuarantineEnding.size());
  }
  return copyName;
}

bool IsBack(const RestoreResult& result) {
  return result.outcome == RestoreOutcome::Restored ||
         result.outcome == RestoreOutcome::AlreadyInPlace;
}

std::wstring Changes(std::size_t count) {
  return DecimalText(count) + (count == 1 ? L" change" : L" changes");
}

constexpr platform::ColumnDesign kColumns[] = {{L"Time", 2250},
                                               {L"Backdoor", 1200},
                                               {L"What was done", 2400},
                                               {L"Where", 3300},
                                               {L"State", 1300}};

constexpr ControlDesign WithColumns(ControlDesign list) {
  list.columns = kColumns;
  return list;
}

constexpr ControlDesign Default(ControlDesign button) {
  button.isDefault = true;
  return button;
}

constexpr ControlDesign Cancel(ControlDesign button) {
  button.cancel = true;
  return button;
}

constexpr unsigned kBottomRight = platform::kAnchorRight | platform::kAnchorBottom;

constexpr ControlDesign kQuarantineControls[] = {
    // Its mnemonic takes the keyboard to the list, next in the tab order.
    Control(ControlKind::Label, L"lblChanges", L"", L"C&hanges and copies in quarantine:", L"", 120,
            120, 6000, 255, 0),
    Anchored(WithColumns(Control(ControlKind::ColumnList, L"lstChanges", L"", L"", L"", 120, 400,
                                 10560, 3480, 1)),
             platform::kAnchorLeft | platform::kAnchorTop | kBottomRight),
    Anchored(Control(ControlKind::Label, L"lblStatus", L"", L"", L"", 120, 3960, 5520, 615, -1),
             platform::kAnchorLeft | kBottomRight),
    Anchored(Default(Control(ControlKind::Button, L"cmdRestore", L"", L"&Restore", L"", 5760, 4080,
                             1575, 375, 2)),
             kBottomRight),
    Anchored(Control(ControlKind::Button, L"cmdRestoreTo", L"", L"Restore &to...", L"", 7440, 4080,
                     1575, 375, 3),
             kBottomRight),
    Anchored(Cancel(Control(ControlKind::Button, L"cmdClose", L"", L"&Close", L"", 9120, 4080, 1560,
                            375, 4)),
             kBottomRight),
};

constexpr platform::FormDesign kQuarantineDesign{
    .name = L"frmQuarantine",
    .caption = kCaption,
    .clientWidth = 10800,
    .clientHeight = 4800,
    .border = platform::Border::Sizable,
    .minButton = true,
    .maxButton = true,
    .showInTaskbar = false,
    .controls = kQuarantineControls,
};

}  // namespace

const platform::FormDesign& FrmQuarantineDesign() {
  return kQuarantineDesign;
}

std::vector<std::wstring> QuarantineCells(const QuarantineItem& item) {
  std::vector<std::wstring> cells(FrmQuarantine::kColumnCount);
  if (item.entry) {
    cells[FrmQuarantine::kTime] = item.entry->time;
    cells[FrmQuarantine::kBackdoor] = item.entry->backdoorName;
  }
  cells[FrmQuarantine::kChange] = WhatWasDone(item);
  cells[FrmQuarantine::kWhere] = Where(item);
  cells[FrmQuarantine::kState] = StateName(item.state);
  return cells;
}

FrmQuarantine::FrmQuarantine(platform::Toolkit& toolkit, Engine& engine)
    : desktop_(toolkit.desktop()),
      engine_(engine),
      form_(toolkit.LoadForm(FrmQuarantineDesign())),
      lstChanges_(form_->ColumnListNamed(L"lstChanges")),
      cmdRestore_(form_->ButtonNamed(L"cmdRestore")),
      cmdRestoreTo_(form_->ButtonNamed(L"cmdRestoreTo")),
      lblStatus_(form_->LabelNamed(L"lblStatus")) {
  platform::CentreOnScreen(*form_, desktop_);
  lstChanges_.OnSelectionChange([this] { lstChanges_SelectionChange(); });
  lstChanges_.OnColumnClick([this](int column) { lstChanges_ColumnClick(column); });
  cmdRestore_.OnClick([this] { cmdRestore_Click(); });
  cmdRestoreTo_.OnClick([this] { cmdRestoreTo_Click(); });
  form_->ButtonNamed(L"cmdClose").OnClick([this] { cmdClose_Click(); });
  Reload();
  form_->Show();
}

void FrmQuarantine::Reload() {
  quarantine_ = engine_.ListQuarantine();
  std::size_t damagedLines = 0;
  std::wstring unreadable;
  for (const DamagedLine& damaged : quarantine_.damaged) {
    if (damaged.lineNumber == 0) {
      unreadable = damaged.reason;
    } else {
      ++damagedLines;
    }
  }
  const std::wstring path = engine_.ChangeRecordPath();
  if (!unreadable.empty()) {
    lblStatus_.SetCaption(
        Joined({L"The change record could not be read (", unreadable, L"): ", path}));
  } else if (damagedLines > 0) {
    lblStatus_.SetCaption(
        Joined({DecimalText(damagedLines), damagedLines == 1 ? L" line" : L" lines",
                L" of the change record could not be read and ", damagedLines == 1 ? L"is" : L"are",
                L" not listed; see ", path}));
  } else {
    lblStatus_.SetCaption(L"");
  }
  Fill();
}

void FrmQuarantine::Fill() {
  const auto& items = quarantine_.items;
  // Each row's text in the sort column once, rather than at every comparison.
  std::vector<std::wstring> keys;
  if (sortColumn_ != kTime) {
    keys.reserve(items.size());
    for (const QuarantineItem& item : items) {
      keys.push_back(UpperCase(QuarantineCells(item)[sortColumn_]));
    }
  }
  // Whether row `a` goes above row `b`: by the column's text, then the newer first; the header
  // clicked again turns the order round.
  auto above = [&](std::size_t a, std::size_t b) {
    const std::size_t first = descending_ ? b : a;
    const std::size_t second = descending_ ? a : b;
    if (!keys.empty() && keys[first] != keys[second]) {
      return keys[first] < keys[second];
    }
    return Newer(items[second], items[first]);
  };
  rows_.resize(items.size());
  for (std::size_t index = 0; index < rows_.size(); ++index) {
    rows_[index] = index;
  }
  // No two rows sort alike: the newer of two changes is the one with the later time or id, and
  // two copies without a record differ in name.
  std::sort(rows_.begin(), rows_.end(), above);
  lstChanges_.Clear();
  for (const std::size_t index : rows_) {
    lstChanges_.AddRow(QuarantineCells(items[index]));
  }
  lstChanges_SelectionChange();
}

void FrmQuarantine::lstChanges_ColumnClick(int column) {
  if (column < 0 || column >= kColumnCount) {
    return;
  }
  descending_ = column == sortColumn_ ? !descending_ : column == kTime;
  sortColumn_ = column;
  Fill();
}

std::vector<const QuarantineItem*> FrmQuarantine::SelectedItems() const {
  std::vector<const QuarantineItem*> selected;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (lstChanges_.Selected(static_cast<int>(row))) {
      selected.push_back(&quarantine_.items[rows_[row]]);
    }
  }
  return selected;
}

void FrmQuarantine::lstChanges_SelectionChange() {
  const std::vector<const QuarantineItem*> selected = SelectedItems();
  cmdRestore_.SetEnabled(std::any_of(selected.begin(), selected.end(), [](const auto* item) {
    return item->entry && item->state != QuarantineState::Restored;
  }));
  cmdRestoreTo_.SetEnabled(selected.size() == 1 && !selected.front()->entry);
}

std::wstring FrmQuarantine::TrustWarning() {
  const auto why = engine_.WhyRecordIsNotTrusted();
  return why ? Joined({L"\n\nWarning: ", *why,
                       L". Anyone who can change the record can make a restore put any file or "
                       L"registry value anywhere. Restore all the same?"})
             : std::wstring();
}

bool FrmQuarantine::Confirm(const std::wstring& question) {
  return desktop_.MessageBox(question, kCaption, platform::kMbYesNoQuestion) == platform::kIdYes;
}

void FrmQuarantine::cmdRestore_Click() {
  std::vector<const ChangeEntry*> picked;
  for (const QuarantineItem* item : SelectedItems()) {
    if (item->entry && item->state != QuarantineState::Restored) {
      picked.push_back(&*item->entry);
    }
  }
  if (picked.empty()) {
    return;
  }
  // Newest first, as QuellScan restores: a file quarantined twice ends as it was before the
  // latest clean-up, and win.ini's lines land where they stood.
  std::sort(picked.begin(), picked.end(),
            [](const ChangeEntry* a, const ChangeEntry* b) { return a->id > b->id; });
  // Copies: while the question waits, a clean-up may read the list anew.
  std::vector<ChangeEntry> chosen;
  chosen.reserve(picked.size());
  for (const ChangeEntry* entry : picked) {
    chosen.push_back(*entry);
  }
  if (!Confirm(Joined({L"Restore ", Changes(chosen.size()),
                       L" that the clean-up made, newest first?", TrustWarning()}))) {
    return;
  }
  std::size_t back = 0;
  std::wstring said;
  for (const ChangeEntry& entry : chosen) {
    const RestoreResult result = engine_.RestoreChange(entry);
    back += IsBack(result) ? 1 : 0;
    said += Joined(
        {L"\n", entry.backdoorName, IsBack(result) ? L": " : L": not restored: ", result.message});
  }
  Reload();
  desktop_.MessageBox(
      Joined({L"Restored ", DecimalText(back), L" of ", Changes(chosen.size()), L":\n", said}),
      kCaption, back == chosen.size() ? platform::kMbOkInformation : platform::kMbOkExclamation);
}

void FrmQuarantine::cmdRestoreTo_Click() {
  const std::vector<const QuarantineItem*> selected = SelectedItems();
  if (selected.size() != 1 || selected.front()->entry) {
    return;
  }
  const std::wstring copyName = selected.front()->unrecordedCopy;
  const auto target =
      desktop_.SaveFileName(Joined({L"Restore ", copyName, L" to"}), L"", OriginalName(copyName));
  if (!target) {
    return;
  }
  // The dialog was the question; only a record others may have changed asks again.
  const std::wstring warning = TrustWarning();
  if (!warning.empty() &&
      !Confirm(Joined({L"Restore ", copyName, L" to ", *target, L"?", warning}))) {
    return;
  }
  const RestoreResult result = engine_.RestoreCopy(copyName, *target);
  Reload();
  desktop_.MessageBox(
      Joined({copyName, IsBack(result) ? L": " : L": not restored: ", result.message}), kCaption,
      IsBack(result) ? platform::kMbOkInformation : platform::kMbOkExclamation);
}

}  // namespace quellspur
