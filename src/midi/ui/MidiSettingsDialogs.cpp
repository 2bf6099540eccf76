#include "midi/ui/MidiSettingsDialogs.h"

#include <wx/button.h>
#include <wx/statbox.h>

#include "midi/play/MidiOutStream.h"
#include "platform/ui/DialogChecks.h"
#include "platform/ui/WxText.h"

namespace vornel {

// ---------------------------------------------------------------------------------------------

GMPatchDialog::GMPatchDialog(wxWindow* parent, CGM_PatchDlg& data, MidiOutStream* player)
    : wxDialog(parent, wxID_ANY, "General MIDI instruments", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      data_(data),
      player_(player) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  list_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(280, 360));
  top->Add(list_, 1, wxEXPAND | wxALL, 6);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
  list_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
    RunGuarded([&] {
      if (player_ != nullptr && player_->IsPlaying() && e.GetSelection() >= 0) {
        player_->SendProgramChange(0, e.GetSelection());
      }
    });
  });
  list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
    if (Validate() && TransferDataFromWindow()) EndModal(wxID_OK);
  });
}

bool GMPatchDialog::TransferDataToWindow() {
  list_->Clear();
  for (const std::string& name : data_.Names()) list_->Append(WxText(name));
  if (data_.selected >= 0 && static_cast<unsigned>(data_.selected) < list_->GetCount()) {
    list_->SetSelection(data_.selected);
    list_->EnsureVisible(data_.selected);
  }
  return true;
}

bool GMPatchDialog::TransferDataFromWindow() {
  const int selection = list_->GetSelection();
  if (selection != wxNOT_FOUND) data_.selected = selection;
  return true;
}

// ---------------------------------------------------------------------------------------------

MidiControlsPage::MidiControlsPage(wxWindow* parent, MIDIControlsDlg& data) : wxPanel(parent, wxID_ANY), data_(data) {
  SetName("MIDI");
  MIDIControllers& v = data_.values;
  auto* top = new wxBoxSizer(wxVERTICAL);

  auto* patchRow = new wxBoxSizer(wxHORIZONTAL);
  patchRow->Add(new wxStaticText(this, wxID_ANY, "MIDI Patch:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  patchName_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(220, -1), wxTE_READONLY);
  patchRow->Add(patchName_, 1, wxALL, 3);
  auto* choose = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxSize(32, -1));
  patchRow->Add(choose, 0, wxALL, 3);
  top->Add(patchRow, 0, wxEXPAND);

  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  auto* checks = new wxBoxSizer(wxVERTICAL);
  fields_.Check(this, checks, "Mute ", v.mute);
  fields_.Check(this, checks, "Monophonic", v.monophonic);
  fields_.Check(this, checks, "Play ornaments", v.ornamentsPlayed);
  fields_.Check(this, checks, "Hold pedal", v.holdPedal);
  fields_.Check(this, checks, "Portamento", v.portamentoOn);
  fields_.Check(this, checks, "Softpedal", v.softPedal);
  fields_.Check(this, checks, "Merge Voices to same channel", v.mergeVoices);
  columns->Add(checks, 0, wxALL, 3);

  auto* values = FieldGrid();
  fields_.Number(this, values, "Celeste", 0, 127, v.celeste);
  fields_.Number(this, values, "Attack", 0, 127, v.attack);
  fields_.Number(this, values, "Chorus", 0, 127, v.chorus);
  fields_.Number(this, values, "Portamento time", 0, 127, v.portamentoTime);
  fields_.Number(this, values, "Release", 0, 127, v.release);
  fields_.Number(this, values, "Reverb", 0, 127, v.reverb);
  fields_.Number(this, values, "Brightness", 0, 127, v.brightness);
  fields_.Number(this, values, "Modulation", 0, 127, v.modulation);
  columns->Add(values, 0, wxALL, 3);
  top->Add(columns, 0, wxEXPAND);

  auto* sliders = FieldGrid();
  fields_.Slider(this, sliders, "Transpose by:", -127, 127, v.transpose, "half-steps");
  fields_.Slider(this, sliders, "Pan position", 0, 127, v.pan);
  fields_.Slider(this, sliders, "Volume", 0, 127, v.volume);
  fields_.Slider(this, sliders, "Expression", 0, 127, v.expression);
  fields_.Slider(this, sliders, "Velocity", 0, 127, v.velocity);
  fields_.Slider(this, sliders, "Bass/Treble", -127, 127, v.equalizer);
  fields_.Slider(this, sliders, "Dynamic amplitude", 0, 100, v.dynamicAmplitude, "%");
  top->Add(sliders, 0, wxEXPAND | wxALL, 3);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* defaults = new wxButton(this, wxID_ANY, "Defaults");
  auto* echo = new wxButton(this, wxID_ANY, "Echo && Diapasons");
  buttons->Add(defaults, 0, wxALL, 3);
  buttons->Add(echo, 0, wxALL, 3);
  top->Add(buttons, 0, wxALIGN_RIGHT);
  SetSizerAndFit(top);

  // The buttons act on what the page shows: its values are taken first, shown again after.
  const auto act = [this](const std::function<void()>& action) {
    RunGuarded([&] {
      TransferDataFromWindow();
      action();
      TransferDataToWindow();
    });
  };
  choose->Bind(wxEVT_BUTTON, [this, act](wxCommandEvent&) { act([this] { data_.ChoosePatch(); }); });
  defaults->Bind(wxEVT_BUTTON, [this, act](wxCommandEvent&) { act([this] { data_.Defaults(); }); });
  echo->Bind(wxEVT_BUTTON, [this, act](wxCommandEvent&) { act([this] { data_.EditEchoAndDiapasons(); }); });
}

bool MidiControlsPage::TransferDataToWindow() {
  fields_.ToWindow();
  patchName_->SetValue(WxText(data_.values.name));
  return true;
}

bool MidiControlsPage::TransferDataFromWindow() {
  fields_.FromWindow();
  return true;
}

// ---------------------------------------------------------------------------------------------

MoreMidiControlsDialog::MoreMidiControlsDialog(wxWindow* parent, CMoreMidiControlsDlg& data)
    : wxDialog(parent, wxID_ANY, "Midi controllers"), data_(data) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* echoBox = new wxStaticBoxSizer(wxVERTICAL, this, "Echo ");
  wxWindow* echoParent = echoBox->GetStaticBox();
  fields_.Check(echoParent, echoBox, "Enable echo", data_.echoOn);
  auto* echo = FieldGrid();
  fields_.Number(echoParent, echo, "Channel", 0, 15, data_.echoChannel);
  fields_.Number(echoParent, echo, "Delay", 0, 127, data_.echoDelay);
  fields_.Number(echoParent, echo, "Patch", 0, 127, data_.echoPatch);
  fields_.Slider(echoParent, echo, "Volume", 0, 127, data_.echoVolume);
  fields_.Number(echoParent, echo, "Octave", -1, 1, data_.echoOctave);
  echoBox->Add(echo, 0, wxEXPAND);
  auto* choosePatch = new wxButton(echoParent, wxID_ANY, "...", wxDefaultPosition, wxSize(32, -1));
  echoBox->Add(choosePatch, 0, wxALIGN_RIGHT | wxALL, 3);
  top->Add(echoBox, 0, wxEXPAND | wxALL, 6);

  auto* octaveBox = new wxStaticBoxSizer(wxVERTICAL, this, "Bourdon octaves");
  wxWindow* octaveParent = octaveBox->GetStaticBox();
  fields_.Check(octaveParent, octaveBox, "Enable octave", data_.octaveOn);
  auto* octave = FieldGrid();
  fields_.Number(octaveParent, octave, "Begin string:", 0, 24, data_.octaveString);
  fields_.Slider(octaveParent, octave, "Velocity:", 0, 127, data_.octaveVelocity);
  fields_.Number(octaveParent, octave, "Delay:", 0, 127, data_.octaveDelay);
  fields_.Number(octaveParent, octave, "Channel", 0, 15, data_.octaveChannel);
  octaveBox->Add(octave, 0, wxEXPAND);
  top->Add(octaveBox, 0, wxEXPAND | wxALL, 6);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  choosePatch->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([this] {
      TransferDataFromWindow();
      int program = data_.echoPatch;
      std::string name;
      if (ChooseGMPatch(program, name)) data_.echoPatch = program;
      TransferDataToWindow();
    });
  });
}

