#pragma once
// The MIDI dialogs shown modally over a parent window: the editor installs one with
// ScopedMidiDialogs. And the owner that carries a player's reports to a window's thread.

#include <wx/window.h>

#include <functional>

#include "midi/MidiDialogs.h"
#include "midi/play/MidiOutStream.h"

namespace vornel {

class WxMidiDialogs : public MidiDialogs {
 public:
  explicit WxMidiDialogs(wxWindow* parent = nullptr) : parent_(parent) {}
  void SetParent(wxWindow* parent) { parent_ = parent; }
  bool ChooseGMPatch(CGM_PatchDlg& dialog, MidiOutStream* player) override;
  bool EditMoreControllers(CMoreMidiControlsDlg& dialog) override;
  bool EditControllerEvent(CMidiMetaControl& dialog) override;
  bool ChooseTracks(CMidiTrackList& dialog) override;

 private:
  wxWindow* parent_;
};

// A window that owns a player: the player's thread asks once per burst, and the window's
// thread then hands the waiting reports to `deliver`. The window keeps this object and the
// player; it detaches (or destroys) the player before it goes, and the window system drops a
// call still pending for a window that is gone.
class WindowPlayerOwner : public MidiPlayerOwner {
 public:
  WindowPlayerOwner(wxWindow& window, std::function<void(uint32_t report)> deliver)
      : window_(window), deliver_(std::move(deliver)) {}
  void Attach(MidiOutStream& player) { player_ = &player; }
  void ReportsPending() override;

 private:
  wxWindow& window_;
  std::function<void(uint32_t)> deliver_;
  MidiOutStream* player_ = nullptr;
};

}  // namespace vornel
