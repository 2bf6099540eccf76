#include "shell/ui/CChildFrame.h"

#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/splitter.h>

#include <algorithm>

#include "document/CVornelTabDoc.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/CommandRoute.h"
#include "shell/frame/ShellPictures.h"
#include "view/FramePanes.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

namespace {

constexpr int kFacsimileMinimum = 200;
// The notebook's pages once the title page has a view.
constexpr int kScorePage = 0;
constexpr int kTitlePagePage = 1;

// Until a score view is installed: the document's name over a blank page.
CanvasHost PlaceholderCanvas(wxWindow* parent, CVornelTabDoc& doc, const CVornelTabApp& app) {
  const COLORREF screen = app.options.screenColor;
  const COLORREF page = app.options.pageColor;
  auto* panel = new DrawingPanel(parent, {});
  panel->SetPainter([&doc, screen, page, panel](DeviceContext& dc) {
    const wxSize size = panel->GetClientSize();
    DrawDocumentPlaceholder(dc, Size{size.x, size.y}, doc.GetTitle(), screen, page);
  });
  CanvasHost host;
  host.window = panel;
  return host;
}

}  // namespace

CChildFrame::CChildFrame(wxWindow* parent, std::unique_ptr<CVornelTabDoc> document, CVornelTabApp& app,
                         DocumentWindows& windows, int key)
    : wxPanel(parent, wxID_ANY), document_(std::move(document)), key_(key) {

  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  splitter_->SetMinimumPaneSize(10);
  splitter_->SetSashGravity(0.5);
  canvas_ = GetCanvasFactory() ? GetCanvasFactory()(splitter_, *document_) : CanvasHost{};
  if (canvas_.window == nullptr) canvas_ = PlaceholderCanvas(splitter_, *document_, app);
  // The play commands play on the view's player.
  FillDocumentTable(documentCommands_, app, windows, *document_, canvas_.player);
  if (GetFacsimileFactory()) facsimile_ = GetFacsimileFactory()(splitter_, *document_);
  if (facsimile_.window == nullptr) facsimile_ = FacsimileHost{new wxPanel(splitter_, wxID_ANY), nullptr};
  facsimile_.window->Hide();
  splitter_->Initialize(canvas_.window);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(splitter_, 1, wxEXPAND);
  SetSizer(sizer);
  document_->AddObserver(this);
  Bind(wxEVT_CHILD_FOCUS, &CChildFrame::OnChildFocus, this);
}

CChildFrame::~CChildFrame() {
  document_->RemoveObserver(this);
  // The canvas and the facsimile view hold the document: they go before it does.
  DestroyChildren();
}

void CChildFrame::ShowFacsimilePane(bool show) {
  if (show == splitter_->IsSplit()) return;
  const view::CommandTable* routed = FacsimileCommands();
  if (show) {
    const int height = splitter_->GetClientSize().y;
    int sash = savedSash_ > 0 ? savedSash_ : height / 2;
    if (height > 0) sash = std::min(sash, std::max(10, height - kFacsimileMinimum));
    facsimile_.window->Show();
    splitter_->SplitHorizontally(canvas_.window, facsimile_.window, sash);
  } else {
    savedSash_ = splitter_->GetSashPosition();
    splitter_->Unsplit(facsimile_.window);
    facsimileActive_ = false;
  }
  Layout();
  if (FacsimileCommands() != routed && onViewChanged) onViewChanged();
}

bool CChildFrame::FacsimilePaneShown() const { return splitter_->IsSplit(); }

int CChildFrame::SashPosition() const { return splitter_->IsSplit() ? splitter_->GetSashPosition() : savedSash_; }

void CChildFrame::AddFacsimileToScore(const std::string& imagePath) {
  if (canvas_.addFacsimile) canvas_.addFacsimile(imagePath);
}

void CChildFrame::Activated() { document_->UpdateSectionList(); }

const CanvasHost& CChildFrame::ActiveHost() const {
  if (pages_ != nullptr && pages_->GetSelection() == kTitlePagePage) return titlePage_;
  return canvas_;
}

bool CChildFrame::ShowTitlePage() {
  if (pages_ == nullptr) {
    const CanvasFactory& factory = GetTitlePageFactory();
    if (!factory) return false;
    // The score's splitter becomes the first page of a notebook.
    pages_ = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxNB_BOTTOM);
    GetSizer()->Detach(splitter_);
    splitter_->Reparent(pages_);
    pages_->AddPage(splitter_, "Score");
    titlePage_ = factory(pages_, *document_);
    if (titlePage_.window == nullptr) titlePage_.window = new wxPanel(pages_, wxID_ANY);
    pages_->AddPage(titlePage_.window, "Title page");
    GetSizer()->Add(pages_, 1, wxEXPAND);
    pages_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CChildFrame::OnPageChanged, this);
    Layout();
  }
  if (pages_->GetSelection() != kTitlePagePage) {
    pages_->ChangeSelection(kTitlePagePage);
    if (onViewChanged) onViewChanged();
  }
  titlePage_.window->Refresh();
  return true;
}

void CChildFrame::ShowScore() {
  if (pages_ == nullptr || pages_->GetSelection() == kScorePage) return;
  pages_->ChangeSelection(kScorePage);
  if (onViewChanged) onViewChanged();
}

const view::CommandTable* CChildFrame::FacsimileCommands() const {
  const bool scoreShown = pages_ == nullptr || pages_->GetSelection() == kScorePage;
  return facsimileActive_ && scoreShown && splitter_->IsSplit() ? facsimile_.commands : nullptr;
}

void CChildFrame::OnChildFocus(wxChildFocusEvent& event) {
  event.Skip();
  // The view last given the focus is the active one; a focus elsewhere in the tab leaves it.
  // The event names the focused window or one of its parents; the focus itself decides when
  // that parent is the splitter around both panes.
  for (wxWindow* focus : {event.GetWindow(), wxWindow::FindFocus()}) {
    const auto within = [focus](wxWindow* pane) {
      return focus != nullptr && pane != nullptr && (focus == pane || pane->IsDescendant(focus));
    };
    if (within(facsimile_.window)) return SetFacsimileActive(splitter_->IsSplit());
    if (within(canvas_.window)) return SetFacsimileActive(false);
  }
}

void CChildFrame::SetFacsimileActive(bool active) {
  const view::CommandTable* routed = FacsimileCommands();
  facsimileActive_ = active;
  if (FacsimileCommands() != routed && onViewChanged) onViewChanged();
}

void CChildFrame::OnPageChanged(wxBookCtrlEvent&) {
  // Not passed on: the tab's own pages are none of the frame's business but through the route.
  if (onViewChanged) onViewChanged();
}

void CChildFrame::OnUpdate(const CBriotabDoc&, int, const CStaveArray*) {
  for (const CanvasHost* host : {&canvas_, &titlePage_}) {
    if (host->window != nullptr && !host->observesDocument) host->window->Refresh();
  }
}

void CChildFrame::OnSectionListChanged(const std::vector<std::string>& lines, int32_t active) {
  view::Panes().ShowSections(lines, active);
}

}  // namespace vornel
