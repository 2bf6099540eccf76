#pragma once
// The MIDI commands of a document's tab: "Create MIDI file", "Import MIDI file", the play
// commands and the "MIDI" menu's controllers, with the application's metronome, default
// instrument and MIDI output; the MIDI files "Export all sections to MIDI" writes join the main
// window's play list. They play on the score view's player (whose reports the view
// follows); a tab without a score view keeps a player of its own.

#include <memory>

#include "midi/play/MidiOut.h"

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;
class EchoOutput;
class MidiOutStream;

namespace view {
class CommandTable;
}

// The output the preferences choose: the port of their list by its index (the synthesizer
// first), and the SoundFont.
MidiOutputSettings MidiOutputSettingsOf(const CVornelTabApp& app);

// The output that echoes typed notes, one for all the score views there are: it is opened once
// for them, and made again when the last of them has gone.
std::shared_ptr<EchoOutput> SharedEchoOutput(const CVornelTabApp& app);

void AddPlaybackCommands(view::CommandTable& table, CVornelTabApp& app, CVornelTabDoc& doc,
                         MidiOutStream* viewPlayer = nullptr);

}  // namespace vornel
