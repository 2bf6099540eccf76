#pragma once
// The one finishing step of every import: a section an importer built, laid out as the editor
// lays out a new section, before or after it joins its document.

#include <cstddef>

namespace vornel {

class CSystemArray;

// Where the importer left the music.
enum class ImportedVoices {
  kInSystems,      // already in the section's systems
  kInDefinitions,  // walked into the instrument definitions; the section has no system yet
};

// Lays out an imported section: voices left in the definitions first go into one new system,
// re-barred and numbered, with fixed bar lines on bar ends freed; then the first system's
// staves go to every system, the notation is respelled in each instrument's key, the section
// is re-barred, and the music is reflowed into systems that end after the first bar line
// following a run of more than `eventsPerSystem` events. The last step re-bars it as reading a
// document does, so that the first save reads back as it was written.
void FinishImportedSection(CSystemArray& section, size_t eventsPerSystem,
                           ImportedVoices voices = ImportedVoices::kInSystems);

// The parts' names stand before the staves: on the first system in full, and on the systems
// after it shortened when some instrument has a shortened name (else only on the first).
// Nothing changes when no instrument has a name to print.
void ShowPartNames(CSystemArray& section);

// Events per system of an imported MIDI file, in the editor and in the tool alike.
inline constexpr size_t kMidiImportEventsPerSystem = 20;

}  // namespace vornel
