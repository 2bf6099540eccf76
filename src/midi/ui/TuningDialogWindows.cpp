#include "midi/ui/TuningDialogWindows.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include "platform/UserPrompts.h"
#include "platform/ui/DialogChecks.h"
#include "platform/ui/WxText.h"

namespace vornel {

// ---------------------------------------------------------------------------------------------

StringPitchDialog::StringPitchDialog(wxWindow* parent, CStringTuningDlg& data, MidiOutFactory output)
    : wxDialog(parent, wxID_ANY, "String pitch"), data_(data), working_(data), sounder_(std::move(output)),
      timer_(this) {
  auto* grid = new wxFlexGridSizer(2, wxSize(6, 2));
  grid->Add(new wxStaticText(this, wxID_ANY, "Note"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  note_ = new wxChoice(this, wxID_ANY);
  for (char letter : CStringTuningDlg::kLetters) note_->Append(wxString(letter));
  grid->Add(note_, 0, wxALL, 3);
  grid->Add(new wxStaticText(this, wxID_ANY, "Octave"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  octave_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0,
                           CStringTuningDlg::kMaxOctave, 0);
  grid->Add(octave_, 0, wxALL, 3);
  grid->Add(new wxStaticText(this, wxID_ANY, "MIDI value"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  midiValue_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(60, -1), wxTE_READONLY);
  grid->Add(midiValue_, 0, wxALL, 3);

  auto* radios = new wxBoxSizer(wxHORIZONTAL);
  const char* labels[] = {"Natural", "Sharp", "Flat"};
  for (size_t i = 0; i < accidentals_.size(); ++i) {
    accidentals_[i] = new wxRadioButton(this, wxID_ANY, labels[i], wxDefaultPosition, wxDefaultSize,
                                        i == 0 ? wxRB_GROUP : 0);
    radios->Add(accidentals_[i], 0, wxALL, 3);
    accidentals_[i]->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ReadControls(); }); });
  }
  note_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { RunGuarded([&] { ReadControls(); }); });
  octave_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) { RunGuarded([&] { ReadControls(); }); });

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* play = new wxButton(this, wxID_ANY, "Play");
  auto* clear = new wxButton(this, wxID_ANY, "Clear");
  buttons->Add(play, 0, wxALL, 3);
  buttons->Add(clear, 0, wxALL, 3);
  play->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { Play(); }); });
  clear->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      working_.letterIndex = -1;
      ShowControls();
      data_ = working_;
      data_.GetNoteText();
      EndModal(wxID_OK);
    });
  });
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { sounder_.NoteOff(); });

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxALL, 6);
  top->Add(radios, 0, wxLEFT | wxRIGHT, 6);
  top->Add(buttons, 0, wxALL, 6);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
  SetTitle(WxText(working_.Caption()));
}

bool StringPitchDialog::TransferDataToWindow() {
  working_ = data_;
  SetTitle(WxText(working_.Caption()));
  working_.ComputeMidiValue();
  ShowControls();
  return true;
}

bool StringPitchDialog::TransferDataFromWindow() {
  ReadControls();
  if (!PassesCheck(working_)) return false;
  data_ = working_;
  data_.GetNoteText();
  return true;
}

void StringPitchDialog::ReadControls() {
  working_.letterIndex = note_->GetSelection();
  working_.octave = octave_->GetValue();
  for (size_t i = 0; i < accidentals_.size(); ++i) {
    if (accidentals_[i]->GetValue()) working_.accidental = static_cast<int>(i);
  }
  working_.ComputeMidiValue();
  midiValue_->ChangeValue(wxString::Format("%d", working_.midiValue));
}

void StringPitchDialog::ShowControls() {
  note_->SetSelection(working_.letterIndex >= 0 ? working_.letterIndex : wxNOT_FOUND);
  octave_->SetValue(working_.octave);
  if (working_.accidental >= 0 && working_.accidental < 3) {
    accidentals_[static_cast<size_t>(working_.accidental)]->SetValue(true);
  }
  midiValue_->ChangeValue(wxString::Format("%d", working_.midiValue));
}

void StringPitchDialog::Play() {
  ReadControls();
  timer_.Stop();
  // No output: no sound, and nothing to say about it.
  if (sounder_.NoteOn(working_.midiValue)) timer_.StartOnce(kPlayMilliseconds);
}

// ---------------------------------------------------------------------------------------------

