#pragma once
// The definition of one instrument of a score: its name, family, tuning and tablature style,
// its staves, key, fonts, ornament glyphs, pedals and MIDI settings, the options of its
// drawing, and the values of the "Staves" page that edits it. Every instrument line of every
// system is built from one definition and points back to it. The definition also carries
// two gathered voices: the chords of one instrument over all systems, listed without being
// owned, through which whole-instrument operations reach the music.
//
// The property sheet and pages that edit a definition belong to the window layer.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/instrument/CClef.h"
#include "model/instrument/CKey.h"
#include "model/text/CNotationFont.h"
#include "model/ornament/COrnamentGlyphTable.h"
#include "model/instrument/CPedal.h"
#include "model/instrument/CTabInstrument.h"
#include "model/text/CTrackText.h"
#include "model/score/CVoicesArray.h"
#include "model/events/MIDIControllers.h"
#include "model/voice/nChordArray.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

struct BrailleExport;
struct InstrumentTemplateRecord;

class CInstrumentDlg : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CInstrumentDlg";
  // What reading builds for one definition: its default tables and fonts, beyond the object.
  static constexpr size_t kBuildWeight = 12 * 1024;
  static constexpr size_t kFamilyCount = 11;
  // The descriptor of the name font's "track-font" element.
  static constexpr std::string_view kNameFontDescriptor = "name-font";
  static constexpr std::array<std::string_view, kFamilyCount> kFamilyNames = {
      "Renaissance lute", "Lute (accords nouveaux)", "Baroque lute", "Theorbe", "Guitar", "Viols",
      "Plucked",          "Bowed",                   "Keyboards",    "Winds",   "Percussions"};
  // The notation presets of the "Staves" page (indexes 9 and 10 are handled but not listed).
  static constexpr std::array<std::string_view, 9> kPresetNames = {"Tablature",
                                                                   "Guitar G8 clef staff",
                                                                   "Single voice - G clef",
                                                                   "Single voice - F clef",
                                                                   "Single voice - C clef",
                                                                   "Grand staff",
                                                                   "Tablature + grand staff",
                                                                   "Tablature + guitar staff",
                                                                   "Theorbo grand staff (G8+F clefs)"};
  static constexpr int kGrandStaffPreset = 5;
  static constexpr int kMergedStavesPreset = 1;
  // Commands that flip one MIDI switch.
  enum MidiCommand : int {
    kMuteCommand = 33979,
    kMonophonicCommand = 33980,
    kOrnamentsCommand = 33981,
    kResonateCommand = 33982,
    kEchoCommand = 33983,
    kOctaveCommand = 33984,
    kMergeVoicesCommand = 33985,
  };
  // Codes of GetElementColor.
  enum ElementColor : int { kTabFontColor = 24, kFlagsFontColor = 25, kAlfabetoColor = 26, kNotationColor = 27 };

  // --- the definition
  uint8_t family = 0;
  int32_t visible = 1;
  CTrackText nameText;  // the instrument's name and its font (bold)
  // The name shortened, written before the staves of the systems after the first (empty: the
  // name itself). The XML form writes it only when it is set ("short-name" of "instrument");
  // the binary record does not keep it.
  std::string shortName;
  CTabInstrument tabInstrument;
  MIDIControllers midi;
  CKey key;
  CNotationFont notationFont;
  COrnamentGlyphTable ornaments;
  CPedalArray pedals;
  OwnedArray<CClef> staves;  // the stave definitions, top to bottom

  // --- options
  int32_t showBarlines = 1;
  int32_t hideOrnaments = 0;  // "hidden" of the options: the notes' ornaments are not drawn
  int32_t closeSystems = 0;
  int32_t slantedBeams = 0;
  int32_t longStems = 0;
  int32_t notationOptions = 0;
  // Not stored with the definition: the property sheet copies it into the tablature
  // instrument's short signature.
  int32_t shortSignatures = 0;
  int32_t familyPage = 0;
  // Tablature beams: 0 off, 1 single flags with group beams, 2 guitar beams; and the
  // tablature-across-line switch. The XML form writes each only when it is set, so files
  // without them read and write back unchanged; the binary record keeps neither.
  int32_t beamMode = 0;
  int32_t tabAcrossLine = 0;

  // --- the "Staves" page values, mirroring the current stave. Only the notes style and the
  // clef raise are stored (as the square-notes and clef-line options).
  int32_t clefPage = 0;
  int32_t spacingBelowPage = 4;
  int32_t notationModePage = 0;
  int32_t notesStyle = 0;    // "square-notes"
  int32_t clefStylePage = 0;
  int32_t clefLine = 0;      // Raise clef by, -8 to 8
  int32_t transposePage = 0;
  int32_t voicesShownPage = 0;
  int32_t stemDirectionPage = 0;
  int32_t hideMetaEventsPage = 0;
  int32_t presetIndex = -1;
  size_t currentStave = 0;
  int32_t voiceSelector = 0;  // copied into the lines built from the definition
  // Not stored: the property sheet may reach the instrument base from this definition ("View
  // Database", "Add to database"). The base's own dialog clears it while its sheet edits one
  // of the base's definitions. A copy keeps it; CopyFrom, which passes settings from one
  // definition to another, leaves it alone.
  bool editContext = true;

  // --- gathered voices (filled by the section's gathering; the chords stay the systems')
  std::array<nChordArray, 2> gathered;
  CVoicesArray gatheredList;  // both gathered voices
  std::array<size_t, 2> staveBreakCounts = {0, 0};
  std::array<size_t, 2> startIndexes = {0, 0};  // first chord at or after the gathering tick
  // The marked area: positions of the begin and end marked chords in the first gathered
  // voice; begin -1 when there is none.
  std::array<int32_t, 2> markers = {-1, 0};
  std::string workingText;

  CInstrumentDlg();
  // A copy of every setting (CopyFrom); the gathered voices start empty.
  CInstrumentDlg(const CInstrumentDlg& other);
  CInstrumentDlg& operator=(const CInstrumentDlg&) = delete;
  ~CInstrumentDlg() override;

  std::unique_ptr<CInstrumentDlg> Clone() const { return std::make_unique<CInstrumentDlg>(*this); }

  // The name of a family index; an index beyond the table gives the first name.
  static std::string_view FamilyName(uint32_t index);
  // The family's name; an index beyond the table is reset to 0 first.
  std::string_view GetFamilyName();

  // --- staves
  // Adds one stave when there is none; points every stave to the definition.
  void EnsureStave();
  bool StavesCreated() const { return stavesCreated_; }
  // A new stave at the end; null when the definition already has the most staves a line shows.
  CClef* AddStave();
  void DeleteStaves();
  // Replaces the staves by copies of the other definition's, pointing to this one.
  void CopyStavesFrom(const CInstrumentDlg& other);
  // Points every stave to the definition, its tablature instrument and its clef line.
  void LinkStaves();
  // Drawing records on the definition's staves the last clef change it met; a section drawn
  // from its start begins without one.
  void ForgetRecordedClefs();
  CClef* GetCurrentStave() const { return staves.at(currentStave); }
  // The page values into the current stave, and back (std::out_of_range without one).
  void StoreStaveSettings();
  void LoadStaveSettings();
  // Replaces the staves by a preset's (see kPresetNames).
  void ApplyNotationPreset(int index);

  // --- copies
  // Every setting: tablature instrument, ornaments, pedals, staves, MIDI, fonts, key, options,
  // family and name.
  void CopyFrom(const CInstrumentDlg& other);
  // The drawing and sound settings that one section's definition passes to another's; the
  // tuning and the key signature stay.
  void ApplySettingsFrom(const CInstrumentDlg& other);

  // From a built-in template: the first stave's notation mode, the tuning, the General MIDI
  // program with its name, the instrument's name and its family.
  void SetFromTemplate(const InstrumentTemplateRecord& record);

  // --- names and colours
  std::string GetNotationName() const;
  std::string GetFlagStyleName() const;
  // Flips one MIDI switch and returns its new value; other commands return 0.
  int ToggleMidiOption(int command);
  // Colour of a drawing element: 1-7 the ornament table's colours, 24-27 the fonts'.
  uint32_t GetElementColor(int code) const;

  // --- gathered voices
  void ReleaseGatheredVoices();
  // Respells every gathered chord in the definition's key.
  void RespellVoicesInKey();
  // Respells the gathered chords from `start` on and gives them courses on the tablature
  // instrument.
  void RespellAndRestringVoices(size_t start);
  // Stem directions of the voice each stave shows alone (upper or lower), from the stave's
  // dividing pitch, starting in the direction of its stem-direction option. A stave that
  // shows both voices leaves them alone: there the voice decides.
  void SetVoiceStemDirections();
  // Replaces the buffer's gathered voices by copies of the chords from the begin marked chord
  // through the end marked chord, found in each voice by the marked chords' start ticks.
  // False when there is no marked area.
  bool CopyMarkedArea(CInstrumentDlg& buffer) const;
  // Deletes those chords from the first gathered voice and, when that removed anything, from
  // the second. The shared stave break only leaves the voices.
  bool DeleteMarkedArea();

  // The instrument's Braille block: name, tuning and the tablature of its gathered first
  // voice (the second when the first is empty).
  void WriteBrailleTabText(BrailleExport& text) const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "instrument" with the name, name font, tablature definition, MIDI settings, key,
  // notation font, ornament table, "options" and "clefs".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Children by position; "options" must be where it belongs. Returns the element after.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  void ListGatheredVoices();
  struct TickSpan {
    uint32_t first;
    uint32_t last;
  };
  // The start ticks of the marked chords, when both lie inside the first gathered voice.
  std::optional<TickSpan> MarkedTicks() const;
  void FillNameFromTuning();

  bool stavesCreated_ = false;
};

