#include "shell/ui/SessionOptionsDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clrpicker.h>
#include <wx/fontenum.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "shell/files/PathHelpers.h"
#include "view/draw/FontChooser.h"

namespace vornel {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }
std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }

wxColour ToColour(uint32_t colorref) { return wxColour(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF); }
uint32_t ToColorRef(const wxColour& c) {
  return static_cast<uint32_t>(c.Red()) | (static_cast<uint32_t>(c.Green()) << 8) | (static_cast<uint32_t>(c.Blue()) << 16);
}

wxSpinCtrl* Spin(wxWindow* parent, int low, int high) {
  return new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(140, -1), wxSP_ARROW_KEYS, low, high);
}

}  // namespace

SessionOptionsDialog::SessionOptionsDialog(wxWindow* parent, CSessionOptionsDlg& options, CVornelTabApp* app,
                                           std::vector<std::string> midiPorts)
    : wxDialog(parent, 708, "Session options", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      options_(options),
      app_(app) {
  auto* grid = new wxFlexGridSizer(3, wxSize(8, 4));
  grid->AddGrowableCol(1);
  const auto label = [&](const char* text) {
    grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL);
  };

  dataFolder = AddPath(this, grid, "Vornel files path", true, true, nullptr);
  xmlFolder = AddPath(this, grid, "XML ", true, true, nullptr);
  templatesFolder = AddPath(this, grid, "Templates", true, true, nullptr);
  instrumentDatabase = AddPath(this, grid, "Instrument database", false, false, "*.btix");
  textureFile = AddPath(this, grid, "Paper texture:", false, false, "*.bmp");
  midiToWave = AddPath(this, grid, "MIDI2Wave program", false, false, "*");
  soundFont = AddPath(this, grid, "SoundFont:", false, false, "*.sf2;*.sf3");

  label("HTML URL (css/js)");
  htmlRoot = new wxTextCtrl(this, wxID_ANY);
  grid->Add(htmlRoot, 1, wxEXPAND);
  grid->AddSpacer(0);

  label("Default instrument");
  instrumentName = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  grid->Add(instrumentName, 1, wxEXPAND);
  auto* instrumentButton = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxSize(40, -1));
  instrumentButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EditDefaultInstrument(); });
  grid->Add(instrumentButton);

  label("Default titles font");
  wxArrayString faces = wxFontEnumerator::GetFacenames();
  faces.Sort();
  titleFace = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, faces);
  titleFace->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnFaceChosen(); });
  grid->Add(titleFace, 1, wxEXPAND);
  auto* fontButton = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxSize(40, -1));
  fontButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EditTitleFont(); });
  grid->Add(fontButton);

  label("MIDI Out Port:");
  midiPort = new wxChoice(this, wxID_ANY);
  for (const std::string& port : midiPorts) midiPort->Append(FromUtf8(port));
  grid->Add(midiPort, 1, wxEXPAND);
  auto* patchButton = new wxButton(this, wxID_ANY, "Metronome patch");
  patchButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (app_ != nullptr) app_->ChooseMetronomePatch();
  });
  grid->Add(patchButton);

  auto* numbers = new wxFlexGridSizer(4, wxSize(8, 4));
  const auto number = [&](const char* text, wxSpinCtrl* spin, const char* unit) {
    numbers->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL);
    numbers->Add(spin);
    numbers->Add(new wxStaticText(this, wxID_ANY, unit), 0, wxALIGN_CENTER_VERTICAL);
    numbers->AddSpacer(12);
  };
  maximumUndo = Spin(this, 0, static_cast<int>(CSessionOptionsDlg::kMaximumUndoLimit));
  autoSave = Spin(this, 0, CSessionOptionsDlg::kAutoSaveLimit);
  defaultZoom = Spin(this, CSessionOptionsDlg::kMinimumZoom, CSessionOptionsDlg::kMaximumZoom);
  percussionChannel = Spin(this, 0, CSessionOptionsDlg::kLastPercussionChannel);
  number("Maximum Undo:", maximumUndo, "");
  number("Auto save", autoSave, "minutes");
  number("Default Zoom", defaultZoom, "%");
  number("Percussion channel", percussionChannel, "");

  auto* colours = new wxBoxSizer(wxHORIZONTAL);
  screenColour = new wxColourPickerCtrl(this, wxID_ANY);
  pageColour = new wxColourPickerCtrl(this, wxID_ANY);
  colours->Add(new wxStaticText(this, wxID_ANY, "Screen background"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  colours->Add(screenColour, 0, wxRIGHT, 16);
  colours->Add(new wxStaticText(this, wxID_ANY, "Page color"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  colours->Add(pageColour);

  auto* checks = new wxGridSizer(3, wxSize(12, 4));
  openLastDocument = new wxCheckBox(this, wxID_ANY, "Open last document");
  useTexture = new wxCheckBox(this, wxID_ANY, "Use texture");
  dialogBitmaps = new wxCheckBox(this, wxID_ANY, "Dialog bitmap backgrounds");
  playJingle = new wxCheckBox(this, wxID_ANY, "Play opening jingle");
  viewTrackers = new wxCheckBox(this, wxID_ANY, "View  trackers");
  for (wxCheckBox* box : {openLastDocument, useTexture, dialogBitmaps, playJingle, viewTrackers}) checks->Add(box);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 10);
  top->Add(numbers, 0, wxLEFT | wxRIGHT, 10);
  top->Add(colours, 0, wxALL, 10);
  top->Add(checks, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
  SetSizerAndFit(top);
  SetMinSize(wxSize(640, GetSize().y));
}

wxTextCtrl* SessionOptionsDialog::AddPath(wxWindow* parent, wxFlexGridSizer* grid, const char* label, bool folder,
                                          bool warn, const char* pattern) {
  grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
  auto* field = new wxTextCtrl(parent, wxID_ANY);
  field->SetName(label);
  grid->Add(field, 1, wxEXPAND);
  auto* button = new wxButton(parent, wxID_ANY, "...", wxDefaultPosition, wxSize(40, -1));
  button->Bind(wxEVT_BUTTON, [this, field, folder, warn, pattern](wxCommandEvent&) {
    if (folder) {
      BrowseFolder(field, warn);
    } else {
      BrowseFile(field, pattern);
    }
  });
  grid->Add(button);
  return field;
}

void SessionOptionsDialog::BrowseFolder(wxTextCtrl* field, bool warn) {
  if (warn && Prompts().Ask(kWarning, Buttons::kOkCancel, MessageKind::kWarning, kWarningCaption) != Answer::kOk) {
    return;
  }
  const std::string current = ToUtf8(field->GetValue());
  if (!current.empty() && !FolderExists(current)) Prompts().ShowMessage("Unable to change directories", MessageKind::kWarning);
  if (const auto chosen = Prompts().PromptFolder(ToUtf8(field->GetName()), FolderExists(current) ? current : "")) {
    field->SetValue(FromUtf8(WithTrailingSeparator(*chosen)));
  }
}

void SessionOptionsDialog::BrowseFile(wxTextCtrl* field, const char* pattern) {
  const std::string current = ToUtf8(field->GetValue());
  std::string folder = GetPathFolder(current);
  // A texture starts in the data folder's backgrounds when there is none yet.
  if (folder.empty() && field == textureFile) folder = WithTrailingSeparator(options_.dataFolder) + "Backgrounds";
  if (const auto chosen = Prompts().PromptOpenFile(ToUtf8(field->GetName()), pattern, folder)) {
    field->SetValue(FromUtf8(*chosen));
  }
}

void SessionOptionsDialog::OnFaceChosen() {
  const int selected = titleFace->GetSelection();
  if (selected == wxNOT_FOUND) return;
  // The face at twelve points; the rest of the description stays.
  options_.titleFont.logFont.lfFaceName = FitFaceName(ToUtf8(titleFace->GetString(static_cast<unsigned>(selected))));
  options_.titleFont.pointSize.cx = 120;
}

void SessionOptionsDialog::EditDefaultInstrument() {
  TransferDataFromWindow();
  if (!options_.defaultInstrument) options_.ResetDefaultInstrument();
  SectionEditors().EditInstrument(*options_.defaultInstrument);
  TransferDataToWindow();
}

void SessionOptionsDialog::EditTitleFont() {
  TransferDataFromWindow();
  ChooseFont(options_.titleFont);
  TransferDataToWindow();
}

bool SessionOptionsDialog::TransferDataToWindow() {
  dataFolder->SetValue(FromUtf8(options_.dataFolder));
  xmlFolder->SetValue(FromUtf8(options_.xmlFolder));
  templatesFolder->SetValue(FromUtf8(options_.templatesFolder));
  instrumentDatabase->SetValue(FromUtf8(options_.instrumentDatabase));
  textureFile->SetValue(FromUtf8(options_.textureFile));
  midiToWave->SetValue(FromUtf8(options_.midiToWaveProgram));
  soundFont->SetValue(FromUtf8(options_.soundFont));
  htmlRoot->SetValue(FromUtf8(options_.htmlRoot));
  instrumentName->SetValue(FromUtf8(options_.DefaultInstrumentName()));
  openLastDocument->SetValue(options_.openLastDocument != 0);
  useTexture->SetValue(options_.useTexture != 0);
  dialogBitmaps->SetValue(options_.dialogBitmaps != 0);
  playJingle->SetValue(options_.playJingle != 0);
  viewTrackers->SetValue(options_.viewTrackers != 0);
  if (midiPort->GetCount() > 0) {
    midiPort->SetSelection(static_cast<int>(std::min<uint32_t>(options_.midiPort, midiPort->GetCount() - 1)));
  }
  titleFace->SetStringSelection(FromUtf8(options_.titleFont.logFont.lfFaceName));
  maximumUndo->SetValue(static_cast<int>(options_.maximumUndo));
  autoSave->SetValue(options_.autoSaveMinutes);
  defaultZoom->SetValue(options_.defaultZoom);
  percussionChannel->SetValue(options_.percussionChannel);
  screenColour->SetColour(ToColour(options_.screenColor));
  pageColour->SetColour(ToColour(options_.pageColor));
  return true;
}

bool SessionOptionsDialog::TransferDataFromWindow() {
  options_.dataFolder = ToUtf8(dataFolder->GetValue());
  options_.xmlFolder = ToUtf8(xmlFolder->GetValue());
  options_.templatesFolder = ToUtf8(templatesFolder->GetValue());
  options_.instrumentDatabase = ToUtf8(instrumentDatabase->GetValue());
  options_.textureFile = ToUtf8(textureFile->GetValue());
  options_.midiToWaveProgram = ToUtf8(midiToWave->GetValue());
  options_.soundFont = ToUtf8(soundFont->GetValue());
  options_.htmlRoot = ToUtf8(htmlRoot->GetValue());
  options_.openLastDocument = openLastDocument->GetValue() ? 1 : 0;
  options_.useTexture = useTexture->GetValue() ? 1 : 0;
  options_.dialogBitmaps = dialogBitmaps->GetValue() ? 1 : 0;
  options_.playJingle = playJingle->GetValue() ? 1 : 0;
  options_.viewTrackers = viewTrackers->GetValue() ? 1 : 0;
  if (midiPort->GetSelection() != wxNOT_FOUND) options_.midiPort = static_cast<uint32_t>(midiPort->GetSelection());
  options_.maximumUndo = static_cast<uint32_t>(maximumUndo->GetValue());
  options_.autoSaveMinutes = autoSave->GetValue();
  options_.defaultZoom = defaultZoom->GetValue();
  options_.percussionChannel = percussionChannel->GetValue();
  options_.screenColor = ToColorRef(screenColour->GetColour());
  options_.pageColor = ToColorRef(pageColour->GetColour());
  options_.ClampValues();
  return true;
}

bool SessionOptionsEditor::Edit(CSessionOptionsDlg& options) {
  SessionOptionsDialog dialog(parent_, options, &app_, MidiOutputPortNames());
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
