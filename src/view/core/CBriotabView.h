#pragma once
// The score view without its window: one document's active section shown a page at a time,
// as it prints. It draws the page through the page renderer and adds what belongs to the
// screen (the caret, the selection, the rubber band, a pan's mark, the tip); it keeps the
// view's state (ScoreViewState); it answers the document's update hints (as a
// DocumentObserver), the mouse, its window timers and the player's reports; it moves between
// pages, systems and sections; and it carries the view's commands in its command table.
//
// The window is reached through ViewWindow only, so everything here runs headless: tests
// feed MouseEvents, timer ticks and PlayerReports and read the document, the state, the
// recording window and the recording panes back. The canvas (view/ui/ScoreCanvas) paints by
// calling OnPrepareDC, OnDraw and DrawOverlays on a Cairo device, and hands its input here.
//
// Later commands (note entry, editing) work on the document's active path and on this view's
// state, and enter their handlers into Commands(); they end with CBriotabDoc::NotifyChanged,
// whose hint reaches OnUpdate. The dispatcher of the table reports any exception with the
// system's message and puts the active section back as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/CBriotabDoc.h"
#include "midi/play/MidiOut.h"
#include "platform/draw/DeviceContext.h"
#include "view/commands/CommandTable.h"
#include "view/core/MSJSuperView.h"
#include "view/core/ScoreViewState.h"
#include "view/core/ViewWindow.h"

namespace vornel {

class CClef;
class CInstrument;
class CStaveArray;
class CSystemArray;
class EchoOutput;
class MidiOutStream;
class MidiPlayerOwner;
class PlayerClock;
class nChord;

namespace view {

class NoteEntry;

// A report of the view's player, as the window's thread receives it.
struct PlayerReport {
  enum class Kind {
    kResumed,   // the pause ended
    kEnded,     // the play ended
    kStarted,   // the play started
    kPosition,  // a bar position: the play reached bar `bar` of system `system`
    kTick,      // a metronome beat
    kNoteStep,  // the next note of the followed line sounded
  };
  Kind kind = Kind::kNoteStep;
  int32_t system = 0;
  int32_t bar = 0;
};
// The report a player's word stands for (positions looked up in the player's list).
PlayerReport PlayerReportOf(uint32_t word, const MidiOutStream& player);

// What the view is given by the editor (the canvas factory); tests give their own.
struct ViewServices {
  // The view's player: its owner (who drains its reports on the window's thread), its output
  // and, for tests, a manual clock. Without an output factory the player uses the default.
  MidiPlayerOwner* playerOwner = nullptr;
  MidiOutFactory playerOutput;
  PlayerClock* playerClock = nullptr;
  // The output that echoes a typed chord (one the editor's views share); null: no echo.
  std::shared_ptr<EchoOutput> echo;
  // Plays the metronome's tick sound of a play; empty: silent.
  std::function<void()> playTick;
  // "Play a MIDI file" (32821): a MIDI file chosen and opened with the desktop's player;
  // empty: the view asks for the file and opens it itself.
  std::function<void()> playMidiFile;
};

class CBriotabView : public MSJSuperView, private DocumentObserver {
 public:
  CBriotabView(CBriotabDoc& doc, ViewWindow& window, ViewServices services = {});
  ~CBriotabView() override;

  CBriotabDoc& Document() const { return doc_; }
  ScoreViewState& State() { return state_; }
  const ScoreViewState& State() const { return state_; }
  // The view's commands: the first target the router asks.
  CommandTable& Commands() { return commands_; }
  const CommandTable& Commands() const { return commands_; }
  MidiOutStream* Player() const { return player_.get(); }
  // Note entry: the key map and the editing commands (view/entry/).
  NoteEntry& Entry() { return *entry_; }

  // --- life
  // Creates the player, works out the page and the scroll sizes and registers with the
  // document. The document's modified flag is left as it is (an import not yet saved must
  // still ask before it closes).
  void OnInitialUpdate();
  // The view became the active one: its page again, no selection, its section in the list.
  void OnActivateView();
  void OnSetFocus();
  void OnKillFocus();
  // The window is going: the player stops, the echo closes, timers stop.
  void OnDestroy();

