#pragma once
// The windows of the tuning dialogs (model/dialogs/TuningDialogs.h): "Instrument tuning",
// "String pitch" and "Modify string tuning". Each edits its struct through
// TransferDataToWindow and TransferDataFromWindow; the struct takes the controls only when
// every field passes its check.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <array>

#include "midi/play/TuningSounds.h"
#include "model/dialogs/TuningDialogs.h"

namespace vornel {

// "String pitch": note, octave and accidental of one string, its MIDI value, "Play" (the note
// for half a second) and "Clear" (no note: the caller gets an empty text).
class StringPitchDialog : public wxDialog {
 public:
  static constexpr int kPlayMilliseconds = 500;
  StringPitchDialog(wxWindow* parent, CStringTuningDlg& data, MidiOutFactory output = {});
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  wxChoice* Note() const { return note_; }
  wxSpinCtrl* Octave() const { return octave_; }
  wxRadioButton* Accidental(int index) const { return accidentals_[static_cast<size_t>(index)]; }
  wxTextCtrl* MidiValue() const { return midiValue_; }
  // "Play": the note-on now, the note-off when the timer fires.
  void Play();
  bool Sounding() const { return sounder_.Sounding(); }
  wxTimer& Timer() { return timer_; }

 private:
  // The controls into the working copy, its value computed and shown.
  void ReadControls();
  void ShowControls();

  CStringTuningDlg& data_;
  CStringTuningDlg working_;
  wxChoice* note_;
  wxSpinCtrl* octave_;
  std::array<wxRadioButton*, 3> accidentals_{};
  wxTextCtrl* midiValue_;
  SingleNoteSounder sounder_;
  wxTimer timer_;
};

// "Modify string tuning": a course of the tuning and its new pitch.
class CourseTuningDialog : public wxDialog {
 public:
  CourseTuningDialog(wxWindow* parent, const nTuning& tuning, CBourdonTuningDlg& data);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  wxListBox* Courses() const { return courses_; }
  wxSpinCtrl* Pitch() const { return pitch_; }
  wxStaticText* NoteText() const { return noteText_; }
  wxCheckBox* ApplyToAll() const { return applyToAll_; }

 private:
  const nTuning& tuning_;
  CBourdonTuningDlg& data_;
  CBourdonTuningDlg working_;
  wxListBox* courses_;
  wxSpinCtrl* pitch_;
  wxStaticText* noteText_;
  wxCheckBox* applyToAll_;
};

// "Instrument tuning": sixteen string buttons, the tuning text with "Modify", the standard
// tunings, the lines, and "PLAY"/"Stop" of the open strings. Enter does not close it.
class InstrumentTuningDialog : public wxDialog {
 public:
  InstrumentTuningDialog(wxWindow* parent, InstrumentTuningDlg& data);
  ~InstrumentTuningDialog() override;
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  wxTextCtrl* StringText(size_t index) const { return strings_[index]; }
  wxButton* StringButton(size_t index) const { return stringButtons_[index]; }
  wxTextCtrl* TuningText() const { return tuningText_; }
  wxButton* PresetButton(size_t index) const { return presets_[index]; }
  wxSpinCtrl* Lines() const { return lines_; }
  // The buttons' actions, as a click runs them.
  void ApplyTypedText();
  void ApplyPreset(size_t index);
  // The "String pitch" dialog on string `index` (modal).
  void EditString(size_t index);
  void Play();
  void Stop();

 private:
  // Texts and lines from the working copy; the editable fields back into it.
  void ShowWorking();
  void ReadFields();

  InstrumentTuningDlg& data_;
  InstrumentTuningDlg working_;
  std::array<wxTextCtrl*, nTuning::kMaxCourses> strings_{};
  std::array<wxButton*, nTuning::kMaxCourses> stringButtons_{};
  std::array<wxButton*, kTuningPresets.size()> presets_{};
  wxTextCtrl* tuningText_;
  wxSpinCtrl* lines_;
  wxSpinCtrl* tempo_;
  wxCheckBox* reverse_;
  wxCheckBox* lowPitch_;
};

// Runs "Instrument tuning" on the tuning; on OK the tuning takes the dialog's strings and
// lines. The open strings stop sounding when the dialog closes.
bool ShowInstrumentTuningDialog(wxWindow* parent, nTuning& tuning);

}  // namespace vornel
