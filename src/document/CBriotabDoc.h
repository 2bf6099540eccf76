#pragma once
// The document: one open score with everything that belongs to it. It owns the section list
// (and through it the whole score), its settings and metadata, and the undo and redo stacks of
// section snapshots. It reads and writes the binary document (".btb", and the binary template
// ".btt" it only reads) and the XML document, walks the active path (section, system,
// instrument line, chord) for the editing commands and ends every command the same way.
//
// It knows nothing of windows: views register as observers and are told what to repaint, and
// messages and questions go through Prompts(). The window layer's document/view classes hold
// one of these and forward to it.

#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/CDocumentSettings.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

// What the views repaint when the document tells them of a change.
enum UpdateHint : int {
  kHintRepaintAll = 0,
  kHintRepaintSystem = 1,  // the system given with the hint
  kHintRepaintLine = 2,    // a strip of the active instrument line
  kHintSectionChanged = 3, // scroll to the top left and repaint
  kHintRepaintStrip = 4,
  kHintNothing = 657,
};

// The kinds of document files, by extension.
enum DocumentFileType : int {
  kUnknownFile = -1,
  kBinaryFile = 0,  // ".btb", ".btt"
  kXmlFile = 1,     // ".btxml", ".bttx"
  kBundleFile = 2,  // ".btz"
};
// The kind of `path` by its final extension (compared without regard to case).
DocumentFileType GetDocumentFileType(std::string_view path);

// The warning of facsimile names that name no file: the name followed by ":\nThis facsimile
// file does not exist on your system", or for several the first five names and their count.
std::string MissingFacsimilesMessage(const std::vector<std::string>& names);

class CBriotabDoc;

// A view of a document: told of every change with a hint and the system concerned.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  virtual void OnUpdate(const CBriotabDoc& doc, int hint, const CStaveArray* system) = 0;
  // The section list changed: its lines ("%d. %s") and the active section.
  virtual void OnSectionListChanged(const std::vector<std::string>& /*lines*/, int32_t /*active*/) {}
};

// What the drawing layers keep for a document between drawings (its decoded pictures): made
// by them on first use, opaque here, and gone with the document.
class DocumentDrawingCache {
 public:
  virtual ~DocumentDrawingCache() = default;
};

class CBriotabDoc {
 public:
  static constexpr std::string_view kMagic = "BrioTab";
  static constexpr std::string_view kTemplateMagic = "BrioTabTemplate";
  static constexpr std::string_view kXmlRoot = "VornelTabXML";
  // Files above this size are not taken for documents.
  static constexpr size_t kMaxFileBytes = size_t(1) << 30;

  // Messages of the binary reader.
  static constexpr std::string_view kWrongFormatMessage = "Wrong file format...";
  static constexpr std::string_view kXmlHint =
      "This looks like an XML file.\nCheck and rename it with a btxml extension if it is a valid VornelXML file.";
  static constexpr std::string_view kNewerVersionMessage =
      "This document was created with a more recent version of the program\nand cannot be read by this outdated "
      "copy.\nPlease update to the latest version of Vornel!";
  static constexpr std::string_view kMissingFileMessage = "This file does not exist.";
  static constexpr std::string_view kOldXmlMessage =
      "You are reading a file created with Gavotta. There is a high probability of loss of data";
  static constexpr std::string_view kMissingFacsimileMessage = ":\nThis facsimile file does not exist on your system";
  // After a binary save that left something out: the file, this text, then what was left out.
  static constexpr std::string_view kBinaryLossMessage = "The binary document has no place for";

  CBriotabDoc();
  virtual ~CBriotabDoc();
  CBriotabDoc(const CBriotabDoc&) = delete;
  CBriotabDoc& operator=(const CBriotabDoc&) = delete;

  // --- the document's state
  const std::string& versionText() const { return versionText_; }
  // The format version of the binary file the document was read from; this build's version
  // for a document that came from anything else.
  const std::string& binaryFileVersion() const { return binaryFileVersion_; }
  CSectionArray sections;
  CInstrumentDlg currentInstrument;
  // 1 when the document is XML-based; 0 after a binary document was read, so that saving
  // writes it under the XML extension.
  int32_t xmlFlag = 0;
  CUndoSectionArray undoStack;
  CUndoSectionArray redoStack;
  int32_t printPages = 0;
  CDocumentSettings settings;
  // The XML version of the file read last ("1.%d.%d"), and its numbers.
  std::string xmlVersionText;
  uint16_t xmlMajor = 0;
  uint16_t xmlMinor = 0;