  // --- the page
  // The page rectangle (device pixels at the zoom; in linear mode as wide as the linear page
  // and as high as the window) for a screen of `dpiX` pixels per inch, kept in the state and
  // in the document's page settings with the client rectangle. Returns its size.
  Size UpdatePageMetrics();
  // The metrics, then the scroll sizes: the page plus 100 pixels each way.
  void UpdateScrollSizes();
  // Draws the page of the active section (nothing without sections), then, on screen, sets
  // the status panes, refreshes the caret and brings the cursor into sight when asked to.
  void OnDraw(DeviceContext& dc);
  // What belongs to the screen, drawn after OnDraw on the same prepared device: selection,
  // rubber band, pan mark, tip and caret.
  void DrawOverlays(DeviceContext& dc);
  // The caret of the active stave moved or changed: its place, kind and the cursor panes.
  void UpdateCaret();
  void RecreateCaret();
  // The note value that typed notes take, on the status bar (only when it changed).
  void ShowNoteValue();
  // The caret's rectangle in logical pixels and its kind (kNone when hidden).
  CaretKind Caret() const { return caret_; }
  const Rect& CaretRect() const { return caretRect_; }

  // --- zoom and wheel
  // The zoom percentage of the document, keeping the scroll position in proportion.
  void SetZoomKeepingPosition(int32_t zoom);
  // A wheel turn: with Ctrl alone the zoom steps by 10 within 40..500; with Shift alone
  // nothing; otherwise a page and then three lines in the turn's direction.
  void OnMouseWheel(const MouseEvent& event, int delta);
  // A short text near a client point for 500 ms (800 ms in its long form); an empty text
  // shows nothing.
  void ShowTip(const std::string& text, Point client, bool longForm = false);

  // --- the document's hints (DocumentObserver)
  void OnUpdate(const CBriotabDoc& doc, int hint, const CStaveArray* system) override;
  // The clef changes the drawing recorded past what the change of this hint touched go.
  void ForgetChangedClefRecords(int hint);
  // Measures on, about `budget` systems, the pages of the active section a drawing left
  // unmeasured; true when all are measured.
  bool ContinueLayout(size_t budget);
  void OnSectionListChanged(const std::vector<std::string>& lines, int32_t active) override;

  // --- mouse
  void OnLButtonDown(const MouseEvent& event);
  void OnMouseMove(const MouseEvent& event);
  void OnLButtonUp(const MouseEvent& event);
  void OnLButtonDblClk(const MouseEvent& event);
  // The right button (client point): the selection menu inside the selection, the score
  // menu inside the active system, else none.
  void OnContextMenu(Point client);
  // The selection snapped to the active line's chord columns (logical); empty (and the
  // selection cleared) when the line has no columns or the selection is narrower than half
  // a column.
  Rect GetSelectionRect();
  // Repaints the selection; with `recompute` it is snapped first. Not while playing.
  void DrawSelection(bool recompute);
  // The rubber band being dragged (logical), if any.
  std::optional<Rect> Band() const;
  // The meta-event of the active line under the pointer, framed while the pointer rests on it
  // (logical); nothing when there is none.
  std::optional<Rect> HoveredMetaEvent() const;
  // Where the meta-event the left button drags would be dropped (logical), if one is dragged.
  std::optional<Rect> DraggedMetaEvent() const;
  // The context menus' items.
  static const std::vector<MenuItem>& ContextMenu(int menuId);

  // --- timers: the pan, the end of an echo, the end of a tip
  void OnTimer(int id);

  // --- navigation
  // Makes the system active and turns to its page; the page index.
  int GoToSystem(int index);
  // Scrolls so that the active stave stands in the window.
  void EnsureCursorVisible();
  // Scrolls so that the cursor's point stands in the window (horizontally at once).
  void ScrollCursorIntoView();
  // System 0, page 0, the cursor at the first column, scrolled to the top.
  void ResetCursor();
  void PageUp();
  void PageDown();
  int LastPageIndex() const;
  bool CanPageUp() const;
  bool CanPageDown() const;
  // Previous or next section (stops a play first).
  void PreviousSection();
  void NextSection();
  // The sections list's choice (-1: nothing chosen) becomes the active section.
  void OnSectionListDoubleClick(int index);
  // "Find bar number:": the page index after the search (unchanged when cancelled).
  int FindBar();
  // Jumps to a bar of a section (numbered from 1); the page index.
  int GoToBar(int bar, int sectionNumber);
  void ToggleLinearMode();