bool MoreMidiControlsDialog::TransferDataToWindow() {
  fields_.ToWindow();
  return true;
}

bool MoreMidiControlsDialog::TransferDataFromWindow() {
  fields_.FromWindow();
  return true;
}

// ---------------------------------------------------------------------------------------------

MidiMetaControlDialog::MidiMetaControlDialog(wxWindow* parent, CMidiMetaControl& data, std::function<void()> resetFont)
    : wxDialog(parent, wxID_ANY, "Midi controller  event"), data_(data), resetFont_(std::move(resetFont)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  grid->Add(new wxStaticText(this, wxID_ANY, "Type"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  type_ = new wxChoice(this, wxID_ANY);
  type_->SetName("Type");
  for (const MidiControllerKind& kind : MidiControllerKinds()) type_->Append(WxText(kind.name));
  grid->Add(type_, 1, wxEXPAND | wxALL, 3);
  fields_.Slider(this, grid, "MIDI value:", 0, 127, data_.value);
  grid->Add(new wxStaticText(this, wxID_ANY, "Caption"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  caption_ = new wxTextCtrl(this, wxID_ANY);
  caption_->SetName("Caption");
  grid->Add(caption_, 1, wxEXPAND | wxALL, 3);
  top->Add(grid, 0, wxEXPAND | wxALL, 6);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* patch = new wxButton(this, wxID_ANY, "Reset MIDI patch");
  auto* font = new wxButton(this, wxID_ANY, "Reset Midi controls font");
  font->Enable(static_cast<bool>(resetFont_));
  buttons->Add(patch, 0, wxALL, 3);
  buttons->Add(font, 0, wxALL, 3);
  top->Add(buttons, 0, wxALL, 3);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  patch->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([this] {
      TransferDataFromWindow();
      data_.ResetPatch();
      TransferDataToWindow();
    });
  });
  font->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([this] { resetFont_(); }); });
}

bool MidiMetaControlDialog::TransferDataToWindow() {
  fields_.ToWindow();
  type_->SetSelection(data_.kind);
  caption_->SetValue(WxText(data_.caption));
  return true;
}

bool MidiMetaControlDialog::TransferDataFromWindow() {
  fields_.FromWindow();
  if (type_->GetSelection() != wxNOT_FOUND) data_.kind = type_->GetSelection();
  data_.caption = caption_->GetValue().ToStdString(wxConvUTF8);
  return true;
}

}  // namespace vornel
