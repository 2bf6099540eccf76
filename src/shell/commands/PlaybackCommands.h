#pragma once
// The MIDI commands of a document's tab: "Create MIDI file", "Import MIDI file", the play
// commands and the "MIDI" menu's controllers, with the application's metronome, default
// instrument and MIDI output. Until the score view has a player of its own, the tab's
// commands keep one for its document.

#include "midi/play/MidiOut.h"

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;

namespace view {
class CommandTable;
}

// The output the preferences choose: the port of their list by its index (the synthesizer
// first), and the SoundFont.
MidiOutputSettings MidiOutputSettingsOf(const CVornelTabApp& app);

void AddPlaybackCommands(view::CommandTable& table, CVornelTabApp& app, CVornelTabDoc& doc);

}  // namespace vornel
