#pragma once
// What the views and documents reach of the main frame: the status bar's value slots, the
// properties pane, the sections and facsimiles lists, the frame's private requests (a tempo
// change for the metronome, a new layout of the panes) and its command routing. The main frame installs its
// implementation; until then, and in tests that do not watch it, nothing happens.

#include <string>
#include <string_view>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {
class CBriotabDoc;
}

namespace vornel::view {

// The status bar's value slots, written by the view.
enum StatusSlot : int {
  kMessageSlot = 0,  // messages that need no answer
  kCaretSlot = 2,
  kInstrumentSlot = 4,
  kSectionSlot = 6,
  kKeySlot = 8,
  kTempoSlot = 10,
  kZoomSlot = 12,   // "%d%%"
  kAutoForwardSlot = 14,  // "ON" or "OFF"
  kNoteValueSlot = 16,    // the note value a typed note takes: "Crotchet"
};

class FramePanes {
 public:
  virtual ~FramePanes() = default;
  virtual void SetStatusText(int slot, std::string_view text) = 0;
  // The properties pane shows the active document and view again.
  virtual void RefreshProperties() = 0;
  // The sections list: one line per section ("%d. %s") and the active one.
  virtual void ShowSections(const std::vector<std::string>& lines, int active) = 0;
  // The facsimiles list of the active section.
  virtual void ShowFacsimiles(const std::vector<std::string>& names) = 0;
  // The tempo of the active section changed (at least 1 beat per minute): a running
  // metronome follows it.
  virtual void TempoChanged(int beatsPerMinute) = 0;
  // The panes are laid out again and the active view re-formats its section.
  virtual void RequestLayoutReset() = 0;
  // Pops up the palette tool bar's buttons as a menu at a point of the main window.
  virtual void ShowToolbarMenu(int /*x*/, int /*y*/) {}
  // The main window takes input (false while a document prints).
  virtual void EnableMainWindow(bool /*enable*/) {}
  // The "Sections" tree of a document, modal over the main window.
  virtual void ShowSectionTree(CBriotabDoc& /*doc*/) {}
  // The title-page view of a document beside its score (opened the first time), made the
  // active view, with the ribbon's page of the title page's commands.
  virtual void ShowTitlePageView(CBriotabDoc& /*doc*/) {}
  // A MIDI file written for a document joins the main window's MIDI play list, which shows.
  virtual void AddToMidiPlaylist(const std::string& /*path*/) {}
  // A command through the main window's routing (the active view first), as its menus send
  // it: context menus, and the commands a command sends the main window. False when no
  // target carries the command or it is disabled.
  virtual bool DispatchCommand(int /*id*/) { return false; }
  // The same with the event's value and text (a pane's choice the command acts on).
  virtual bool DispatchCommandEvent(const CommandEvent& event) { return DispatchCommand(event.id); }
  virtual CommandState CommandStateOf(int /*id*/) const { return {}; }
};

class NoFramePanes : public FramePanes {
 public:
  void SetStatusText(int, std::string_view) override {}
  void RefreshProperties() override {}
  void ShowSections(const std::vector<std::string>&, int) override {}
  void ShowFacsimiles(const std::vector<std::string>&) override {}
  void TempoChanged(int) override {}
  void RequestLayoutReset() override {}
};

// The frame in force.
FramePanes& Panes();

class ScopedFramePanes {
 public:
  explicit ScopedFramePanes(FramePanes& panes);
  ~ScopedFramePanes();
  ScopedFramePanes(const ScopedFramePanes&) = delete;
  ScopedFramePanes& operator=(const ScopedFramePanes&) = delete;

 private:
  FramePanes* previous_;
};

}  // namespace vornel::view
