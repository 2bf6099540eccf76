#include "shell/ui/AreaWindows.h"

#include "midi/play/MidiOut.h"
#include "midi/ui/WxMidiDialogs.h"
#include "shell/app/CSessionOptionsDlg.h"
#include "shell/app/PlaybackSounds.h"

namespace vornel {

namespace {

CanvasFactory& Canvas() {
  static CanvasFactory factory;
  return factory;
}

FacsimileFactory& Facsimile() {
  static FacsimileFactory factory;
  return factory;
}

}  // namespace

void SetCanvasFactory(CanvasFactory factory) { Canvas() = std::move(factory); }
const CanvasFactory& GetCanvasFactory() { return Canvas(); }
void SetFacsimileFactory(FacsimileFactory factory) { Facsimile() = std::move(factory); }
const FacsimileFactory& GetFacsimileFactory() { return Facsimile(); }

void InstallAreaWindows() {
  // One line per area: the score view's canvas, the image viewer of the facsimile pane.
  // Playback: the jingle and the metronome clicks, the MIDI outputs of the preferences, the
  // MIDI dialogs.
  static PlaybackSounds sounds;
  static ScopedSounds scopedSounds(sounds);
  SetMidiPortLister(ListMidiOutputs);
  static WxMidiDialogs midiDialogs;
  static ScopedMidiDialogs scopedMidiDialogs(midiDialogs);
}

}  // namespace vornel
