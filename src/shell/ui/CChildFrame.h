#pragma once
// One document's tab: the score canvas above and the facsimile pane below in a splitter,
// unsplit until the facsimile pane is asked for. Once the title page is edited, the splitter
// and the title-page view are the two pages of a notebook ("Score", "Title page"); the page
// shown is the active view. The tab owns its document and the document's command table, and
// it is the document's view: changes repaint the canvas and the section list goes to the
// main frame.

#include <wx/panel.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "shell/ui/AreaWindows.h"
#include "view/commands/CommandTable.h"

class wxBookCtrlEvent;
class wxChildFocusEvent;
class wxNotebook;
class wxSplitterWindow;

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;
class DocumentWindows;

class CChildFrame : public wxPanel, private DocumentObserver {
 public:
  CChildFrame(wxWindow* parent, std::unique_ptr<CVornelTabDoc> document, CVornelTabApp& app,
              DocumentWindows& windows, int key);
  ~CChildFrame() override;

  CVornelTabDoc& Document() { return *document_; }
  // A number of its own, for the document's recovery copy.
  int Key() const { return key_; }

  // The targets of this tab: the active view's commands (may be null), the document's, the
  // frame's.
  const view::CommandTable* ViewCommands() const { return ActiveHost().commands; }
  // The facsimile pane's commands while its view is the active view (the pane shown on the
  // score page and last given the focus); null otherwise. They come before the score view's.
  const view::CommandTable* FacsimileCommands() const;
  const view::CommandTable& DocumentCommands() const { return documentCommands_; }
  const view::CommandTable& FrameCommands() const { return frameCommands_; }

  // Both rows share the height (the facsimile row at least 200 pixels); hidden, the score
  // takes it all. The divider is put back where it was when the pane is shown again.
  void ShowFacsimilePane(bool show);
  bool FacsimilePaneShown() const;
  int SashPosition() const;
  // Hands an image to the document's facsimiles when the canvas is a score view.
  void AddFacsimileToScore(const std::string& imagePath);

  // The active view's window.
  wxWindow* Canvas() const { return ActiveHost().window; }
  // The tab shows the title page rather than the score: the panes' score actions do nothing.
  bool TitlePageView() const { return ActiveHost().titlePage; }
  // What the active view offers the frame (zoom, piano entry); empty parts without a view.
  const CanvasHost& CanvasParts() const { return ActiveHost(); }
  // Opens the title-page view beside the score the first time, and shows it. False when there
  // is no title-page view to show.
  bool ShowTitlePage();
  // Shows the score again.
  void ShowScore();
  // Called when the active view changes between the score and the title page.
  std::function<void()> onViewChanged;
  wxWindow* FacsimilePane() const { return facsimile_.window; }
  // The page is active again: the document refills the sections list.
  void Activated();

 private:
  void OnUpdate(const CBriotabDoc& doc, int hint, const CStaveArray* system) override;
  void OnSectionListChanged(const std::vector<std::string>& lines, int32_t active) override;
  const CanvasHost& ActiveHost() const;
  void OnPageChanged(wxBookCtrlEvent& event);
  void OnChildFocus(wxChildFocusEvent& event);
  void SetFacsimileActive(bool active);

  std::unique_ptr<CVornelTabDoc> document_;
  int key_;
  view::CommandTable documentCommands_;
  view::CommandTable frameCommands_;
  wxSplitterWindow* splitter_ = nullptr;
  CanvasHost canvas_;
  wxNotebook* pages_ = nullptr;  // made with the title-page view
  CanvasHost titlePage_;
  FacsimileHost facsimile_;
  bool facsimileActive_ = false;  // the facsimile pane had the focus last, not the score
  int savedSash_ = 0;
};

}  // namespace vornel
