#pragma once
// The windows of the MIDI settings: the General MIDI chooser (684), the "MIDI" page of the
// instrument sheet (720), "Midi controllers" (777) and "Midi controller  event" (359). Each
// edits the struct of its dialog (midi/MidiDialogs.h) through TransferDataToWindow and
// TransferDataFromWindow.

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include <functional>

#include "midi/MidiDialogs.h"
#include "midi/ui/DialogFields.h"

namespace vornel {

class MidiOutStream;

// "General MIDI instruments": a list of names; each selection is heard on channel 0 while the
// attached player (may be null) plays.
class GMPatchDialog : public wxDialog {
 public:
  static constexpr int kResourceId = 684;
  GMPatchDialog(wxWindow* parent, CGM_PatchDlg& data, MidiOutStream* player);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  wxListBox* List() const { return list_; }

 private:
  CGM_PatchDlg& data_;
  MidiOutStream* player_;
  wxListBox* list_;
};

// The "MIDI" page of the instrument property sheet.
class MidiControlsPage : public wxPanel {
 public:
  static constexpr int kResourceId = 720;
  MidiControlsPage(wxWindow* parent, MIDIControlsDlg& data);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

 private:
  MIDIControlsDlg& data_;
  DialogFields fields_;
  wxTextCtrl* patchName_;
};

// "Midi controllers": the echo and the bourdon octaves.
class MoreMidiControlsDialog : public wxDialog {
 public:
  static constexpr int kResourceId = 777;
  MoreMidiControlsDialog(wxWindow* parent, CMoreMidiControlsDlg& data);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

 private:
  CMoreMidiControlsDlg& data_;
  DialogFields fields_;
};

// "Midi controller  event". `resetFont` restores the document's MIDI events font ("Reset Midi
// controls font"); without it the button is disabled.
class MidiMetaControlDialog : public wxDialog {
 public:
  static constexpr int kResourceId = 359;
  MidiMetaControlDialog(wxWindow* parent, CMidiMetaControl& data, std::function<void()> resetFont = {});
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

 private:
  CMidiMetaControl& data_;
  DialogFields fields_;
  wxChoice* type_;
  wxTextCtrl* caption_;
  std::function<void()> resetFont_;
};

}  // namespace vornel
