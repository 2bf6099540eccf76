#include "view/ui/facsimile/ImageView.h"

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <algorithm>
#include <exception>
#include <map>

#include "image/codec/io/PLDataSource.h"
#include "image/ui/WxImageClipboard.h"
#include "platform/UserPrompts.h"
#include "platform/draw/CairoDevice.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/core/ViewIds.h"
#include "view/facsimile/ImageDownload.h"
#include "view/ui/facsimile/DelayedProgress.h"
#include "view/ui/facsimile/ViewerCursors.h"
#include "view/ui/ScorePrinting.h"

namespace vornel::view {

namespace {

constexpr COLORREF kBackground = 0x808080;
// The viewer's command numbers lie above what menu ids may be; its menu items are offset.
constexpr int kMenuIdOffset = 20000;

std::map<const CBriotabDoc*, ImageView*>& Views() {
  static std::map<const CBriotabDoc*, ImageView*> views;
  return views;
}

Point At(const wxMouseEvent& event) { return {event.GetX(), event.GetY()}; }

}  // namespace

ImageView::ImageView(wxWindow* parent, CBriotabDoc& doc, Hooks hooks)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      doc_(doc),
      hooks_(std::move(hooks)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetScrollRate(1, 1);
  DisableKeyboardScrolling();
  Views()[&doc_] = this;
  const wxSize client = GetClientSize();
  zoom_.SetClientSize({client.x, client.y});
  Bind(wxEVT_PAINT, &ImageView::OnPaint, this);
  Bind(wxEVT_SIZE, &ImageView::OnSize, this);
  for (const auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
                          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
                          wxEVT_SCROLLWIN_THUMBRELEASE}) {
    Bind(type, &ImageView::OnScroll, this);
  }
  Bind(wxEVT_LEFT_DOWN, &ImageView::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &ImageView::OnLeftUp, this);
  Bind(wxEVT_MIDDLE_DOWN, &ImageView::OnMiddleDown, this);
  Bind(wxEVT_RIGHT_DOWN, &ImageView::OnRightDown, this);
  Bind(wxEVT_MOTION, &ImageView::OnMotion, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &ImageView::OnCaptureLost, this);
  Bind(wxEVT_KEY_DOWN, &ImageView::OnKeyDown, this);
  Bind(wxEVT_CHAR, &ImageView::OnChar, this);
  Bind(wxEVT_CONTEXT_MENU, &ImageView::OnContextMenu, this);
  Bind(wxEVT_MENU, &ImageView::OnMenu, this);
  Bind(wxEVT_UPDATE_UI, &ImageView::OnUpdateUI, this);
  RegisterImageViewerCommands(
      commands_, [this] { return image_.HasImage(); }, [this] { PrintImage(); }, [this] { PreviewImage(); });
  ResetScrollSizes();
}

ImageView::~ImageView() {
  if (HasCapture()) ReleaseMouse();
  const auto found = Views().find(&doc_);
  if (found != Views().end() && found->second == this) Views().erase(found);
}

ImageView* ImageView::Of(const CBriotabDoc& doc) {
  const auto found = Views().find(&doc);
  return found != Views().end() ? found->second : nullptr;
}

bool ImageView::Load(const std::string& path) {
  const Size client = zoom_.ClientSize();
  bool loaded = false;
  {
    // A long decoding shows its progress; Cancel leaves the viewer empty.
    DelayedProgress window("Opening image", wxString::FromUTF8(path), this);
    PLProgressCallback progress([&window](double part) { return window.Report(part); });
    const DecodingGuard guard(decoding_);
    loaded = image_.Open(path, {std::max(client.cx, 640), std::max(client.cy, 480)}, &progress);
  }
  if (loaded && hooks_.showPane) hooks_.showPane(true);
  ResetScrollSizes();
  if (loaded) FitImage();
  return loaded;
}

void ImageView::ApplyZoom() {
  const Size device = zoom_.DeviceSize();
  SetVirtualSize(std::max(device.cx, 1), std::max(device.cy, 1));
  // Scroll bars that came or went changed the client size.
  const wxSize client = GetClientSize();
  zoom_.SetClientSize({client.x, client.y});
  ApplyScroll();
  UpdateCursor();
}

