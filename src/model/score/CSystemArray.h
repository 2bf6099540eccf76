#pragma once
// A section of a document: a movement or a piece of a collection. It owns its systems, the
// instrument definitions that the systems' lines are built from (line j of every system
// belongs to definition j), its heading and end texts, two rich-text blocks, a caption
// picture, a facsimile list, its key, time signature, tempo and movement, its layout and MIDI
// options, and the one system-break event that gathering puts after each system.
//
// The music of one instrument is cut into one piece per system. Operations that work across
// system boundaries gather an instrument's voice from every system into a list held by its
// definition, work on the list and scatter it back (or only release it). Hidden systems take
// part in neither: their music stays where it is.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score/StaveBreakPlaces.h"
#include "model/text/CFacsimileListDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CKey.h"
#include "model/text/CRTFPreface.h"
#include "model/score/CStaveArray.h"
#include "model/text/CTextStack.h"
#include "model/text/DIBornament.h"
#include "model/voice/nChord.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

struct BrailleExport;
struct TabTextReport;
class SnapshotExtra;
struct SystemsSnapshot;
class XmlSink;

class CSystemArray : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CSystemArray";
  static constexpr std::array<std::string_view, 7> kMovementNames = {"Presto",  "Allegro", "Allegretto", "Andante",
                                                                     "Moderato", "Largo",   "Lento"};
  static constexpr std::string_view kNewTitle = "New section";
  static constexpr size_t kNewSystemCount = 8;
  // What reading builds for one section before its record replaces the default systems and
  // definition (see ArchiveReader::BuildWeight).
  static constexpr size_t kBuildWeight = 48 * 1024;
  // The status of the system-break event: a bar line with the stave-break bit.
  static constexpr uint16_t kSystemBreakStatus = 65;
  // Bits of `flags`.
  static constexpr int32_t kBlankPageAfter = 0x1;
  static constexpr int32_t kExcludedFromContents = 0x10;
  static constexpr int32_t kPageBreakAfter = 0x100;
  // Texts of the text stack, in order.
  enum TextIndex : size_t { kTitle = 0, kAuthor = 1, kComments = 2, kEndText = 3, kTextCount = 4 };
  // Modes of NewSystem.
  enum NewSystemMode : int { kAppend = 0, kInsertAtActive = 1, kInsertAfterActive = 2 };

  OwnedArray<CStaveArray> systems;  // in page order
  CFacsimileListDlg facsimiles;
  CInstrumentArray definitions;
  CTextStack texts;  // title, author, comments, end text
  int32_t denominator = 4;
  int32_t numerator = 4;
  // Bits 0-11 beats per minute, 12-15 a flag nibble, 24-31 the beat unit.
  int32_t tempo = 100;
  int32_t movement = 3;
  int32_t horizontalCursor = 50;
  int32_t captionPosition = 0;
  CRTFPreface couplets;
  int32_t index = 0;      // position in the section list
  int32_t barOffset = 1;  // number of the first bar
  int32_t flags = 0;
  int32_t excluded = 0;   // copy of the contents flag
  int32_t stavesPerPage = 8;
  int32_t leftOffset = 0;  // millimetres
  std::string midiFilePath;
  int32_t repeats = 1;
  CRTFPreface rtfComments;
  std::array<int32_t, 2> newSystemValues = {4, 4};  // copied into every new system
  Rect pageRect;          // device rectangle of the page drawn last
  // Run-time: where the printed sequence puts the section, and the next system whose clef
  // changes the definitions have not recorded (the drawing replays those before it).
  int32_t firstPrintPage = 0;
  int32_t firstPrintSlot = 0;
  size_t clefsRecordedThrough = 0;
  // Run-time: what the definitions had recorded (each stave's clef and step offset) before
  // some systems, by the system's index, so that a drawing going back to one of them replays
  // nothing before it.
  std::map<size_t, std::vector<std::pair<int32_t, int32_t>>> clefCheckpoints;
  // Run-time: the first system of each page as the last layout broke the section into pages,
  // every page holding as many as fit on each of them, never more than `stavesPerPage` (empty
  // when it was not worked out: every page then holds `stavesPerPage`).
  std::vector<size_t> pageStarts;
  // Run-time: the first page of `pageStarts` that the layout only estimated, the systems after
  // those it measured cut into pages of as many as its fullest measured page; SIZE_MAX when
  // every page was measured. A drawing measures on before it draws such a page.
  size_t firstEstimatedPage = SIZE_MAX;
  int32_t activeSystem = 0;
  CKey key;
  DIBornament captionPicture;
  // On an undo or redo entry: document state kept with it (never stored, never copied).
  std::shared_ptr<SnapshotExtra> snapshotExtra;
  // On an undo or redo entry of an edit that changed only some systems: those systems alone
  // (the entry has no systems or definitions of its own; see CUndoSectionArray).
  std::unique_ptr<SystemsSnapshot> systemsOnly;

  // Title "New section", 4/4, tempo 100, "Andante", one default definition and eight systems.
  CSystemArray();
  // An undo entry holding only `held`: no systems, no definitions, no title.
  explicit CSystemArray(std::unique_ptr<SystemsSnapshot> held);
  ~CSystemArray() override;
  CSystemArray(const CSystemArray&) = delete;
  CSystemArray& operator=(const CSystemArray&) = delete;

  CTrackText& Title() const { return *texts.at(kTitle); }
  CTrackText& Author() const { return *texts.at(kAuthor); }
  CTrackText& Comments() const { return *texts.at(kComments); }
  CTrackText& EndText() const { return *texts.at(kEndText); }
  // The event that stands for a system boundary in gathered voices; one object, shared.
  const std::shared_ptr<nChord>& SystemBreak() const { return systemBreak_; }
  // The movement's name; empty for a movement outside the table.
  static std::string_view MovementName(int32_t movement);

  CStaveArray* System(size_t i) const { return systems.at(i); }
  CInstrumentDlg* Definition(size_t i) const { return definitions.at(i); }
  // The active system's active line and its definition (std::out_of_range when missing).
  CStaveArray* ActiveSystem() const { return systems.at(static_cast<size_t>(activeSystem)); }
  size_t ActiveInstrumentIndex() const;
  CInstrument* ActiveLine() const;
  CInstrumentDlg* ActiveDefinition() const;

  // --- systems
  // The systems a full page shows as last laid out (else the stored systems per page), >= 1.
  int32_t SystemsOnAPage() const;
  // The section's pages as laid out (at least 1), the page that shows a system, and the first
  // system and the number of systems of a page.
  size_t PageCount() const;
  size_t PageOfSystem(size_t system) const;
  size_t FirstSystemOfPage(size_t page) const;
  size_t SystemsOnPage(size_t page) const;
  // A system with one line per definition and the new-system values, appended (kAppend),
  // inserted at the active system or after it; another mode makes the system without
  // keeping it and returns null (MakeSystem gives such a system).
  CStaveArray* NewSystem(int mode);
  std::unique_ptr<CStaveArray> MakeSystem() const;
  int DeleteActiveSystem();
  void DeleteAllSystems();
  // Deletes every system after the first that is shown, has no caption, texts or picture,
  // and holds no music.
  void DeleteBlankSystems();
  // Moves the music of a system to the end of the previous one's and deletes the system.
  void MergeSystemIntoPrevious(size_t system);
  // Moves the first bar of a line up to the previous system (direction 0) or its last bar
  // down to the next (1); with `selectedVoiceOnly` only the line's selected voice moves.
  int MoveLineBarAcrossSystems(size_t system, size_t instrument, int direction, bool selectedVoiceOnly);
  // The same move for every line of the active system.
  int ShiftSystemBars(int direction);
  // A space (status 178) at `position` of every voice of the system that is longer than it;
  // with `rightSpace` a right static space (status 386) one position later.
  int InsertSpecialEventColumn(size_t system, size_t position, bool rightSpace);
  int InsertSpecialEventColumnAtCursor(bool rightSpace);

  // --- gathering and scattering
  // Rebuilds a definition's gathered list of one voice from the shown systems from `first` on,
  // with the system break after each system (none at the end), its ticks and bar numbers, the
  // start index of both lists for `tick` and the count of stave breaks.
  CInstrumentDlg& GatherVoice(size_t first, size_t instrument, size_t voice, uint32_t tick);
  // Both voices of the active instrument gathered; returns its index.
  size_t GatherActiveInstrumentVoices();
  void GatherAllVoices(size_t first);
  void ClearGatheredVoices();
  // Appends the runs of a list between stave breaks to voice `voice` of line `instrument` of
  // the shown systems in order; runs beyond the systems go to new systems.
  void ScatterVoice(const nChordArray& list, size_t instrument, size_t voice);

  // --- bars
  // Re-bars a system's voices from where the previous system's first line left its bar.
  // Gives the voices of system `s` the meter in force where the system before ended.
  void CarryTimeSignatures(size_t s);
  void RebarSystem(size_t system, bool align);
  // Numbers the bars of every shown system from the bar offset (hidden systems keep theirs);
  // with `keepBars` 0 the systems' bar lists are emptied first.
  void NumberBars(int keepBars);
  // Each system's first bar number minus the previous one's, from the second system on;
  // returns the last bar number, 0 with fewer than two systems.
  int32_t GetSystemStartBars(std::vector<int32_t>& starts);
  void RecalculateSection(bool align);

  // --- reflow
  // Lays the music out over the systems again: with `join` all of it into the first shown
  // system, else cut into systems of about `runLength` events. Returns 1.
  // Cut, a system ends at a bar line or the bar line starts the next one as `where` says.
  int ReflowSystems(bool join, size_t runLength, BreakAtBar where = BreakAtBar::kBefore);
  int ReflowAllInstruments();
  void ReflowInstrument(size_t instrument);

  // --- the cursor and playback
  nChord* GetCursorChord() const;
  // Moves the active stave's cursor onto the first chord at or after it and gathers the
  // active instrument's selected voice from the active system on; the chord's tick, or -1
  // when there is none.
  int64_t GetPlaybackStartTick();

  // --- instruments and staves (see the instrument operations)
  CInstrumentDlg* AddInstrument(std::unique_ptr<CInstrumentDlg> definition);
  // Adds a definition with the music of its gathered voices (a pasted instrument); an active
  // instrument without music gives way to it.
  int AddInstrumentWithVoices(std::unique_ptr<CInstrumentDlg> definition);
  int RemoveInstrument(size_t instrument, bool deleteDefinition);
  // Empties line `instrument` in every system; without `deleteChords` the events are only
  // unlinked (a gathered list holds them), and hidden systems, which gathering skips, keep
  // theirs. Returns 4.
  int ClearInstrumentData(size_t instrument, bool deleteChords);
  int MoveActiveInstrumentDown();
  void ApplyInstrumentDefinition(CInstrumentDlg& definition, size_t instrument);
  // The settings of a stave definition to the stave of the same index in line `instrument`
  // of every system.
  void ApplyStaveDefinition(CClef& definitionStave, size_t instrument);
  void ApplyStaveDefinition(CClef& source, size_t instrument, size_t staveIndex);
  size_t CopyFirstSystemStaves();
  int AddStaveToActiveInstrument();
  int RemoveActiveStave();
  int ChangeActiveStaveSpaceBelow(bool increase);
  // The document's default tablature font, with its offsets and scales, into every definition.
  void ResetTablatureFonts(const dfLogFont& defaultFont);
  // The section key into every definition's key; each keeps its own transposition.
  void CopySectionKeyToDefinitions();
  size_t GetTotalStaveCount() const;
  std::string GetActiveInstrumentNameText() const;
  // Runs the instrument property sheet on a copy of the active definition and applies what
  // it changed; a changed tuning may have the fingerings follow it. 1 when applied.
  int EditActiveInstrument();
  // The gathered voices of a copied definition go into the active line at the cursor.
  int PasteInstrumentDataAtCursor(const CInstrumentDlg& copied);

  // --- section-wide edits
  // One per-chord edit over both voices of every line of every system.
  void ApplyCommandToAllLines(ClearCommand command);
  // The same edit over both voices of the active instrument's line in every system. "Clear
  // forced barlines" instead re-bars each of those voices with the section's signature and
  // frees the fixed bar lines that fall on bar ends.
  void ApplyCommandToActiveInstrument(ClearCommand command);
  // For every definition, both voices gathered from its lines are respelled in its key.
  void RecalculateNotation();
  // The stems of the selected voice of the active line in every system, from the dividing
  // pitch of the line's active stave and its stem-direction option.
  void RecalculateStemDirections();

  // The section's signature at the start of every line of the first system.
  void InsertInitialTimeSignature();
  // After an import: each definition's gathered first voice goes to its line in the systems
  // (to the first system, as one run, when it holds no stave breaks) and the line's first
  // stave takes the definition's first stave; the same for a second voice that is not empty,
  // with the second stave. The gathered lists are released.
  void DistributeInstrumentVoices();
  // Takes the title, author and comments fonts, the systems per page and, index by index as
  // far as both sections have definitions, the instrument definitions of `other`.
  void CopySettingsFrom(const CSystemArray& other);

  // --- whole-voice edits of the active instrument
  int TransposeActiveInstrument(int interval);
  size_t TransposeNotesBeyondLimit(int limit, bool below);
  void ShiftCoursePitch(uint8_t course, int shift);
  void CenterRests();
  void RecalculateFingerings();
  void ChangeAllFlagValues(bool halve);
  // The "Parse voices" dialog, then the selected voice split by pitch. 1 on OK.
  int AnalyzeVoices();

  // --- text exports
  // The section as TAB text: its title, then the active line's selected voice of every
  // system, with "p" page breaks every systems-per-page systems when `pageBreaks` is set.
  // An active system outside the list raises std::out_of_range. Returns 1.
  int WriteTabFormatText(bool pageBreaks, std::string& out, TabTextReport* report = nullptr) const;
  // The section as Braille text: heading, every instrument's block, end text. The voices are
  // gathered for it and released after.
  void WriteBrailleTabText(BrailleExport& text);

  // --- stored forms
  // The lines' staves take the settings of their definitions' staves (a section's only
  // definition with one stave the spacing 1), as the binary reader gives them: the binary save
  // of a document does this first, so that the file reads back as it was written.
  // Without `normalise` (an exact copy) the lone definition's spacing is left as it is.
  void TakeDefinitionStaves(bool normalise = true);
  // A system copied through its exact record from one of this section's own, bound to the
  // definitions and the system break as reading the section binds its systems.
  void BindCopiedSystem(CStaveArray& system);
  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "section"; the list adds the section's position as "index".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, std::optional<int32_t> position = std::nullopt) const;
  void WriteXml(XmlSink& out, std::optional<int32_t> position = std::nullopt) const;
  // Replaces systems and definitions from a "section" element, binds the lines to the
  // definitions and recalculates. Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
  // The same in three steps, for a reader that parses the systems of a large section one at a
  // time: everything but the systems from a "section" element (its "systems" element may be
  // empty), which returns the "systems" element; then each "system" element in turn; then the
  // end, which binds the lines and recalculates.
  const tinyxml2::XMLElement* ReadXmlHead(const tinyxml2::XMLElement* element);
  void ReadSystemXml(const tinyxml2::XMLElement* element);
  void FinishXmlRead();
  // The short form of document indexes.
  tinyxml2::XMLElement* WriteMetadataXml(tinyxml2::XMLDocument& doc) const;
  // "section-fonts" with the fonts of the four texts.
  tinyxml2::XMLElement* WriteSectionFontsXml(tinyxml2::XMLDocument& doc) const;

 private:
  // Index of the first shown system; a new system is appended when every system is hidden.
  size_t FirstShownSystem();
  // A section of one definition with one stave that shows a single voice keeps the space 1
  // below it (as the binary reader gives it); true when that applied.
  bool ApplyLoneDefinitionSpacing();
  // Lines of every system bound to the definitions of the same index.
  void BindLinesAfterXml();
  void BindLinesAfterArchive(bool normalise = true);
  void CheckLineCounts() const;
  void CheckLineCount(const CStaveArray& system) const;
  void TakeDefinitionStaves(CStaveArray& system);
  // A line shows at least the staves of its definition: one stored without them takes copies
  // (charged to `ar` when reading), as lines read from XML do.
  void AddDefinitionStaves(CStaveArray& system, ArchiveReader* ar) const;
  // Stave breaks of the voices that match the system break become that one shared event.
  void AdoptSystemBreaks();
  void AdoptSystemBreaks(CStaveArray& system);
  // Active indexes read from a file kept within what they index.
  void ClampActiveIndexes();
  tinyxml2::XMLElement* WriteTextsXml(tinyxml2::XMLDocument& doc) const;
  tinyxml2::XMLElement* WriteSettingsXml(tinyxml2::XMLDocument& doc) const;
  // One move of a bar between neighbouring systems.
  static void MoveRun(nChordArray& from, nChordArray& to, bool up);

  std::shared_ptr<nChord> systemBreak_;
};

}  // namespace vornel
