#pragma once
// What the other areas put into the shell's windows: the score canvas of a document's tab,
// its title-page view and the view of its facsimile pane. `EditorServices` installs the
// factories with every other service at start-up; without a factory a tab shows a blank page
// with the document's name and the facsimile pane stays empty.

#include <cstdint>
#include <functional>
#include <string>

#include "view/commands/CommandTable.h"

class wxWindow;

namespace vornel {

class CVornelTabDoc;
class MidiOutStream;

// The score canvas of one tab, made by its factory as a child of `parent`.
struct CanvasHost {
  wxWindow* window = nullptr;
  // The view's commands (the first target of the router); null when it has none.
  const view::CommandTable* commands = nullptr;
  // Adds an image to the document's facsimiles; empty when the canvas is not a score view.
  std::function<void(const std::string& imagePath)> addFacsimile;
  // The canvas is the title-page view, not the score.
  bool titlePage = false;
  // The view's zoom in percent, read and set by the zoom box; empty when it has none.
  std::function<int()> zoomPercent;
  std::function<void(int percent)> setZoomPercent;
  // Enters a key of the keyboard console's piano (its pitch byte) at the view's cursor.
  std::function<void(uint8_t pitch)> inputPianoKey;
  // The view's player, which the tab's play commands play on (its reports go to the view);
  // null when the canvas has none.
  MidiOutStream* player = nullptr;
  // The canvas answers the document's updates itself (a score view repaints what a hint
  // names); otherwise the tab repaints it whole.
  bool observesDocument = false;
};

using CanvasFactory = std::function<CanvasHost(wxWindow* parent, CVornelTabDoc& doc)>;
// The view of one tab's facsimile pane.
struct FacsimileHost {
  wxWindow* window = nullptr;
  // What the view carries while it is the active view (routed before the score view's
  // commands); null when it has none.
  const view::CommandTable* commands = nullptr;
};

using FacsimileFactory = std::function<FacsimileHost(wxWindow* parent, CVornelTabDoc& doc)>;

void SetCanvasFactory(CanvasFactory factory);
const CanvasFactory& GetCanvasFactory();
// The title-page view of a tab, made when "Edit title page" first opens it (its host has
// `titlePage` set).
void SetTitlePageFactory(CanvasFactory factory);
const CanvasFactory& GetTitlePageFactory();
void SetFacsimileFactory(FacsimileFactory factory);
const FacsimileFactory& GetFacsimileFactory();

}  // namespace vornel