  // --- the print run: filled when printing begins, emptied when it ends
  // One slot of a printed page: a section's system, or an empty slot (section -1).
  struct PrintSlot {
    int32_t section = -1;
    int32_t system = -1;
  };
  std::vector<PrintSlot> printSystems;  // in print order, empty slots between sections
  std::vector<int32_t> pageTable;       // the music page each section starts on
  // Per-section layout: each section's systems per page and music pages.
  std::vector<std::pair<int32_t, int32_t>> sectionPageCounts;
  int32_t sequenceOffset = 0;           // added to a printed page's index in the sequence

  std::unique_ptr<DocumentDrawingCache> drawingCache;  // see DocumentDrawingCache

  const std::string& GetPathName() const { return pathName_; }
  // Sets the path and makes the title the path's file name.
  void SetPathName(const std::string& path);
  void ClearPathName() { pathName_.clear(); }
  const std::string& GetTitle() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  // Modified: the document differs from what was last saved or opened. Undo and redo that
  // come back to that state clear the mark again.
  bool IsModified() const { return modified_; }
  // True: a change (a new state, which no undo entry holds yet); false: the state is the one
  // saved.
  void SetModifiedFlag(bool modified = true);

  void AddObserver(DocumentObserver* observer);
  void RemoveObserver(DocumentObserver* observer);
  void UpdateAllViews(int hint, const CStaveArray* system = nullptr) const;

  // --- files
  // Opens a binary document or template. False, with nothing changed, for any other kind of
  // file, and (after the system's message) for a file that is missing, refused or damaged.
  virtual bool OnOpenDocument(const std::string& path);
  // Empties the document: no sections, no metadata texts.
  virtual void DeleteContents();
  // Reads a binary document from its bytes. On refusal or damage shows the message, returns
  // false and leaves the document as it was.
  bool LoadBinary(std::span<const uint8_t> bytes, std::string_view path = {});
  // The binary document: magic, version, settings and the section list.
  void Store(ArchiveWriter& ar) const;
  std::vector<uint8_t> StoreBinary() const;
  // Writes the binary document to `path` through a temporary file; false (after a message)
  // when that fails, the old file untouched. A document holding what the binary form has no
  // place for is saved without it, and a warning says what was left out. A read-only file is
  // replaced only when the user says so (ConfirmSaveTarget); false when the user cancels.
  bool SaveBinary(const std::string& path);
  // SaveBinary that gives the file written: `path`, or the one the user chose instead of a
  // read-only `path`.
  std::optional<std::string> SaveBinaryTo(const std::string& path);

  // Builds the XML document: declaration, "VornelTabXML" with its version, the settings with
  // the active section's fonts, the sections. An active section outside the list raises
  // std::out_of_range before anything is built.
  void BuildXml(XMLWriter& writer);
  // Prints that XML document, with the sections of `list`, as it is written, handing the text
  // printed so far to `take` whenever a megabyte of it has gathered and at the end; `take` may
  // empty it.
  void PrintXml(const CSectionArray& list, const std::function<void(std::string& text)>& take);
  std::string XmlText();
  // Writes that text (with the sections of `list`, or the document's own) to `path` through a
  // temporary file; false when it could not be written, the old file untouched, and `error`
  // (when given) says why.
  bool SaveXmlText(const std::string& path, const CSectionArray* list = nullptr, std::string* error = nullptr);
  // Writes the document as XML under its path name. A ".btz" path gets a bundle holding the
  // XML document; a document read from a binary file goes, as an XML document, into the bundle
  // of its name (".btb" becomes ".btz", the binary file stays), and a binary template becomes
  // the XML template ".bttx". Returns the path written; nothing, with the modified flag kept and
  // `error` (when given) saying why, when the save failed.
  std::optional<std::string> WriteXml(std::string* error = nullptr);
  // Where WriteXml puts a document read from the binary file `path`.
  static std::string XmlPathOfBinary(const std::string& path);
  // Checks and reads an XML document from its text, a part at a time. False when it is not
  // well-formed, the check refused it or the reading failed (after the message, which names
  // `path` when given); the document is then as it was.
  bool ReadXmlText(std::string_view text, std::string_view path = {});

  // --- the active path
  CSystemArray* GetActiveSection() const;   // std::out_of_range outside the list
  CStaveArray* GetActiveSystem() const;     // null when the section has no systems
  CInstrument* GetActiveInstrument() const; // null without a system or in an empty slot
  nChord* GetActiveChord() const;           // null outside the voice; needs an active line

