#pragma once
// The window of "Title page & print settings" (document/dialogs/TitlePageSettings.h): it
// edits the struct through TransferDataToWindow and TransferDataFromWindow; the title page
// takes it on OK only.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <array>

#include "document/dialogs/TitlePageSettings.h"
#include "layout/ui/dialogs/TexturedDialog.h"
#include "midi/ui/DialogFields.h"

namespace vornel {

class TitlePageSettingsDialog : public TexturedDialog {
 public:
  TitlePageSettingsDialog(wxWindow* parent, CTitlePage& page);
  bool TransferDataToWindow() override;
  // False, with the title page unchanged, while a field is out of range.
  bool TransferDataFromWindow() override;
  wxCheckBox* PrintContents() const { return printContents_; }
  wxCheckBox* ContentsOption(size_t index) const { return contentsOptions_[index]; }
  wxTextCtrl* ImagePath() const { return imagePath_; }
  wxSpinCtrl* MaxItems() const { return maxItems_; }
  wxSpinCtrl* Scale() const { return scale_; }
  // "CLEAR" of the picture.
  void ClearImage();
  // The contents options follow "Print table of contents".
  void UpdateControls();

 private:
  void ReadControls();
  CTitlePage& page_;
  CTitlePageDlg fields_;
  DialogFields bound_;
  wxTextCtrl* imagePath_;
  wxSpinCtrl* scale_;
  wxSpinCtrl* maxItems_;
  wxChoice* frame_;
  std::array<wxTextCtrl*, 4> texts_{};
  wxCheckBox* printContents_;
  std::array<wxCheckBox*, 3> contentsOptions_{};
};

bool ShowTitlePageSettings(wxWindow* parent, CTitlePage& page);

}  // namespace vornel