void ImageView::ApplyScroll() {
  const Point at = zoom_.ScrollPosition();
  Scroll(at.x, at.y);
  PrepareVisible();
  Refresh();
}

void ImageView::PrepareVisible() {
  if (!image_.IsLarge()) return;
  // The progress window lets events through: a scroll that arrives meanwhile is prepared once
  // this decoding is over instead of starting a second one inside it.
  if (decoding_) {
    preparePending_ = true;
    return;
  }
  RunGuarded([&] {
    DelayedProgress window("Reading image", wxString::FromUTF8(image_.Path()), this);
    PLProgressCallback progress([&window](double part) { return window.Report(part); });
    const DecodingGuard guard(decoding_);
    image_.Prepare(zoom_, &progress);
  });
  if (preparePending_) {
    preparePending_ = false;
    CallAfter([this] {
      PrepareVisible();
      Refresh();
    });
  }
}

void ImageView::ResetScrollSizes() {
  zoom_.SetZoomExtent(image_.ImageSize(), {}, {});
  zoom_.SetMode(ZoomViewState::Mode::kOff);
  zoomMode_ = false;
  zoom_.ResetZoom();
  ApplyZoom();
}

Size ImageView::TrueClientSize() const {
  const wxSize size = GetSize() - GetWindowBorderSize();
  return {std::max(size.x, 1), std::max(size.y, 1)};
}

void ImageView::FitImage() {
  // The width the window has without scroll bars: the fitted picture needs none.
  const Size client = TrueClientSize();
  const double factor = std::min(1.0, double(client.cx) / image_.ImageSize().cx);
  zoom_.ZoomInBy(factor, Point{client.cx / 2, 0});
  ApplyZoom();
}

void ImageView::ZoomIn() {
  if (zoom_.ZoomInBy(ZoomViewState::kStep, zoom_.ToLogical(Point{0, 0}))) ApplyZoom();
}

void ImageView::ZoomOut() {
  if (zoom_.ZoomOutBy(ZoomViewState::kStep, zoom_.ToLogical(Point{0, 0}))) ApplyZoom();
}

void ImageView::ToggleZoomMode() {
  zoomMode_ = !zoomMode_;
  zoom_.SetMode(zoomMode_ ? ZoomViewState::Mode::kDragRectangle : ZoomViewState::Mode::kOff);
  UpdateCursor();
}

void ImageView::CloseFacsimile() {
  image_.Close();
  ResetScrollSizes();
  if (hooks_.showPane) hooks_.showPane(false);
  Refresh();
}

void ImageView::OpenNewFacsimile() {
  const std::optional<std::string> file = Prompts().PromptOpenFile("Open image", kImageFilePattern);
  if (file) Load(*file);
  Refresh();
}

void ImageView::ClearCache() {
  image_.ClearCachedImage(hooks_.cacheFolder ? hooks_.cacheFolder() : ImageCacheFolder());
  CloseFacsimile();
}

void ImageView::SaveImage() { image_.Save(); }

void ImageView::AddImageToList() {
  if (hooks_.addToScore && !image_.Path().empty()) hooks_.addToScore(image_.Path());
}

bool ImageView::CopyImage() {
  WxImageClipboard clipboard;
  return image_.CopyTo(clipboard);
}

bool ImageView::PasteImage() {
  WxImageClipboard clipboard;
  if (!image_.PasteFrom(clipboard)) return false;
  ResetScrollSizes();
  return true;
}

void ImageView::PrintImage() {
  if (!image_.HasImage()) return;
  ImagePrintout printout(image_, wxString::FromUTF8(image_.Path()));
  wxPrinter printer;
  if (!printer.Print(this, &printout, true) && wxPrinter::GetLastError() == wxPRINTER_ERROR) {
    Prompts().ShowMessage("The image could not be printed.", MessageKind::kError);
  }
}

wxPrintPreviewBase* ImageView::PreviewImage() {
  if (!image_.HasImage()) return nullptr;
  return ShowImagePreview(this, image_, wxString::FromUTF8(image_.Path()));
}

