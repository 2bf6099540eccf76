#pragma once
// The dialogs that edit a section or a system as a whole, as plain structs of their fields with
// their range checks and their exchange with the model: "Section properties" (698), "Parse
// voices" (753), "System options" (722) and "Page formatting" (450). The window layer shows
// them through SectionDialogs(); without them each dialog says that none is installed and
// changes nothing.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "document/dialogs/FacsimileListEditing.h"
#include "layout/dialogs/TrackTextDialog.h"
#include "model/score/SectionEditor.h"
#include "model/text/dfLogFont.h"

namespace vornel {

class CPageDlg;

class CSectionArray;
class CStaveArray;
class CSystemArray;

// "Section properties".
struct CSectionDlg {
  static constexpr std::array<std::string_view, 8> kBeatUnits = {
      "quarter", "half", "eighth", "round", "dotted_quarter", "dotted_half", "dotted_eighth", "dotted_round"};
  static constexpr std::array<std::string_view, 7> kKeyLetters = {"C", "D", "E", "F", "G", "A", "B"};
  static constexpr std::array<std::string_view, 3> kKeyAccidentals = {"", "b", "#"};
  static constexpr std::array<std::string_view, 7> kModes = {
      "Ionian [Major]", "Dorian", "Phrygian", "Lydian", "Mixolydian", "Aeolian [minor]", "Locrian"};
  // The tempo word keeps 12 bits of beats per minute.
  static constexpr int kMaxTempo = 0xFFF;

  std::string name;
  std::string author;
  std::string comments;
  std::string endText;
  std::array<dfLogFont, 4> fonts;  // of the name, author, comments and end text
  int beatUnit = 0;                // index in kBeatUnits
  int tempo = 0;
  int movement = 2;
  int numerator = 0;
  int denominator = 0;
  int accidentalKind = 0;  // 0 "Flat/Bemol", 1 "Sharp/Diese"
  int alterations = 0;
  int keyLetter = -1;
  int keyAccidental = -1;
  bool melodicMinor = false;
  int mode = 0;
  int leftOffset = 0;  // millimetres
  int barOffset = 0;
  int stavesPerPage = 0;
  bool midiRepeats = false;
  bool resetAllOffsets = false;
  bool pageBreakAfter = false;
  bool blankPageAfter = false;
  bool excludeFromContents = false;
  FacsimileListEdit facsimiles;  // "Facsimile list": the section's facsimiles
  std::string commentsPage;      // "Comments page": the section's rich-text notes (RTF)
  // "Global": the author given to every section of the document (after asking); true when
  // it was. Empty where the dialog has no document: the button is then disabled.
  std::function<bool(const std::string& author)> applyAuthorToAllSections;

  void From(const CSystemArray& section);
  // The message naming the first field out of its range; empty when all are in range.
  std::string Validate() const;
  // Stores the fields: tempo word = beat unit << 24 | beats per minute (the flag nibble is not
  // kept), flags = blank page 0x1 | excluded 0x10 | page break after 0x100.
  void To(CSystemArray& section) const;
  // "Insert blank page after:" is enabled only while "Page break after:" is checked.
  bool BlankPageEnabled() const { return pageBreakAfter; }
};

// "Parse voices".
struct CAnalyzeVoicesDlg {
  int splitPoint = 60;  // MIDI pitch
  int highRange = 6;
  // "C 5" style name of the split point, shown beside it.
  std::string SplitPointName() const;
  std::string Validate() const;
};

// "System options" on a system and its picture.
struct CSegOffsetDlg {
  static constexpr std::array<std::string_view, 3> kPositions = {"Top left", "Bottom left", "Centered"};

  std::string imagePath;
  int leftIndent = 0;
  int imageSize = 100;  // percent of the original
  int rightIndent = 0;
  bool nameInstruments = false;
  std::string name;     // the name of the system's caption text
  bool hidden = false;
  std::string caption;  // the caption text
  bool restartBars = false;
  bool printTuning = false;
  bool noBracket = false;  // the system keeps no such switch; shown unchecked
  int imagePosition = 0;  // index in kPositions
  dfLogFont captionFont;

  void From(const CStaveArray& system);
  std::string Validate() const;
  void To(CStaveArray& system) const;
  // "Clear": no image, no indentation, size 100, position "Top left".
  void Clear();
};

// "Page formatting".
struct CReformatPageDlg {
  static constexpr std::array<std::string_view, 3> kAlignments = {"Left", "Right", "Center"};
  int stavesPerPage = 5;
  int spacing = 100;
  int titleAlignment = 2;     // "Center"
  int authorAlignment = 1;    // "Right"
  int commentsAlignment = 0;  // "Left"
  bool reformatStaves = false;
  bool reformatAllSections = false;
  // Where "Page format" puts the paper and orientation chosen; none disables it.
  CPageDlg* pageSettings = nullptr;

  std::string Validate() const;
  // The two sliders follow "Reformat staves".
  bool SlidersEnabled() const { return reformatStaves; }
};

// The dialogs as the window layer shows them; true on OK with the struct filled.
class SectionDialogs {
 public:
  virtual ~SectionDialogs() = default;
  virtual bool EditSection(CSectionDlg& dialog);
  virtual bool ParseVoices(CAnalyzeVoicesDlg& dialog);
  virtual bool EditSystem(CSegOffsetDlg& dialog);
  virtual bool ReformatPage(CReformatPageDlg& dialog);
  // "Track text settings", also the caption and footnote editors of meta-events.
  virtual bool EditTrackText(CTrackTextDlg& dialog);
};

SectionDialogs& SectionEditingDialogs();

class ScopedSectionDialogs {
 public:
  explicit ScopedSectionDialogs(SectionDialogs& dialogs);
  ~ScopedSectionDialogs();
  ScopedSectionDialogs(const ScopedSectionDialogs&) = delete;
  ScopedSectionDialogs& operator=(const ScopedSectionDialogs&) = delete;

 private:
  SectionDialogs* previous_;
};

// "Section settings": the section properties dialog on the section. On OK stores the fields,
// copies the section key into every definition and recalculates the section; `resetOffsets`
// (may be null) receives "Reset all sections offsets". Returns 1 on OK, 0 on Cancel (nothing
// changed).
int EditSectionProperties(CSystemArray& section, bool* resetOffsets = nullptr,
                          std::function<bool(const std::string& author)> applyAuthorToAllSections = {});
// "Apply this author's name to all sections?" and, on OK, every section's author text; true
// when the user agreed.
bool ApplyAuthorToAllSections(CSectionArray& sections, const std::string& author);
// The system options dialog on a system; true on OK with the results stored.
bool EditSystemOptions(CStaveArray& system);

// The model's "Parse voices" and system options questions answered by the dialogs.
class DialogSectionEditor : public SectionEditor {
 public:
  bool ParseVoices(int& splitPitch, int& highRange) override;
  bool EditTrackText(CTrackText& text) override;
  bool EditSystemOptions(CStaveArray& system) override;
};

}  // namespace vornel
