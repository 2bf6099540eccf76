#pragma once
// The application's operations that start programs outside the editor: the TAB typesetter,
// an ABC converter, the MIDI-to-WAVE player and the desktop's MIDI player.

#include <string>

namespace vornel {

class CVornelTabApp;

// Runs the TAB typesetter on a file ("-P" and the file) and shows the "out.ps" it writes. An
// unset typesetter is looked for first, after a question.
void RunTabProgram(CVornelTabApp& app, const std::string& path);
// Asks for the typesetter and keeps it as "TabDosPath"; true when one was chosen.
bool ChooseTabProgram(CVornelTabApp& app);
// The "Run abc software" command: an ".abc" file goes to the converter of "AbcProgram", whose
// "Out.ps" is shown; without a converter the desktop opens the file.
void RunAbcSoftware(CVornelTabApp& app);
// Asks for the MIDI-to-WAVE player and keeps it as "TimidityPath"; true when one was chosen.
bool ChooseMidiToWavProgram(CVornelTabApp& app);
// The MIDI-to-WAVE player, looked for after a question when unset; empty when there is none.
std::string GetMidiToWavProgramPath(CVornelTabApp& app);
// Asks for a MIDI file and opens it with the desktop's player.
void OpenMidiFileInPlayer();

}  // namespace vornel
