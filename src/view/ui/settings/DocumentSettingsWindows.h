#pragma once
// The windows of the document's settings dialogs: "Page settings", "Document fonts",
// "Document information" and "Document associations". Each edits its struct
// (view/settings/PageSettingsDialogs.h, document/dialogs/DocumentInformation.h) through
// TransferDataToWindow and TransferDataFromWindow; the settings take the struct on OK only.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <array>

#include "document/dialogs/DocumentInformation.h"
#include "layout/ui/dialogs/TexturedDialog.h"
#include "midi/ui/DialogFields.h"
#include "view/settings/PageSettingsDialogs.h"
#include "view/settings/SettingsCommands.h"

namespace vornel {

// A colour button: "Basic" (the automatic colour) or "Finer" (the colour dialog).
class ColourButton : public wxPanel {
 public:
  ColourButton(wxWindow* parent, uint32_t& colour, uint32_t basic);
  // The menu's two entries, as a click runs them.
  void ChooseBasic();
  void ChooseFiner();
  void ShowColour();

 private:
  uint32_t& colour_;
  uint32_t basic_;
  wxPanel* swatch_;
};

class PageSettingsDialog : public TexturedDialog {
 public:
  PageSettingsDialog(wxWindow* parent, CPageDlg& page, PageSettingsProfile profile = {});
  bool TransferDataToWindow() override;
  // False, with nothing stored, while a field is out of range.
  bool TransferDataFromWindow() override;
  PageSettingsFields& Fields() { return fields_; }
  wxSpinCtrl* Blanks() const { return blanks_; }
  ColourButton* StaffLineColour() const { return staffColour_; }
  wxTextCtrl* PageText() const { return pageText_; }
  // "Set page sizes and orientation": the printer set-up dialog, its paper mapped to our code.
  void PageSetup();

 private:
  CPageDlg& page_;
  PageSettingsProfile profile_;
  PageSettingsFields fields_;
  DialogFields bound_;
  wxSpinCtrl* blanks_;
  wxTextCtrl* pageText_;
  wxChoice* alignment_;
  wxRadioButton* portrait_;
  wxRadioButton* landscape_;
  ColourButton* staffColour_;
  ColourButton* barColour_;
};

class DocumentFontsDialog : public TexturedDialog {
 public:
  DocumentFontsDialog(wxWindow* parent, CPageDlg& page, PageSettingsProfile profile = {});
  bool TransferDataToWindow() override;
  wxTextCtrl* Description(size_t index) const { return descriptions_[index]; }
  wxChoice* Theme() const { return theme_; }
  void ApplyTheme(int index);

 private:
  CPageDlg& page_;
  PageSettingsProfile profile_;
  DocumentFontsFields fields_;
  std::array<wxTextCtrl*, kDocumentFontCount> descriptions_{};
  wxChoice* theme_;
};

class DocumentAssociationsDialog : public wxDialog {
 public:
  DocumentAssociationsDialog(wxWindow* parent, DocumentAssociationsFields& fields);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

 private:
  DocumentAssociationsFields& fields_;
  DialogFields bound_;
  wxTextCtrl* pdf_;
  wxTextCtrl* html_;
  wxTextCtrl* image_;
};

class DocumentInformationDialog : public TexturedDialog {
 public:
  DocumentInformationDialog(wxWindow* parent, CDocumentSettings& settings);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  wxTextCtrl* TextEdit(size_t index) const { return texts_[index]; }
  // "Edit Associations": the associations dialog; the settings change only on its OK.
  void EditAssociations();

 private:
  CDocumentSettings& settings_;
  DocumentInformationFields fields_;
  std::array<wxTextCtrl*, DocumentInformationFields::kEntries.size()> texts_{};
};

// The settings commands' dialogs, shown modally over the parent.
class WxSettingsDialogs : public SettingsDialogs {
 public:
  explicit WxSettingsDialogs(PageSettingsProfile profile = {}, wxWindow* parent = nullptr)
      : profile_(std::move(profile)), parent_(parent) {}
  bool EditPageSettings(CPageDlg& page) override;
  bool EditDocumentFonts(CPageDlg& page) override;
  bool EditDocumentInformation(CDocumentSettings& settings) override;
  bool EditTitlePage(CTitlePage& page) override;
  bool ChangeCourseTuning(const nTuning& tuning, CBourdonTuningDlg& choice) override;

 private:
  PageSettingsProfile profile_;
  wxWindow* parent_;
};

// The dialogs run modally; true on OK.
bool ShowPageSettings(wxWindow* parent, CPageDlg& page, const PageSettingsProfile& profile = {});
bool ShowDocumentFonts(wxWindow* parent, CPageDlg& page, const PageSettingsProfile& profile = {});
bool ShowDocumentInformation(wxWindow* parent, CDocumentSettings& settings);

}  // namespace vornel
