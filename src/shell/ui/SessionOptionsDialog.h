#pragma once
// Dialog 708, "Session options": the controls over the option store. Its data exchange
// fills the controls from the options and reads them back; OK keeps the edits in the store.

#include <wx/dialog.h>

#include <string>
#include <vector>

#include "shell/app/CVornelTabApp.h"

class wxCheckBox;
class wxChoice;
class wxColourPickerCtrl;
class wxFlexGridSizer;
class wxSpinCtrl;
class wxTextCtrl;

namespace vornel {

class SessionOptionsDialog : public wxDialog {
 public:
  static constexpr const char* kWarning =
      "You should probably not use this option if the program is functioning properly!\nContinue anyway?";
  static constexpr const char* kWarningCaption = "Selecting a new profile path";

  SessionOptionsDialog(wxWindow* parent, CSessionOptionsDlg& options, CVornelTabApp* app,
                       std::vector<std::string> midiPorts);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // The controls, by their labels.
  wxTextCtrl* dataFolder = nullptr;
  wxTextCtrl* textureFile = nullptr;
  wxTextCtrl* instrumentDatabase = nullptr;
  wxTextCtrl* midiToWave = nullptr;
  wxTextCtrl* xmlFolder = nullptr;
  wxTextCtrl* templatesFolder = nullptr;
  wxTextCtrl* soundFont = nullptr;
  wxTextCtrl* htmlRoot = nullptr;
  wxTextCtrl* instrumentName = nullptr;
  wxCheckBox* openLastDocument = nullptr;
  wxCheckBox* useTexture = nullptr;
  wxCheckBox* dialogBitmaps = nullptr;
  wxCheckBox* playJingle = nullptr;
  wxCheckBox* viewTrackers = nullptr;
  wxChoice* midiPort = nullptr;
  wxChoice* titleFace = nullptr;
  wxSpinCtrl* maximumUndo = nullptr;
  wxSpinCtrl* autoSave = nullptr;
  wxSpinCtrl* defaultZoom = nullptr;
  wxSpinCtrl* percussionChannel = nullptr;
  wxColourPickerCtrl* screenColour = nullptr;
  wxColourPickerCtrl* pageColour = nullptr;

 private:
  wxTextCtrl* AddPath(wxWindow* parent, wxFlexGridSizer* grid, const char* label, bool folder, bool warn,
                      const char* pattern);
  void BrowseFolder(wxTextCtrl* field, bool warn);
  void BrowseFile(wxTextCtrl* field, const char* pattern);
  void OnFaceChosen();
  void EditDefaultInstrument();
  void EditTitleFont();

  CSessionOptionsDlg& options_;
  CVornelTabApp* app_;
};

// The preferences command's dialog, shown modally.
class SessionOptionsEditor : public PreferencesEditor {
 public:
  SessionOptionsEditor(wxWindow* parent, CVornelTabApp& app) : parent_(parent), app_(app) {}
  bool Edit(CSessionOptionsDlg& options) override;

 private:
  wxWindow* parent_;
  CVornelTabApp& app_;
};

}  // namespace vornel
