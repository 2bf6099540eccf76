#pragma once
// Section-wide tools that the score commands run on one section: page-break flags, beat
// length, key analysis, voice restructuring (split, merge, transfer, delete, fill, auto-dot),
// the marked area and the settings of the active stave passed to every system. Each works on
// the active instrument line (the same index in every system) unless it says otherwise; an
// active index out of range raises std::out_of_range before anything changes.

#include <cstddef>
#include <cstdint>
#include <utility>

namespace vornel {

class CKey;
class CSectionArray;
class CSystemArray;
class nChordArray;

// --- section flags and beats
// The page-break bit after the section flipped; every other bit kept.
int32_t TogglePageBreak(int32_t flags);
void TogglePageBreaks(CSectionArray& sections);
// Ticks of a beat code: 1 half, 2 eighth, 3 whole, 4 dotted quarter, 5 dotted half, 6 dotted
// eighth, 7 dotted whole, any other a quarter (192).
uint32_t GetBeatTicks(int code);

// --- key
// The key signature and mode from the pitch classes of the first voice that holds music,
// stored in the section's key; the notation is then respelled.
void AnalyzeKey(CSystemArray& section);
// The analysis on counts of the twelve pitch classes (C = 0): fifths (negative for flats)
// and the minor flag.
std::pair<int, bool> AnalyzeKeyCounts(const int (&counts)[12]);

// --- voices
// Appends `count` empty chords of rhythm `code` to an empty voice; with a denominator above 3
// and a code that is a multiple of 3 other than 3, the code is divided by 3 and each step
// appends a pair (code - 1, code). 0 when the voice holds anything.
int FillEmptyVoice(nChordArray& voice, int count, int code, int32_t denominator);
// The one-dot fingering toggled on each one-note chord from `start` to `end` whose tick is
// not a multiple of its duration; returns where it stopped.
size_t AutoDotRange(nChordArray& voice, size_t start, size_t end);
// AutoDotRange over the gathered first voice of the active instrument.
void AutoDotActiveVoice(CSystemArray& section);
// The second voice of the active instrument becomes an instrument of its own right after it
// (one staff-notation stave with its second stave's settings). 0 when that voice is empty.
int SplitInstrumentVoices(CSystemArray& section);
// The second voice merged into the first; 0 when it is empty.
int MergeInstrumentVoices(CSystemArray& section);
// Staff notation made from the active tablature line: a new instrument (a grand staff, or
// one G8 staff with both voices) whose voices split the tablature's by the notes' voice
// marks. 0, with nothing changed, when the active line holds no notes.
int CreateNotationFromTablature(CSystemArray& section, bool grandStaff);
// The key moved by `semitones`: the major key of the new tonic (the relative major for a
// minor key) by sharps, or by flats when the key used flats; major or minor is kept.
CKey TransposedKey(const CKey& key, int semitones);
// The notes of the active line in every system respelled, accidentals marked bar by bar, in
// its definition's key moved by the key's transposition. Returns 0.
int FormatAlterations(CSystemArray& section);
// Course `course` of definition `instrument`'s tuning takes `midiPitch` and the notes on that
// course in its lines follow; returns the shift (0 when the pitch was the course's already).
// A course the tuning does not use, or a pitch outside the tuning's range, raises
// std::out_of_range before anything changes.
int ChangeCourseTuning(CSystemArray& section, size_t instrument, int course, int midiPitch);
// The bars of the active instrument's first voice (its second when the first is empty); a
// system break ends a bar as a bar line does.
int CountActiveInstrumentBars(CSystemArray& section);
// Copies of the chords of bars `firstBar` through `lastBar` (from 1) of that voice replace
// the destination's; returns how many were copied (0, the destination kept, for none).
size_t CopyBarRange(CSystemArray& section, nChordArray& destination, int firstBar, int lastBar);
// The active stave leaves the active line and its selected voice is emptied in every system.
void DeleteActiveVoice(CSystemArray& section);
// The second voice of the active line moves to a new staff-notation instrument at the end;
// the old line's selected voice is emptied.
int TransferVoiceToNewInstrument(CSystemArray& section);
// The selected voice of the active line emptied in every system.
void ClearVoice(CSystemArray& section);
// Every note of both voices of the active line removed (the chords stay, as rests).
void ClearAllNotes(CSystemArray& section);

// --- the marked area of the active instrument
// Finds the begin and end markers in the gathered first voice and stores their positions in
// the definition (begin -1 without one; without an end marker, the last chord's position).
std::pair<int32_t, int32_t> UpdateMarkedArea(CSystemArray& section);
// Deletes the marked chords, resets the area and removes every marker. 0 without an area.
int DeleteMarkedArea(CSystemArray& section);

// --- the active stave, in its definition and in every system
void ToggleTablatureNotationMode(CSystemArray& section);
void SetActiveStaveClef(CSystemArray& section, int32_t clef);
void SetActiveStaveEnabledVoices(CSystemArray& section, int32_t value);
// Stores the short-signature switch and sets or clears bit 2 of every time signature of the
// active line's voices.
void SetShortSignatures(CSystemArray& section, bool shortForm);
// A notation preset applied to the active definition and to its line in every system.
void SetActiveNotationType(CSystemArray& section, int preset);

}  // namespace vornel
