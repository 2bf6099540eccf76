#pragma once
// The customisation of one tool bar: the buttons it offers and the ones on it, with Add,
// Remove, Move Up, Move Down and Reset, and the text and icon options. Button and text
// changes show on the bar at once; a new icon option when the dialog closes.

#include <wx/dialog.h>

#include <functional>

#include "shell/bars/ToolbarTable.h"

class wxChoice;
class wxListBox;

namespace vornel {

class CToolBarEx;

class CCustomizeDialog : public wxDialog {
 public:
  CCustomizeDialog(wxWindow* parent, CToolBarEx& bar);

  // The dialog's actions, also for tests: positions in the two lists.
  void AddAvailable(int available, int position);
  void RemoveCurrent(int position);
  void MoveCurrent(int position, int step);
  void Reset();
  void ChooseTextOption(bars::TextOption option);
  void ChooseIconOption(bars::IconOption option);
  // The dialog closes: a changed icon option applies now and the state is kept.
  void Finish();

  wxChoice* TextOptions() const { return textOptions_; }
  wxChoice* IconOptions() const { return iconOptions_; }
  wxListBox* AvailableList() const { return available_; }
  wxListBox* CurrentList() const { return current_; }
  // Called with the bar whenever its state changed (to keep it).
  std::function<void(CToolBarEx&)> onStateChanged;

 private:
  void Fill();
  void ApplyButtons();

  CToolBarEx& bar_;
  bars::ToolbarCustomizer customizer_;
  wxListBox* available_ = nullptr;
  wxListBox* current_ = nullptr;
  wxChoice* textOptions_ = nullptr;
  wxChoice* iconOptions_ = nullptr;
  bool finished_ = false;
};

}  // namespace vornel
