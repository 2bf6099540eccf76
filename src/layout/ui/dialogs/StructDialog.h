#pragma once
// A textured dialog that edits a copy of its struct: the controls are filled from the struct and read
// back into the copy; the struct takes the copy only when every field is in range. Otherwise
// the range message is shown and the dialog stays open.

#include <wx/button.h>
#include <wx/sizer.h>

#include <functional>

#include "layout/ui/dialogs/BoundControls.h"
#include "layout/ui/dialogs/TexturedDialog.h"
#include "model/text/dfLogFont.h"
#include "platform/UserPrompts.h"

namespace vornel {

// Chooses a font in place (the font dialog of the view layer); true when one was chosen.
using FontChoiceFunction = std::function<bool(dfLogFont& font)>;

template <typename Fields>
class StructDialog : public TexturedDialog {
 public:
  StructDialog(wxWindow* parent, const wxString& title, Fields& fields, uint32_t solidColour = 0xF0F0F0)
      : TexturedDialog(parent, wxID_ANY, title, solidColour), fields_(fields), working_(fields),
        grid_(new wxFlexGridSizer(2, 0, 0)), controls_(this, grid_) {}

  bool TransferDataToWindow() override {
    working_ = fields_;
    controls_.ToWindow();
    UpdateControls();
    return true;
  }

  bool TransferDataFromWindow() override {
    controls_.FromWindow();
    const std::string message = working_.Validate();
    if (!message.empty()) {
      Prompts().ShowMessage(message, MessageKind::kWarning);
      return false;
    }
    fields_ = working_;
    return true;
  }

 protected:
  // Enables or shows the controls that depend on others.
  virtual void UpdateControls() {}

  // Lays out the grid above OK and Cancel.
  void FinishLayout() {
    grid_->AddGrowableCol(1);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid_, 1, wxEXPAND | wxALL, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);
  }

  Fields& fields_;
  Fields working_;
  wxFlexGridSizer* grid_;
  BoundControls controls_;
};

// Runs the dialog of `Dialog` modally over `fields`; true on OK with the fields taken.
template <typename Dialog, typename Fields>
bool ShowStructDialog(wxWindow* parent, Fields& fields) {
  Dialog dialog(parent, fields);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
