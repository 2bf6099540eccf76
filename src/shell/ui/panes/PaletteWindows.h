#pragma once
// The "Palettes" pane: a tool bar over two stacked palette panes in a splitter, the upper one
// showing one of the six notation palettes, the lower one one of the six ornamentation
// palettes, each with its selector box and selector bar. A palette is an owner-drawn panel of
// glyph buttons whose pictures are drawn once; pressing a button sends its command through the
// main window's routing. A palette can be torn off as a floating pane of the frame's dock.

#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/toolbar.h>

#include <array>
#include <functional>
#include <span>
#include <vector>

#include "platform/draw/DeviceBitmap.h"
#include "shell/palettes/PaletteCommands.h"
#include "shell/palettes/ToolsPalette.h"
#include "view/commands/CommandTable.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

// How the palettes reach the commands: sending one, and the state the router gives it.
struct PaletteRouting {
  std::function<void(const view::CommandEvent&)> send;
  std::function<view::CommandState(int)> state;
};

class PalettePanel : public DrawingPanel {
 public:
  PalettePanel(wxWindow* parent, const palettes::PaletteInfo& info, PaletteRouting routing);

  palettes::ToolsPalette& Model() { return palette_; }
  void SetColumns(int columns);
  void SetGlyphs(bool notation, std::span<const uint32_t> codes);
  // The button under a point of the panel, or -1.
  int ButtonAt(const wxPoint& point) const;
  // Sends the button's command, as a click does.
  void Press(size_t index);
  wxSize PaletteSize() const;

 private:
  void Paint(DeviceContext& dc);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnUpdateUI(wxUpdateUIEvent& event);

  palettes::ToolsPalette palette_;
  DeviceBitmap atlas_;  // drawn at the first paint
  PaletteRouting routing_;
  std::vector<view::CommandState> shownStates_;
  int hover_ = -1;
};

class PalettePane : public wxPanel {
 public:
  PalettePane(wxWindow* parent, int pane, PaletteRouting routing);

  // Hides the current palette and shows the one of the command (none for an unknown one).
  void SelectPalette(int command);
  int CurrentCommand() const { return currentCommand_; }
  PalettePanel* Current() const { return current_; }
  std::span<PalettePanel* const> Palettes() const { return palettes_; }
  wxChoice* Selector() const { return selector_; }
  // The selector's choice: 0-5 choose a palette; anything else is "No such toolbar".
  void OnSelector(int index);

 private:
  int firstCommand_;
  wxChoice* selector_ = nullptr;
  wxAuiToolBar* selectorBar_ = nullptr;
  std::vector<PalettePanel*> palettes_;
  PalettePanel* current_ = nullptr;
  int currentCommand_ = 0;
};

class SplitPalettePane : public wxPanel, public palettes::PaletteTarget {
 public:
  SplitPalettePane(wxWindow* parent, wxAuiManager& dock, PaletteRouting routing);
  ~SplitPalettePane() override;

  PalettePane* Upper() const { return panes_[0]; }
  PalettePane* Lower() const { return panes_[1]; }
  // The floating copy of a palette, or null.
  PalettePanel* FloatingCopy() const { return floating_; }

  // --- PaletteTarget
  void SelectPalette(int command) override;
  int CurrentPalette(int pane) const override;
  void FloatPalette(int pane) override;
  int Columns() const override { return columns_; }
  void SetColumns(int columns) override;
  void SendCommand(int id) override;

 private:
  wxAuiManager& dock_;
  PaletteRouting routing_;
  wxAuiToolBar* toolBar_ = nullptr;
  wxSplitterWindow* splitter_ = nullptr;
  std::array<PalettePane*, 2> panes_{};
  PalettePanel* floating_ = nullptr;
  int floatingResource_ = 0;
  int columns_ = palettes::kDefaultColumns;
};

}  // namespace vornel