// The instrument definitions of a section (or of the instrument base), owned, in order.
class CInstrumentArray : public OwnedArray<CInstrumentDlg> {
 public:
  // "instruments" with "count" and one "instrument" per definition carrying its "index".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Appends the definitions of an "instruments" element (as many as "count" says and the
  // children hold), then links every definition's staves. Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
  // Links the staves of every definition; one without staves gets its first stave.
  void LinkAll();
  // Definitions that are not hidden.
  size_t GetVisibleCount() const;

  // --- the instrument base (the rest lives in InstrumentBaseArray.cpp)
  // Deletes the entry that is `definition`; false when the array does not hold it.
  bool RemoveDefinition(const CInstrumentDlg* definition);
  // Appends twelve definitions made from the built-in template set in use.
  void FillFromTemplates();
  // The binary base: the header texts ("VornelVersion" and the program's version), then the
  // definitions. Reading takes the header only from archives of version "6.596" on, and
  // reads the definitions in the version the header names; definitions read before a
  // failure stay appended (and linked) when the error leaves.
  void StoreBase(ArchiveWriter& ar) const;
  void LoadBase(ArchiveReader& ar);
};

// The built-in template set a fresh base is filled from (kEarlyMusicSet at start; a reset to
// the default instruments switches to kModernSet).
size_t TemplateSetInUse();
void SetTemplateSetInUse(size_t set);

}  // namespace vornel
