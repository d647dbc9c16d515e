// The quarantine window: every change the clean-ups recorded and every copy in the quarantine
// folder that no record names, newest first, and the way back for them through the same engine
// calls that QuellScan's restore makes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/toolkit.h"

namespace quellspur {

class FrmQuarantine {
 public:
  // Loads the window: centred, filled from the record and the folder, and shown.
  FrmQuarantine(platform::Toolkit& toolkit, Engine& engine);

  // Reads the record and the quarantine folder again; the selection goes with the old rows.
  void Reload();
  // Puts back the selected recorded changes, newest first, once the user has confirmed.
  void cmdRestore_Click();
  // Puts the one selected copy without a record back to a place the user names.
  void cmdRestoreTo_Click();
  void cmdClose_Click() { form_->Unload(); }
  // Sorts by the column; the same column again turns the order round.
  void lstChanges_ColumnClick(int column);
  // Offers what the selected rows allow.
  void lstChanges_SelectionChange();

  bool Loaded() const { return form_->Loaded(); }
  platform::Form& form() { return *form_; }

  // The list's columns, left to right.
  enum Column { kTime, kBackdoor, kChange, kWhere, kState, kColumnCount };

 private:
  // The items of the selected rows, in the order shown.
  std::vector<const QuarantineItem*> SelectedItems() const;
  // Shows the items in the chosen order.
  void Fill();
  // Why a record that others than the administrators may change is a risk, as the end of a
  // question; empty when it is not.
  std::wstring TrustWarning();
  // Asks the user to go on, Yes or No.
  bool Confirm(const std::wstring& question);

  platform::Desktop& desktop_;
  Engine& engine_;
  std::unique_ptr<platform::Form> form_;
  platform::ColumnList& lstChanges_;
  platform::Button& cmdRestore_;
  platform::Button& cmdRestoreTo_;
  platform::Label& lblStatus_;
  QuarantineList quarantine_;
  // Row by row, the index of the item it shows.
  std::vector<std::size_t> rows_;
  int sortColumn_ = kTime;
  bool descending_ = true;
};

const platform::FormDesign& FrmQuarantineDesign();
// A list line's texts for the item, column by column.
std::vector<std::wstring> QuarantineCells(const QuarantineItem& item);

}  // namespace quellspur
