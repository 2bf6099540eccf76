#pragma once
// The pages of the "Instrument properties" sheet as plain structs of their fields, with their
// checks and their exchange with an instrument definition: the name page, the tablature page,
// the tablature fonts and colours page and the pedals page; and the sheet itself, which works
// on a copy of the definition and copies the pages' results back on OK. The "Staves" page is
// the definition's own stave page values. The windows belong to a higher layer.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"

namespace vornel {

// The name page: name, family, the drawing switches and the option byte's fingerings bit.
struct CInstrumentName {
  static constexpr std::array<std::string_view, CInstrumentDlg::kFamilyCount> kFamilies = {
      "Renaissance lute", "Renaissance lute (accords nouveaux)", "Baroque lute", "Theorbe",
      "Guitar", "Viols", "Plucked ", "Bowed", "Keyboards", "Winds", "Percussions"};

  std::string name;
  int family = 0;
  bool showBarlines = true;
  bool hideOrnaments = false;
  bool closeSystems = false;
  bool shortSignatures = false;
  bool slantedBeams = false;
  bool longStems = false;
  bool fingeringsAbove = false;  // bit 0 of the option byte
  bool tablaturePreview = true;  // the preview shows the tablature line

  // From the definition; the family from its family page value.
  void Load(const CInstrumentDlg& definition);
  // Leaving the page: the switches, the family page value and the name back; the option byte
  // keeps its other bits.
  void Store(CInstrumentDlg& definition) const;
};

// The tablature page on a tablature instrument.
struct TabInstrumentDlg {
  static constexpr std::array<std::string_view, 5> kStyles = {
      "French (letters, top= treble)", "Modern (numbers,  top=treble)", "Italian(numbers, bottom=treble)",
      "Mixed (French with numbers for bourdons)", "Percussions staff"};
  static constexpr std::array<std::string_view, 7> kFlagGroups = {
      "Individual flags", "Lute beams", "Guitar beams", "Hide all flags", "Beamed group mode",
      "Baroque group mode", "English beams"};
  static constexpr std::array<std::string_view, 2> kFretScales = {"Chromatic", "Dulcimer 1"};
  static constexpr std::array<std::string_view, 7> kDiapasonStyles = {
      "Straight", "Curved", "Scaled to font", "Thicker", "Stretched", "Wavy", "Use tab font"};
  static constexpr size_t kMaxTuningText = 50;

  std::string tuningText;
  nTuning tuning;  // the tuning as "Change tuning" left it
  int tabStyle = 0;
  int flagStyle = 0;
  int flagGroup = 0;  // -1: the stored mode lies outside the list (nothing shown)
  int fretScale = 0;
  int diapasonStyle = 0;
  int lineSpacing = 25;  // tenths of a millimetre
  int signatureSize = 80;
  int flagDistance = 0;
  int diapasonDistance = 0;
  int letterAdjust = 0;
  int numberAdjust = 0;
  bool drawOnLines = true;
  bool noGroupNumbers = false;
  bool firstFlags = true;
  bool alfabeto = false;
  bool coloredOrnaments = true;
  bool coloredFlags = false;
  bool allFlags = false;
  bool quarterToDouble = false;
  bool strumming = false;
  bool baroqueRests = false;
  bool opaque = false;
  bool printTuning = false;
  bool restsOnTab = false;

  // The list entry of a stored flag-mode word: ((word >> 4) & 7) + 3 when those bits are set,
  // else word & 3; -1 when that lies beyond the list.
  static int FlagGroupEntry(int32_t word);

  void Load(const CTabInstrument& tab);
  // "Change tuning" took a tuning back: the text follows it.
  void TakeTuning(const nTuning& edited);
  std::string Validate() const;
  // OK: every field into the instrument. The flag mode is rewritten only when an entry is
  // chosen, so a stored mode the list cannot show keeps its bits.
  void Store(CTabInstrument& tab) const;

