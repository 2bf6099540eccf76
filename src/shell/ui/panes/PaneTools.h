#pragma once
// Small pieces the panes share: tool bars of command ids with stock images and tool tips,
// device bitmaps turned into window bitmaps, and panes built when they first show.

#include <wx/bitmap.h>
#include <wx/aui/auibar.h>

#include <functional>
#include <span>

#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

// A bitmap of the window system from a cell of a device bitmap.
wxBitmap ToWxBitmap(const DeviceBitmap& bitmap, const Rect& cell);

// A flat tool bar of `commands` (each tool's id is its command), 16 × 16 stock images; a click
// calls `run` with the command.
wxAuiToolBar* MakeCommandToolBar(wxWindow* parent, std::span<const int> commands, std::function<void(int)> run);

// Calls `build` once, when `host` first shows; at once when it is shown already.
void WhenFirstShown(wxWindow* host, std::function<void()> build);

}  // namespace vornel