  // --- the common end of commands
  // Marks the document modified and updates every view with the hint and the active system.
  void NotifyChanged(int hint);
  // A snapshot of the active section onto the undo stack (or the redo stack), named by the
  // action now running.
  int SaveSnapshot(bool toUndo = true);
  // A snapshot onto the undo stack of the systems on the page that shows the active system,
  // for an edit that changes nothing of the active section but the active system (a fret typed
  // or a note deleted at the cursor): the drawing after it may move the other systems of the
  // page, which an undo then puts back too. It costs what that page holds, however long the
  // section. A section without systems is snapshotted whole.
  int SaveActivePageSnapshot();
  // The start of an edit of the active section: its snapshot onto the undo stack, keeping
  // `extra` (document state outside the section the edit changes) with it, and no redo.
  void BeginSectionEdit(std::shared_ptr<SnapshotExtra> extra = nullptr);
  // The start of an edit of every section (and of the page settings): the entry keeps copies
  // of the other sections and of the page settings too, so that one undo gives the document
  // back whole (the sections as they were, however many there were, the same one active).
  void BeginEverySectionEdit();

  // Names the snapshots taken while it lives after the action running (a command's name), so
  // that the undo and redo lists can show what each entry undoes. Nested names restore the
  // outer one.
  class ActionName {
   public:
    ActionName(CBriotabDoc& doc, std::string name);
    ~ActionName();
    ActionName(const ActionName&) = delete;
    ActionName& operator=(const ActionName&) = delete;

   private:
    CBriotabDoc& doc_;
    std::string previous_;
  };

  // While it lives, an action runs on the document (a command, a key): an undo entry the
  // action took and left equal to the section it holds (the action found nothing to do) is
  // taken away again at its end, with the modified mark the action set. Nested checks leave
  // it to the outermost.
  class UnchangedStepCheck {
   public:
    explicit UnchangedStepCheck(CBriotabDoc& doc);
    ~UnchangedStepCheck();
    UnchangedStepCheck(const UnchangedStepCheck&) = delete;
    UnchangedStepCheck& operator=(const UnchangedStepCheck&) = delete;

   private:
    CBriotabDoc& doc_;
    bool outermost_;
    uint64_t pushes_ = 0;
    uint64_t pops_ = 0;
    int32_t activeSection_ = 0;
    uint64_t state_ = 0;
    std::vector<uint8_t> settings_;
  };

  // --- entry and editing at the cursor and on the selection (CBriotabDocEntry.cpp). They
  // work on the active stave's cursor and the selected voice of the active line; every one
  // that changes the section takes an undo snapshot first and ends with NotifyChanged.
  struct ChordRun {
    nChordArray* voice = nullptr;
    size_t first = 0;
    size_t count = 0;
  };
  // The chords whose columns the selection (page coordinates) covers; the cursor chord alone
  // when it covers none. No voice without an active line.
  ChordRun GetSelectedChords(const Rect& selection) const;
  int InsertChordAtCursor(std::unique_ptr<nChord> chord);
  int InsertRest(uint8_t value, uint8_t kind);
  nChord* InputFret(char key, uint16_t rhythmWord, bool clear);
  nChord* InputPianoNote(int pitch, uint16_t rhythmWord);
  nChord* ApplyBourdon(char letter, int bourdon, uint16_t rhythmWord);
  int InsertAlfabetoChord(char letter, uint16_t rhythmWord, bool keepEvent);
  int InsertForcedBarline(uint16_t code);
  int CutSelection(const Rect& selection);
  // Inserts copies of the clipboard's chords at the cursor; the cursor ends after the voice.
  void PasteChords(const nChordArray& clipboard);
  void ReflowActiveSystem(bool align);
  void ApplyFlagToSelection(const Rect& selection, int value, int kind);
  void DotSelection(const Rect& selection);
  void ClearRests(const Rect& selection);
  void ScaleFlagValues(bool halve, const Rect& selection);
  void OnChordAttributeCommand(int id);
  void OnMarkerEvent(int id);
  int InsertMetaEvent(uint8_t kind);
  int InsertSpecialEvent(uint8_t kind);
  int InsertSpecialEventAtCursor(uint8_t subtype);
  int SplitChordAtCursor();
  int ToggleBarNumberValue();
  int MoveNotesToAdjacentString(int direction, const Rect& selection);
  int TransposeSelection(bool intervals, const Rect& selection);
  int TransformSelection(const Rect& selection, nChordArray& clipboard);
  int RecalculateIntervals();
  int ToggleInstrumentOption();
  void RemoveBeamFormatting();
  int ApplyRhythmPattern();
  int EditChordEffect();
  int DeleteChordAtCursor();