CourseTuningDialog::CourseTuningDialog(wxWindow* parent, const nTuning& tuning, CBourdonTuningDlg& data)
    : wxDialog(parent, wxID_ANY, "Modify string tuning"), tuning_(tuning), data_(data), working_(data) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, "Bourdon"), 0, wxLEFT | wxTOP, 6);
  courses_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(180, 200));
  top->Add(courses_, 1, wxEXPAND | wxALL, 6);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, "New tuning"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  pitch_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                          CBourdonTuningDlg::kMinPitch, CBourdonTuningDlg::kMaxPitch, 60);
  row->Add(pitch_, 0, wxALL, 3);
  noteText_ = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(50, -1));
  row->Add(noteText_, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  top->Add(row, 0, wxLEFT | wxRIGHT, 6);
  applyToAll_ = new wxCheckBox(this, wxID_ANY, "Apply change to all sections in document");
  top->Add(applyToAll_, 0, wxALL, 6);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  courses_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
    RunGuarded([&] {
      working_.SelectCourse(tuning_, e.GetSelection());
      pitch_->SetValue(working_.newPitch);
      noteText_->SetLabel(WxText(working_.noteText));
    });
  });
  pitch_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent& e) {
    RunGuarded([&] {
      working_.SetPitch(e.GetPosition());
      noteText_->SetLabel(WxText(working_.noteText));
    });
  });
}

bool CourseTuningDialog::TransferDataToWindow() {
  working_ = data_;
  courses_->Clear();
  for (const std::string& course : working_.courses) courses_->Append(WxText(course));
  if (working_.courseIndex >= 0 && static_cast<unsigned>(working_.courseIndex) < courses_->GetCount()) {
    courses_->SetSelection(working_.courseIndex);
  }
  pitch_->SetValue(working_.newPitch);
  noteText_->SetLabel(WxText(working_.noteText));
  applyToAll_->SetValue(working_.applyToAll);
  return true;
}

bool CourseTuningDialog::TransferDataFromWindow() {
  working_.courseIndex = courses_->GetSelection();
  working_.SetPitch(pitch_->GetValue());
  working_.applyToAll = applyToAll_->GetValue();
  if (!PassesCheck(working_)) return false;
  data_ = working_;
  return true;
}

// ---------------------------------------------------------------------------------------------

InstrumentTuningDialog::InstrumentTuningDialog(wxWindow* parent, InstrumentTuningDlg& data)
    : wxDialog(parent, wxID_ANY, "Instrument tuning"), data_(data), working_(data) {
  SetBackgroundColour(wxColour(0xF0, 0xF0, 0xF0));
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  // Strings 1-11 ("First courses") and 12-16 ("Additional Courses").
  auto* first = new wxStaticBoxSizer(wxVERTICAL, this, "First courses");
  auto* additional = new wxStaticBoxSizer(wxVERTICAL, this, "Additional Courses");
  for (size_t i = 0; i < strings_.size(); ++i) {
    wxStaticBoxSizer* group = i < 11 ? first : additional;
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    stringButtons_[i] = new wxButton(group->GetStaticBox(), wxID_ANY, wxString::Format("%zu", i + 1), wxDefaultPosition,
                                     wxSize(36, -1));
    strings_[i] = new wxTextCtrl(group->GetStaticBox(), wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(90, -1),
                                 wxTE_READONLY);
    row->Add(stringButtons_[i], 0, wxRIGHT, 3);
    row->Add(strings_[i], 1);
    group->Add(row, 0, wxEXPAND | wxALL, 1);
    stringButtons_[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) { RunGuarded([&] { EditString(i); }); });
  }
  columns->Add(first, 0, wxALL, 4);

  auto* right = new wxBoxSizer(wxVERTICAL);
  right->Add(additional, 0, wxEXPAND | wxALL, 4);
  auto* textRow = new wxBoxSizer(wxHORIZONTAL);
  tuningText_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(180, -1));
  tuningText_->SetMaxLength(50);
  auto* modify = new wxButton(this, wxID_ANY, "Modify");
  textRow->Add(tuningText_, 1, wxRIGHT, 3);
  textRow->Add(modify, 0);
  right->Add(textRow, 0, wxEXPAND | wxALL, 4);
  right->Add(new wxStaticText(this, wxID_ANY, "Middle C = C5 (MIDI = 60)"), 0, wxALL, 4);
  modify->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ApplyTypedText(); }); });

  auto* standard = new wxStaticBoxSizer(wxVERTICAL, this, "Standard tunings");
  auto* presetGrid = new wxGridSizer(2, wxSize(3, 3));
  for (size_t i = 0; i < presets_.size(); ++i) {
    presets_[i] = new wxButton(standard->GetStaticBox(), wxID_ANY, WxText(kTuningPresets[i].label));
    presetGrid->Add(presets_[i], 0, wxEXPAND);
    presets_[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) { RunGuarded([&] { ApplyPreset(i); }); });
  }
  standard->Add(presetGrid, 0, wxEXPAND | wxALL, 3);
  right->Add(standard, 0, wxEXPAND | wxALL, 4);

  auto* grid = new wxFlexGridSizer(2, wxSize(6, 2));
  grid->Add(new wxStaticText(this, wxID_ANY, "Number of tablature lines:"), 0, wxALIGN_CENTER_VERTICAL);
  lines_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                          InstrumentTuningDlg::kMinLines, InstrumentTuningDlg::kMaxLines, 6);
  grid->Add(lines_);
  right->Add(grid, 0, wxALL, 4);

  auto* listen = new wxStaticBoxSizer(wxVERTICAL, this, "Listen");
  auto* tempoRow = new wxBoxSizer(wxHORIZONTAL);
  tempoRow->Add(new wxStaticText(listen->GetStaticBox(), wxID_ANY, "Tempo:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 3);
  tempo_ = new wxSpinCtrl(listen->GetStaticBox(), wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxSP_ARROW_KEYS, InstrumentTuningDlg::kMinTempo, InstrumentTuningDlg::kMaxTempo, 60);
  tempoRow->Add(tempo_);
  listen->Add(tempoRow, 0, wxALL, 3);
  reverse_ = new wxCheckBox(listen->GetStaticBox(), wxID_ANY, "Reverse direction");
  lowPitch_ = new wxCheckBox(listen->GetStaticBox(), wxID_ANY, "415 tuning (1/2 step down)");
  listen->Add(reverse_, 0, wxALL, 3);
  listen->Add(lowPitch_, 0, wxALL, 3);
  auto* playRow = new wxBoxSizer(wxHORIZONTAL);
  auto* play = new wxButton(listen->GetStaticBox(), wxID_ANY, "PLAY");
  auto* stop = new wxButton(listen->GetStaticBox(), wxID_ANY, "Stop");
  playRow->Add(play, 0, wxRIGHT, 3);
  playRow->Add(stop);
  listen->Add(playRow, 0, wxALL, 3);
  right->Add(listen, 0, wxEXPAND | wxALL, 4);
  play->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { Play(); }); });
  stop->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { Stop(); }); });

  columns->Add(right, 1, wxEXPAND);
  top->Add(columns, 1, wxEXPAND | wxALL, 4);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  // Enter is not the default button here: typing a tuning and pressing it keeps the dialog.
  Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& e) {
    if (e.GetKeyCode() != WXK_RETURN && e.GetKeyCode() != WXK_NUMPAD_ENTER) e.Skip();
  });
}