bool ImageView::RunCommand(int id) {
  switch (id) {
    case kAddImageToListCommand: AddImageToList(); return true;
    case kCloseFacsimileCommand: CloseFacsimile(); return true;
    case kFitImageCommand: FitImage(); return true;
    case kOpenNewFacsimileCommand: OpenNewFacsimile(); return true;
    case kClearCacheCommand: ClearCache(); return true;
    case kGrayScaleCommand: return true;  // accepted, no effect
    case kZoomModeCommand: ToggleZoomMode(); return true;
    case wxID_SAVE: SaveImage(); return true;
    case wxID_COPY: CopyImage(); return true;
    case wxID_PASTE: PasteImage(); return true;
    case kPrint: PrintImage(); return true;
    case kPrintPreview: PreviewImage(); return true;
    default: return false;
  }
}

int ImageView::MenuIdOf(int command) { return command >= 32000 && command < 34000 ? command - kMenuIdOffset : command; }

wxMenu* ImageView::CreateContextMenu() const {
  auto* menu = new wxMenu;
  menu->Append(MenuIdOf(kAddImageToListCommand), "Add image to list");
  menu->Append(MenuIdOf(kCloseFacsimileCommand), "Close facsimile document");
  menu->AppendCheckItem(MenuIdOf(kZoomModeCommand), "Zoom mode")->Check(zoomMode_);
  menu->Append(MenuIdOf(kGrayScaleCommand), "Gray scale");
  menu->Append(MenuIdOf(kFitImageCommand), "Fit image");
  menu->AppendSeparator();
  menu->Append(MenuIdOf(kOpenNewFacsimileCommand), "Open new facsimile");
  menu->Append(wxID_SAVE, "Save image");
  menu->Append(MenuIdOf(kEditImageCaptionCommand), "Edit image caption")->Enable(false);
  menu->Append(MenuIdOf(kClearCacheCommand), "Clear cache", "Clear cached image");
  return menu;
}

void ImageView::UpdateCursor() {
  if (zoom_.Dragging()) return;
  if (!zoomMode_ && zoom_.NeedsScrolling()) SetCursor(GetViewerCursor(ViewerCursor::kHand));
  else if (zoom_.GetMode() != ZoomViewState::Mode::kOff) SetCursor(GetViewerCursor(ViewerCursor::kZoom));
  else SetCursor(wxNullCursor);
}

void ImageView::DrawBand() {
  wxClientDC dc(this);
  wxDCOverlay overlay(overlay_, &dc);
  overlay.Clear();
  Rect band = zoom_.DragRectangle();
  band.Normalize();
  const Rect device = zoom_.ToDevice(band);
  dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SHORT_DASH));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(device.left, device.top, std::max(device.Width(), 1), std::max(device.Height(), 1));
}

void ImageView::ClearBand() {
  {
    wxClientDC dc(this);
    wxDCOverlay overlay(overlay_, &dc);
    overlay.Clear();
  }
  overlay_.Reset();
}

void ImageView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxPoint start = GetViewStart();
  zoom_.ScrollTo({start.x, start.y});
  std::unique_ptr<wxGraphicsContext> gc(CairoContextOf(dc));
  auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
  if (cr == nullptr) return;
  const wxSize ppi = dc.GetPPI();
  CairoDevice device(cr, ppi.x > 0 ? ppi.x : 96, ppi.y > 0 ? ppi.y : 96, false);
  const wxSize size = GetClientSize();
  device.SetExtent({size.x, size.y});
  const wxRect box = GetUpdateRegion().GetBox();
  const Rect update{box.x, box.y, box.x + box.width, box.y + box.height};
  device.FillSolidRect(update, kBackground);
  try {
    image_.Draw(device, zoom_, update);
  } catch (const std::exception& e) {
    wxLogDebug("drawing the facsimile failed: %s", e.what());
  }
}

void ImageView::OnSize(wxSizeEvent& event) {
  event.Skip();
  const wxSize client = GetClientSize();
  zoom_.SetClientSize({client.x, client.y});
  PrepareVisible();
  Refresh();
}

