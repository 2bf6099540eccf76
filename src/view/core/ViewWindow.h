#pragma once
// What the score view needs of the window it lives in, and the small structs its input
// arrives as. The canvas (view/ui) implements the window on wxWidgets; tests implement it
// with a recording window and feed the view mouse events, timer ticks and player reports.
//
// Coordinates: "client" points are device pixels of the window's client area; "logical"
// points are pixels of the drawn page, that is client + the scroll position (the page is
// drawn at the zoom in device pixels, so no other mapping applies).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {
class CPageDlg;
}

namespace vornel::view {

// --- mouse input
enum MouseButton : uint32_t {
  kLeftButton = 0x1,
  kRightButton = 0x2,
  kMiddleButton = 0x10,
};
enum KeyModifier : uint32_t {
  kShiftKey = 0x4,
  kControlKey = 0x8,
  kAltKey = 0x20,
};

struct MouseEvent {
  Point point;             // client
  uint32_t buttons = 0;    // MouseButton bits held (with the one that changed)
  uint32_t modifiers = 0;  // KeyModifier bits
};

// The pointer shapes of a pan: the direction the view scrolls in, or none.
enum class PointerShape { kDefault, kPanNeutral, kPanUp, kPanLeft, kPanDown, kPanRight };

// --- the carets the view shows (drawn by the view, never bitmaps)
enum class CaretKind {
  kNone,
  kTablature,              // auto-advance off
  kTablatureAdvancing,     // auto-advance on
  kStaff,
  kStaffAdvancing,
  kProportionalSpacing,    // the page's proportional spacing is in force
  kPlayback,
};

// --- a context menu: the command ids of its items (0 a separator) with their texts;
// submenus carry their items.
struct MenuItem {
  int id = 0;
  std::string text;
  std::vector<MenuItem> items;
};

class ViewWindow {
 public:
  virtual ~ViewWindow() = default;

  virtual Size ClientSize() const = 0;
  // The screen's resolution (pixels per inch).
  virtual Size Resolution() const = 0;

  // --- scrolling (client pixels)
  virtual Point ScrollPosition() const = 0;
  // The scrollable size and the page and line steps.
  virtual void SetScrollSizes(Size total, Size page, Size line) = 0;
  // Scrolls so that `position` is the top left (clamped to the range).
  virtual void ScrollTo(Point position) = 0;
  // Whether the window has a scroll bar on that axis that can move.
  virtual bool HasScrollBar(bool vertical) const = 0;

  // --- painting
  virtual void Invalidate() = 0;
  virtual void InvalidateRect(const Rect& client) = 0;
  // Paints what is invalid now.
  virtual void UpdateNow() = 0;

  // --- the rest of the window's life
  virtual void TakeFocus() = 0;
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual void SetPointer(PointerShape shape) = 0;
  // Shows a menu at the client point; its items are dispatched as commands.
  virtual void ShowContextMenu(int menuId, const std::vector<MenuItem>& items, Point client) = 0;
  // The print dialog (with its choices) or the preview window; the printing itself is the
  // view's print job.
  virtual void RunPrint(bool preview, bool showDialog) = 0;
  // The printer setup on the document's paper: true when the user chose, with the chosen paper
  // and orientation taken into the page settings. Without a window system there is nothing to
  // ask, so nothing changes.
  virtual bool RunPrintSetup(CPageDlg&) { return false; }
};

}  // namespace vornel::view
