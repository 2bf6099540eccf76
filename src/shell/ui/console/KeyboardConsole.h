#pragma once
// The keyboard console: its editing bar along the top and the piano 32 pixels below it. Both
// act on the active score view only: the bar's buttons run through the view's own commands
// (with their check marks from it) and a key enters its pitch at the view's cursor; with no
// view nothing happens.

#include <wx/panel.h>

#include <cstdint>
#include <functional>

#include "view/commands/CommandTable.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

class BarCommands;
class CToolBarEx;

// What the console reaches of the active score view: its commands and its piano entry, or
// nothing without one.
struct ConsoleTarget {
  std::function<const view::CommandTable*()> viewCommands;
  std::function<void(uint8_t pitch)> inputPianoKey;  // empty without a view
};

// The piano keyboard bar: paints the keyboard through the drawing layer and hands the pitch
// of a clicked key on.
class CPianoKey : public DrawingPanel {
 public:
  CPianoKey(wxWindow* parent, std::function<void(uint8_t pitch)> enter);
  // A click at (x, y) of the bar; true when it hit a key.
  bool Click(int x, int y);

 private:
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  std::function<void(uint8_t)> enter_;
};

class CMyKeyboardBar : public wxPanel {
 public:
  static constexpr int kPianoTop = 32;

  CMyKeyboardBar(wxWindow* parent, BarCommands& commands, ConsoleTarget target);
  CToolBarEx* EditingBar() const { return bar_; }
  CPianoKey* Piano() const { return piano_; }
  void ShowEditingBar(bool show);
  bool EditingBarShown() const;

 private:
  void OnSize(wxSizeEvent& event);

  ConsoleTarget target_;
  CToolBarEx* bar_ = nullptr;
  CPianoKey* piano_ = nullptr;
};

}  // namespace vornel