void ImageView::OnScroll(wxScrollWinEvent& event) {
  event.Skip();
  CallAfter([this] {
    const wxPoint start = GetViewStart();
    zoom_.ScrollTo({start.x, start.y});
    PrepareVisible();
    Refresh();
  });
}

void ImageView::OnLeftDown(wxMouseEvent& event) {
  event.Skip();
  SetFocus();
  RunGuarded([&] {
    if (!zoomMode_) {
      if (!zoom_.NeedsScrolling()) return;
      panning_ = true;
      panStart_ = event.GetPosition();
      panScroll_ = zoom_.ScrollPosition();
      if (!HasCapture()) CaptureMouse();
      SetCursor(GetViewerCursor(ViewerCursor::kDrag));
      return;
    }
    if (event.ControlDown()) {
      if (zoom_.GetMode() != ZoomViewState::Mode::kOff && zoom_.ZoomToWindow(TrueClientSize())) ApplyZoom();
      return;
    }
    zoom_.BeginDrag(At(event));
    if (!HasCapture()) CaptureMouse();
    SetCursor(wxCursor(wxCURSOR_CROSS));
  });
}

void ImageView::OnMotion(wxMouseEvent& event) {
  event.Skip();
  RunGuarded([&] {
    if (panning_) {
      const wxPoint moved = event.GetPosition() - panStart_;
      zoom_.ScrollTo({panScroll_.x - moved.x, panScroll_.y - moved.y});
      ApplyScroll();
    } else if (zoom_.Dragging()) {
      zoom_.DragTo(At(event));
      DrawBand();
    }
  });
}

void ImageView::OnLeftUp(wxMouseEvent& event) {
  event.Skip();
  RunGuarded([&] {
    if (HasCapture()) ReleaseMouse();
    if (panning_) {
      panning_ = false;
      UpdateCursor();
    } else if (zoom_.Dragging()) {
      zoom_.DragTo(At(event));
      ClearBand();
      zoom_.EndDrag();
      ApplyZoom();
    } else if (zoom_.GetMode() == ZoomViewState::Mode::kClickOut) {
      if (zoom_.ZoomOutBy(ZoomViewState::kStep, zoom_.ToLogical(At(event)))) ApplyZoom();
    }
  });
}

void ImageView::OnMiddleDown(wxMouseEvent& event) {
  event.Skip();
  RunGuarded([&] {
    if (zoom_.GetMode() != ZoomViewState::Mode::kOff && zoom_.ZoomToWindow(TrueClientSize())) ApplyZoom();
  });
}

void ImageView::OnRightDown(wxMouseEvent& event) {
  event.Skip();
  RunGuarded([&] {
    if (zoom_.Dragging()) {
      zoom_.CancelDrag();
      if (HasCapture()) ReleaseMouse();
      ClearBand();
      UpdateCursor();
    } else if (zoom_.GetMode() != ZoomViewState::Mode::kOff) {
      if (zoom_.ZoomOutBy(ZoomViewState::kStep, zoom_.ToLogical(At(event)))) ApplyZoom();
    } else {
      ResetScrollSizes();
    }
  });
}

void ImageView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  panning_ = false;
  if (zoom_.Dragging()) {
    zoom_.CancelDrag();
    ClearBand();
  }
  UpdateCursor();
}

void ImageView::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool control = event.ControlDown();
  RunGuarded([&] {
    const Size page = zoom_.PageStep();
    const Size line = zoom_.LineStep();
    const Point at = zoom_.ScrollPosition();
    const Point most = zoom_.MaxScroll();
    if (control && (key == 'C' || key == 'c')) {
      CopyImage();
      return;
    }
    if (control && (key == 'V' || key == 'v')) {
      PasteImage();
      return;
    }
    if (control && (key == 'P' || key == 'p')) {
      PrintImage();
      return;
    }
    switch (key) {
      case WXK_PAGEUP: zoom_.ScrollBy(0, -std::max(page.cy, 1)); break;
      case WXK_PAGEDOWN: zoom_.ScrollBy(0, std::max(page.cy, 1)); break;
      case WXK_HOME: zoom_.ScrollTo(control ? Point{at.x, 0} : Point{0, at.y}); break;
      case WXK_END: zoom_.ScrollTo(control ? Point{at.x, most.y} : Point{most.x, at.y}); break;
      case WXK_UP: zoom_.ScrollBy(0, -std::max(line.cy, 1)); break;
      case WXK_DOWN: zoom_.ScrollBy(0, std::max(line.cy, 1)); break;
      case WXK_LEFT: zoom_.ScrollBy(-std::max(line.cx, 1), 0); break;
      case WXK_RIGHT: zoom_.ScrollBy(std::max(line.cx, 1), 0); break;
      default: event.Skip(); return;
    }
    ApplyScroll();
  });
}