InstrumentTuningDialog::~InstrumentTuningDialog() { StopStrings(); }

bool InstrumentTuningDialog::TransferDataToWindow() {
  working_ = data_;
  ShowWorking();
  tempo_->SetValue(working_.tempo);
  reverse_->SetValue(working_.reverseDirection);
  lowPitch_->SetValue(working_.lowPitch);
  return true;
}

bool InstrumentTuningDialog::TransferDataFromWindow() {
  ReadFields();
  if (!PassesCheck(working_)) return false;
  data_ = working_;
  return true;
}

void InstrumentTuningDialog::ShowWorking() {
  for (size_t i = 0; i < strings_.size(); ++i) strings_[i]->ChangeValue(WxText(working_.stringTexts[i]));
  tuningText_->ChangeValue(WxText(working_.tuningText));
  lines_->SetValue(working_.lines);
}

void InstrumentTuningDialog::ReadFields() {
  working_.tuningText = tuningText_->GetValue().utf8_string();
  working_.lines = lines_->GetValue();
  working_.tempo = tempo_->GetValue();
  working_.reverseDirection = reverse_->GetValue();
  working_.lowPitch = lowPitch_->GetValue();
}

void InstrumentTuningDialog::ApplyTypedText() {
  ReadFields();
  working_.ApplyTuningText();
  ShowWorking();
}

void InstrumentTuningDialog::ApplyPreset(size_t index) {
  ReadFields();
  working_.ApplyPreset(index);
  ShowWorking();
}

void InstrumentTuningDialog::EditString(size_t index) {
  ReadFields();
  CStringTuningDlg pitch;
  pitch.Load(working_.NoteTextOf(static_cast<int>(index)), static_cast<int>(index) + 1);
  StringPitchDialog dialog(this, pitch);
  if (dialog.ShowModal() != wxID_OK) return;
  if (working_.SetString(static_cast<int>(index), pitch.noteText, pitch.midiValue)) ShowWorking();
}

void InstrumentTuningDialog::Play() {
  ReadFields();
  PlayStringsOptions options;
  options.tempo = working_.tempo;
  options.program = InstrumentTuningDlg::kPlayProgram;
  options.reverse = working_.reverseDirection;
  options.lowPitch = working_.lowPitch;
  PlayStrings(working_.tuning, options);
}

void InstrumentTuningDialog::Stop() { StopStrings(); }

bool ShowInstrumentTuningDialog(wxWindow* parent, nTuning& tuning) {
  InstrumentTuningDlg data;
  data.Load(tuning);
  bool ok = false;
  {
    InstrumentTuningDialog dialog(parent, data);
    ok = dialog.ShowModal() == wxID_OK;
  }
  StopStrings();
  if (ok) data.Store(tuning);
  return ok;
}

}  // namespace vornel