  // --- playback
  // A report of the view's player; false when it came from another player or was the start
  // report (which wants no answer).
  bool OnPlayerNotify(const MidiOutStream* sender, const PlayerReport& report);
  void TogglePause();
  // "Tempo": 1..500 beats per minute, in force at once while playing.
  void ChangeTempo();
  // Sounds a typed chord for a second on the echo output (when echo on update is set).
  void EchoChord(const nChord& chord);
  bool IsPlaying() const;

  // --- printing and preview: the print job (ViewPrinting.h) calls these
  // Before the dialog: zoom 100 and the top left, both kept.
  void OnPreparePrinting();
  // The page sequence is built and the frame disabled; the stored proportional spacing is
  // put in force. Returns the pages; `firstPage` the page a preview opens on.
  int32_t OnBeginPrinting(bool preview, int32_t& firstPage);
  // Draws page `page` (from 0) of the sequence on a printing device.
  void OnPrint(DeviceContext& dc, int32_t page);
  // The preview closed on page `page` of the sequence: that page's section becomes active.
  void OnEndPrintPreview(int32_t page);
  // Everything is put back: zoom, scroll, proportional spacing, the frame, the page index.
  void OnEndPrinting();
  bool Printing() const { return printing_; }

  // --- the active path as the view reads it
  CSystemArray* ActiveSection() const;
  CInstrument* ActiveLine() const;
  CClef* ActiveStave() const;
  // The active line's rectangle (its active stave's lines, logical).
  Rect LineRect() const;
  // The cursor's point on the active stave (logical).
  std::optional<Point> CursorPoint() const;

 private:
  friend class NoteEntry;
  void AddCommands();
  // Makes this view the one that follows the hyperlinks the model activates.
  void FollowLinks();
  void SetPanes();
  void InvalidateIfSystemsMoved();
  void FollowZoomWithSelection(int32_t zoom);
  void RefitSelection();
  // A place on the active line as a column of its selected voice (a fraction of the way to the
  // next column added), where the drawing put the columns, and back.
  double ColumnOfX(int32_t x) const;
  int32_t XOfColumn(double column) const;
  void InvalidateLogical(const Rect& logical, int grow = 0);
  void ClearSelection();
  void FinishBand(bool drawn);
  void ComputePlaybackRect();
  void StopPlaying();
  // Ends the echo's notes (the shared output stays open).
  void CloseEcho();
  // Shows, once, why the echo's output could not be opened.
  void ReportEchoFailure();
  void TakeDownTip();
  void SwitchSection(int index);
  void StartBandAt(Point logical);
  void ResetPageIndexToActiveSystem();

  // A meta-event of the active line's selected voice: its chord, its place in the chord and
  // the view (staff notation or tablature) its rectangle was drawn for.
  struct MetaEventSpot {
    size_t chord = 0;
    size_t event = 0;
    int view = 0;
    Rect rect;
    bool operator==(const MetaEventSpot&) const = default;
  };
  std::optional<MetaEventSpot> MetaEventAt(Point logical) const;
  void HoverAt(Point logical);
  void FinishEventDrag(Point logical);

  CBriotabDoc& doc_;
  ViewServices services_;
  ScoreViewState state_;
  CommandTable commands_;
  std::unique_ptr<MidiOutStream> player_;
  std::unique_ptr<NoteEntry> entry_;
  bool observing_ = false;
  bool sectionsListed_ = false;
  // Where the systems stood after the last drawing (see OnDraw).
  std::vector<Rect> drawnSystems_;
  // The caret as last placed.
  CaretKind caret_ = CaretKind::kNone;
  Rect caretRect_;
  int shownNoteValue_ = -1;  // the note value on the status bar, -1 before the first
  // The zoom the selection's pixels are of, and the columns of the active line (from its left
  // edge, in column widths) it waits to be put on once the page is laid out at a new zoom.
  int32_t selectionZoom_ = 0;
  std::optional<std::pair<double, double>> selectionColumns_;
  // The rubber band while the left button drags.
  bool banding_ = false;
  Point bandStart_;
  Point bandEnd_;
  // The meta-event the left button drags, from where it was taken to where it is now.
  std::optional<MetaEventSpot> dragged_;
  Point dragStart_;
  Point dragEnd_;
  // The meta-event under the pointer and where the pointer is (logical).
  std::optional<MetaEventSpot> hovered_;
  Point hoverPoint_;
  Point tipPoint_;  // where the tip's text starts (logical)
  // Printing: what the job puts back.
  bool printing_ = false;
  int32_t savedProportional_ = 0;
};

}  // namespace view
}  // namespace vornel