void ImageView::OnChar(wxKeyEvent& event) {
  const int key = event.GetUnicodeKey() != WXK_NONE ? int(event.GetUnicodeKey()) : event.GetKeyCode();
  RunGuarded([&] {
    if (key == '+') ZoomIn();
    else if (key == '-') ZoomOut();
    else if ((key == WXK_ESCAPE || key == ' ') && zoom_.GetMode() != ZoomViewState::Mode::kOff) {
      zoom_.SetMode(ZoomViewState::Mode::kOff);
      UpdateCursor();
    }
  });
  event.Skip();
}

void ImageView::OnContextMenu(wxContextMenuEvent&) {
  if (zoomMode_) return;
  std::unique_ptr<wxMenu> menu(CreateContextMenu());
  PopupMenu(menu.get());
}

void ImageView::OnUpdateUI(wxUpdateUIEvent& event) {
  // The context menu's items are the viewer's own: the main window's route does not know
  // them, so they are enabled here and go no further.
  const int id = event.GetId();
  const bool loaded = image_.HasImage();
  if (id == MenuIdOf(kOpenNewFacsimileCommand) || id == MenuIdOf(kZoomModeCommand)) {
    event.Enable(true);
  } else if (id == MenuIdOf(kAddImageToListCommand) || id == MenuIdOf(kCloseFacsimileCommand) ||
             id == MenuIdOf(kGrayScaleCommand) || id == MenuIdOf(kFitImageCommand) || id == wxID_SAVE ||
             id == MenuIdOf(kClearCacheCommand)) {
    event.Enable(loaded);
  } else if (id == MenuIdOf(kEditImageCaptionCommand)) {
    event.Enable(false);
  } else {
    event.Skip();
  }
}

void ImageView::OnMenu(wxCommandEvent& event) {
  bool handled = false;
  const int id = event.GetId();
  // The viewer's commands lie from 32000 to 33999; their menu items 20000 below.
  const bool offset = id >= 32000 - kMenuIdOffset && id < 34000 - kMenuIdOffset;
  RunGuarded([&] { handled = RunCommand(offset ? id + kMenuIdOffset : id); });
  if (!handled) event.Skip();
}

wxPrintPreviewBase* ShowImagePreview(wxWindow* parent, const ImageViewerDocument& image, const wxString& title) {
  auto* preview = new wxPrintPreview(new ImagePrintout(image, title), new ImagePrintout(image, title));
  if (!preview->IsOk()) {
    delete preview;
    Prompts().ShowMessage("The image could not be previewed.", MessageKind::kError);
    return nullptr;
  }
  auto* frame = new wxPreviewFrame(preview, parent, "Print Preview", wxDefaultPosition, wxSize(800, 900));
  frame->Initialize();
  frame->Show();
  return preview;
}

ImagePrintout::ImagePrintout(const ImageViewerDocument& image, const wxString& title)
    : wxPrintout(title), image_(image) {}

void ImagePrintout::GetPageInfo(int* minPage, int* maxPage, int* selectionFrom, int* selectionTo) {
  *minPage = *maxPage = *selectionFrom = *selectionTo = 1;
}

bool ImagePrintout::OnPrintPage(int page) {
  if (page != 1) return false;
  return DrawPrintedPage(*this, [&](DeviceContext& device, Size size, Size ppi) {
    image_.Print(device, size.cx, size.cy, ppi.cx, ppi.cy);
  });
}

}  // namespace vornel::view