  // --- undo, redo and the section buffer
  bool CanUndo() const { return !undoStack.empty(); }
  bool CanRedo() const { return !redoStack.empty(); }
  void OnEditUndo();
  void OnEditRedo();
  // The names of the undo (redo) entries, newest first; an undo moves its entry's name onto
  // the redo stack and a redo back.
  std::vector<std::string> UndoNames() const;
  std::vector<std::string> RedoNames() const;
  void OnCopySection();
  // Copies sections first to last (numbered from 1) into the section buffer, which then keeps
  // that many. "No sections available to copy" when the range holds none.
  void CopySectionRange(int first, int last);
  void ClearSectionBuffer();
  static bool CanPasteSection();
  static bool CanPasteAllSections();
  // Inserts the buffer's sections after the active one, oldest copy first; asks whether to
  // give them this document's fonts and instruments.
  void OnPasteSections();

  // --- sections
  // Appends a new section (the section constructor's: one instrument, eight systems) and makes
  // it active; returns it. The importers and the wizard fill it.
  CSystemArray* AppendNewSection();
  // Appends `section`, numbered by its place in the list, and makes it active; returns it.
  CSystemArray* AppendSection(std::unique_ptr<CSystemArray> section);
  // Makes a section active (0 for the active one or an index past the list). Leaves linear
  // mode, empties the undo and redo stacks and updates the views with hint 3.
  int SetActiveSection(int index);
  // --- systems, pages and linear mode of the active section
  // Makes the first shown system from `index` on active (the last system when none is
  // left); the active line and stave carry over and the cursor goes to the first column.
  // Returns the page of the system (its index over the section's systems per page); a
  // negative index, or a section without systems, changes nothing and returns 0.
  int SetActiveSystem(int index);
  // Appends a page of new systems (the section's systems per page) to a section that has
  // systems; updates the views. Returns 1.
  int AddNewPage();
  // Enters or leaves the linear display mode, reflowing the active section: into one system
  // on entering, into systems of the paper's width on leaving.
  void ToggleLinearMode();
  // The page width in linear mode, tenths of a millimetre: the column width times the
  // longest line of the active system (at least 50 columns).
  int32_t GetLinearPageWidth() const;
  // Snapshot, then the music of every instrument re-barred and laid out with `bars` bars to
  // a system; updates the views. 0 (nothing changed) for a count below 1.
  int ResetBarsPerStave(int bars);

  // The lines of the sections pane: "%d. %s" (or the label alone), told to the observers.
  std::vector<std::string> SectionListLines() const;
  void UpdateSectionList() const;
  // 1: the document's four heading fonts into every section; 0: the active section's heading
  // fonts into the document's font list.
  void ApplySectionFonts(int direction);
  // Every section takes the document's heading fonts, as it does when a file is opened, and
  // the document's entries take the form a section holds them in: a document made new or
  // assembled in code is the one its file reads back as. Every save runs it first.
  void SyncHeadingFonts();
  // The document's systems per page into every section's own.
  void ApplySystemsPerPageToSections();
  // Each local facsimile name that names no file is looked up again; names still missing are
  // reported together, in one message with the first few names and their count.
  void CheckFacsimilePaths();
  // Finds the file a facsimile name stands for: the name itself, else its file name in the
  // images folder association, the data folder's "Images", the document's folder and its
  // "images". True (and `name` replaced) when found. Web addresses are not fetched here.
  bool ResolveFacsimilePath(std::string& name) const;

 protected:
  // The active section changed: neither stack may restore a snapshot of another section.
  void ClearHistory();

 private:
  struct CursorPlace;
  class FolderListings;
  bool ResolveFacsimilePath(std::string& name, FolderListings& listings) const;
  void PutSectionInPlace(std::unique_ptr<CSystemArray> section);
  // Puts the newest snapshot of `from` in place of the active section, which goes to `to`.
  void RestoreSnapshot(CUndoSectionArray& from, CUndoSectionArray& to);
  // Declaration, root and settings; returns the root for the sections to follow.
  tinyxml2::XMLElement* BuildXmlHead(XMLWriter& writer);
  void ApplyConversionsByMajor(int32_t major);

  std::string versionText_;
  std::string binaryFileVersion_;
  std::string pathName_;
  std::string title_;
  bool modified_ = false;
  // The document's states: a new number at each change; undo entries keep the number of the
  // state they give back (0: not known), and saving keeps the number saved.
  uint64_t state_ = 1;
  uint64_t lastState_ = 1;
  uint64_t savedState_ = 1;
  std::string actionName_;
  int stepChecks_ = 0;
  std::vector<DocumentObserver*> observers_;
};

}  // namespace vornel
