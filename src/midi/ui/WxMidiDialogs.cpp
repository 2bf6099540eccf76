#include "midi/ui/WxMidiDialogs.h"

#include "midi/ui/DialogFields.h"
#include "midi/ui/MidiSettingsDialogs.h"
#include "midi/ui/MidiTrackListDialog.h"

namespace vornel {

bool WxMidiDialogs::ChooseGMPatch(CGM_PatchDlg& dialog, MidiOutStream* player) {
  GMPatchDialog window(parent_, dialog, player);
  return window.ShowModal() == wxID_OK;
}

bool WxMidiDialogs::EditMoreControllers(CMoreMidiControlsDlg& dialog) {
  MoreMidiControlsDialog window(parent_, dialog);
  return window.ShowModal() == wxID_OK;
}

bool WxMidiDialogs::EditControllerEvent(CMidiMetaControl& dialog) {
  MidiMetaControlDialog window(parent_, dialog);
  return window.ShowModal() == wxID_OK;
}

bool WxMidiDialogs::ChooseTracks(CMidiTrackList& dialog) {
  MidiTrackListDialog window(parent_, dialog);
  return window.ShowModal() == wxID_OK;
}

void WindowPlayerOwner::ReportsPending() {
  // On the player's thread: only a call is queued for the window's thread.
  window_.CallAfter([this] {
    if (player_ != nullptr) RunGuarded([this] { player_->DrainReports(deliver_); });
  });
}

}  // namespace vornel
