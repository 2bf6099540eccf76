#pragma once
// The tablature side of an instrument definition: the tuning, the tablature style (French
// letters, Italian or Spanish numbers), the rhythm-flag style, the tablature and flag fonts,
// the alfabeto chart and the switches of the tablature drawing; and the fret arithmetic that
// every tablature operation uses. Pitches given to and returned by the fret functions are
// pitch bytes (MIDI pitch - 23), the scale of the tuning's course records.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/instrument/CAlfabeto.h"
#include "model/text/CNotationFont.h"
#include "model/text/dfLogFont.h"
#include "model/instrument/nTuning.h"
#include "platform/archive/Persistent.h"

namespace vornel {

// A preset of the tablature settings: a named tuning with its lines and the styles it is
// written in.
struct TabPreset {
  std::string name;
  std::string tuningText;
  int32_t lines = 6;
  int32_t tabStyle = 0;
  int32_t flagStyle = 0;
  int32_t flagGroup = 0;
};

class CTabInstrument : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CTabInstrument";
  // Format marker of the archived record; a more negative marker is newer.
  static constexpr int32_t kFormatMarker = -23;
  static constexpr std::string_view kFlagsFace = "VornelTabFlags";
  // The descriptor of the tablature font's "track-font" element.
  static constexpr std::string_view kTablatureFontDescriptor = "tablature-font";
  // The rhythm-flag styles, by `flagStyle` (the flag-style commands set 0-11).
  static constexpr std::array<std::string_view, 12> kFlagStyleNames = {
      "English", "Italian", "Modern", "Plimsonne", "Tarquen", "Morvet",
      "Bramet",  "Thick English", "Lunda", "Baroque", "Quorbel", "Tessamont"};

  // Tablature styles.
  enum TabStyle : int32_t { kFrench = 0, kItalian = 1, kSpanish = 2, kMixedFrench = 3, kOwnFlags = 4 };

  std::string name = "7-course Lute in G";
  nTuning tuning;
  std::string tuningText;
  int32_t tabStyle = kFrench;
  int32_t flagGroup = 0;   // rhythm-flag mode word; bit 7 kept by SetFlagMode
  int32_t flagStyle = 0;   // kFlagStyleNames: 0 English ... 11 Tessamont
  int32_t scaleType = 0;   // non-zero: diatonic fretboard
  int32_t showFirstFlag = 1;
  int32_t showAllFlags = 0;
  int32_t drawOpaque = 0;  // bit 0 the switch, bit 4 mirrors restsOnTab
  int32_t ornamentStyle = 0;
  int32_t colored = 1;
  int32_t diapasonStyle = 0;
  int32_t betweenLines = 0;
  int32_t lowerBourdons = 1;
  int32_t flagsHeight = 0;
  int32_t restsOnTab = 0;
  int32_t rotateFlags = 0;
  int32_t baroqueStrumming = 0;
  int32_t printTuning = 0;
  int32_t signatureSize = 80;
  int32_t shortSignature = 0;
  int32_t coloredFlags = 0;
  int32_t microTuning = 0;         // kept equal to the tablature font's micro-tuning
  int32_t binaryOnlySetting = 35;  // kept only in the archived record
  // Set for the device being drawn on by ComputeDeviceSpacing; not stored.
  std::array<int32_t, 2> deviceSpacing = {0, 0};
  dfLogFont tabFont;               // the tablature letters
  CNotationFont flagsFont;         // the rhythm flags
  CAlfabeto alfabeto;

  CTabInstrument();

  // Every setting, the tuning, the alfabeto chart and both fonts; the tuning text is rebuilt.
  void CopyFrom(const CTabInstrument& other);
  // The drawing settings only: name, styles, flag settings, fonts, switches and sizes.
  void CopyStyleFrom(const CTabInstrument& other);

  // The course for a pitch byte, considering only courses after `after` (-1 for all): an open
  // course of that pitch at once, else the smallest fret, the first course on ties. -1 below
  // the lowest course, above course 1 + 24 or when no course qualifies.
  int FindStringForPitch(int pitch, int after) const;
  // The first course from the last on the lines up to course 2 whose open pitch class lies
  // within four frets below the pitch class `c` (counted from A); 0 when none.
  int FindBassString(int c) const;
  // The pitch byte of a fret; 255 for a course not in use. On a diatonic fretboard the fret
  // counts diatonic steps, `halfStep` adding the half-step fret.
  int GetPitchForFret(int string, int fret, bool halfStep = false) const;
  // The tablature text of a pitch on a course; false (no text) off the fretboard.
  bool GetFretText(int pitch, int string, std::string& text) const;
  // "6+" for 11 semitones, "7" for 12; false when no step fits.
  static bool FormatDiatonicFret(int semitones, std::string& text);
  // The line a course is drawn on (Spanish tablature puts course 1 on the bottom line).
  int GetDisplayLine(int string) const;
  // The tablature font's stave adjustment in pixels of the device: the line spacing from its
  // cx (vertical resolution) and the flag size from its cy (horizontal resolution). Stored
  // in deviceSpacing and returned.
  std::array<int32_t, 2> ComputeDeviceSpacing(int32_t dpiX, int32_t dpiY);
  // The character code of the rhythm-flag glyph of value `v` in the flags font.
  uint32_t GetFlagGlyph(int v) const;
  // Sets the flag mode bits, keeping bit 7.
  void SetFlagMode(int mode);

  // Course helpers.
  std::string GetStringNoteName(int string) const;
  std::string GetStringPitchText(int string) const;
  // Every course in use moved by `halfSteps`, respelled with the note names.
  void TransposeTuning(int halfSteps);
  // Courses from MIDI pitches: entry k + 2 gives course k. False (nothing changed) when an
  // entry from index 2 on is outside 0-127.
  bool SetTuningFromPitches(int count, const int* midiPitches);
  // Flag style and group 2, Italian numbers, the tablature font in "Vornelfg", offsets 60 and 30.
  void SetImportDefaults();
  // The preset's name, tuning (pitches recomputed from its text) and styles.
  void ApplyPreset(const TabPreset& preset);

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "tablature-definition" with its fonts, tuning, style, ornaments, positions, options and
  // alfabeto chart.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "tablature-definition"; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  int CoursesInUse() const;
  // The stored pitch byte (MIDI pitch less kCoursePitchOffset) of an open course.
  int OpenPitch(int string) const { return tuning.courses[static_cast<size_t>(string)].pitch; }

 private:
  void SetDefaults();
};

}  // namespace vornel