 private:
  int32_t loadedFlagWord_ = 0;
  int loadedFlagGroup_ = 0;
};

// "Fonts and Colors": the micro-tuning and colour of four fonts and the seven glyph colours.
struct CTabFontsDlg {
  enum Font : size_t { kTablature, kFlags, kNotation, kAlfabeto, kFontCount };
  static constexpr int kMicroRange = 30;
  static constexpr int kNotationMicroRange = 36;
  // The glyph colour buttons in page order, with the ornament table's colour each sets.
  struct GlyphColor {
    std::string_view label;
    COrnamentTable::ColorIndex index;
  };
  static constexpr std::array<GlyphColor, 7> kGlyphColors = {{{"Ornament ", COrnamentTable::kOrnaments},
                                                              {"Fingerings ", COrnamentTable::kFingerings},
                                                              {"Metaevents", COrnamentTable::kMetaEvents},
                                                              {"Slurs", COrnamentTable::kSlurs},
                                                              {"Legatos", COrnamentTable::kLegatos},
                                                              {"Tied notes", COrnamentTable::kTiedNotes},
                                                              {"Melody", COrnamentTable::kMelody}}};

  std::array<int, kFontCount> micro{};
  std::array<uint32_t, kFontCount> fontColors{};
  std::array<uint32_t, COrnamentTable::kColorCount> glyphColors{};

  static int MicroLimit(size_t font) { return font == kNotation ? kNotationMicroRange : kMicroRange; }
  // A slider position kept inside that font's range.
  static int ClampMicro(size_t font, int value);
  void Load(const CInstrumentDlg& definition);
  void Store(CInstrumentDlg& definition) const;
  // "Default colors": the seven glyph colours only.
  void DefaultColors();
  std::string Validate() const;
  // The notation font's pixel height after a font choice: its size in tenths of a millimetre
  // at the window's vertical resolution.
  static int32_t NotationPixelHeight(const CNotationFont& font, int32_t dpiY);
};

// "Pedals": ten pedals edited one at a time against the strings of the tuning.
struct CPedalControl {
  std::array<CPedal, CPedalArray::kPedalCount> pedals;
  int shownStrings = 0;
  int current = 0;
  std::array<std::string, nTuning::kMaxCourses> stringNames;  // "String %d"
  std::array<std::string, nTuning::kMaxCourses> stringNotes;  // the open string's note

  void Load(const CPedalArray& source, const nTuning& tuning);
  // Another tab: std::out_of_range outside the ten pedals.
  void Select(int index);
  CPedal& Current() { return pedals.at(static_cast<size_t>(current)); }
  std::string Validate() const;
  void Store(CPedalArray& target) const;
};

// The rows of the instrument list: eight columns per definition.
struct InstrumentListRow {
  static constexpr std::array<std::string_view, 8> kColumns = {"Name",      "Tuning",    "Tab style", "Font",
                                                               "MIDI Patch", "Ornaments", "Flags",     "Flag links"};
  static constexpr std::array<int, 8> kWidths = {170, 150, 100, 120, 120, 100, 100, 150};
  static constexpr std::array<bool, 8> kRightAligned = {false, true, true, true, true, true, false, false};
  static constexpr std::array<std::string_view, 3> kOrnamentStyles = {"Baroque", "Renaissance", "Baroque guitar"};
  static constexpr std::array<std::string_view, 4> kFlagLinks = {"Flags", "Lute style links", "Modern Guitar",
                                                                 "No flags"};

  std::array<std::string, 8> cells;
  int image = 0;  // the definition's family

  static InstrumentListRow Of(const CInstrumentDlg& definition);
  // The definitions whose image is `filter` (every one for -1), in order.
  static std::vector<InstrumentListRow> List(const CInstrumentArray& definitions, int filter);
};

// The sheet: a working copy of the definition that the pages edit. Open fills the page values
// (transpose, family, the current stave; a stave is added when there is none); Apply is OK's
// copy-back of the page values into the working copy, which the caller then takes.
struct InstrumentSheet {
  static constexpr std::string_view kTitle = "Instrument properties";
  static constexpr std::array<std::string_view, 6> kPages = {"Name", "Staves", "Tablature", "Fonts and Colors",
                                                             "MIDI", "Pedals"};
  static void Open(CInstrumentDlg& definition);
  static void Apply(CInstrumentDlg& definition);
};

}  // namespace vornel
