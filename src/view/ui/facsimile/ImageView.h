#pragma once
// The image view of a score window's facsimile pane: a scrolled canvas with its own zoom
// (ZoomViewState) over the pane's picture (ImageViewerDocument). Fit, zoom by keys, by a
// dragged rectangle (drawn on an overlay) or by clicks, pan by dragging, copy and paste
// through the desktop clipboard, a context menu with the viewer's commands, and a one-page
// printout (Ctrl+P) and its preview. Large scans are decoded tile by tile before a repaint,
// never while painting; a long decoding shows a progress window with Cancel.

#include <wx/menu.h>
#include <wx/overlay.h>
#include <wx/print.h>
#include <wx/scrolwin.h>

#include <functional>
#include <string>

#include "view/commands/CommandTable.h"
#include "view/facsimile/ImageViewerDocument.h"
#include "view/facsimile/ZoomViewState.h"

namespace vornel {
class CBriotabDoc;
}

namespace vornel::view {

// The viewer's commands, as its context menu carries them.
enum ImageViewCommand : int {
  kAddImageToListCommand = 33022,
  kCloseFacsimileCommand = 33024,
  kFitImageCommand = 33025,
  kOpenNewFacsimileCommand = 33026,
  kClearCacheCommand = 33027,
  kGrayScaleCommand = 33056,
  kResizeToImageCommand = 33061,
  kZoomModeCommand = 32948,
  kEditImageCaptionCommand = 33339,
};

class ImageView : public wxScrolledCanvas {
 public:
  // What the view asks of the window around it.
  struct Hooks {
    std::function<void(bool show)> showPane;
    std::function<void(const std::string& path)> addToScore;
    std::function<std::string()> cacheFolder;  // where downloaded images are kept
  };

  ImageView(wxWindow* parent, CBriotabDoc& doc, Hooks hooks = {});
  ~ImageView() override;

  // The view of the document's facsimile pane; null when it has none.
  static ImageView* Of(const CBriotabDoc& doc);

  ImageViewerDocument& Document() { return image_; }
  const ZoomViewState& Zoom() const { return zoom_; }
  bool ZoomMode() const { return zoomMode_; }

  // Loads a picture, shows the pane and fits the picture to the width; false (the viewer
  // empty) when it cannot be decoded.
  bool Load(const std::string& path);
  // The picture's size as the content at zoom 1, the zoom mode off.
  void ResetScrollSizes();
  // Shows the picture's whole width without enlarging it.
  void FitImage();
  void ZoomIn();
  void ZoomOut();
  void ToggleZoomMode();
  void CloseFacsimile();
  void OpenNewFacsimile();
  void ClearCache();
  void SaveImage();
  void AddImageToList();
  bool CopyImage();
  bool PasteImage();
  // The print dialog, then the picture on one page (Ctrl+P in the view).
  void PrintImage();
  // The one page in a print preview window; the preview (its frame GetFrame), or null without
  // a picture.
  wxPrintPreviewBase* PreviewImage();
  // Runs a command of the context menu; false for one the view does not know.
  bool RunCommand(int id);
  // The commands the frame routes to the view while it is the active view (print, preview).
  const CommandTable& Commands() const { return commands_; }
  // The context menu, in its order (the caller owns it). Its items carry MenuIdOf(command):
  // the window system takes ids below 32768 only.
  wxMenu* CreateContextMenu() const;
  static int MenuIdOf(int command);

 private:
  Size TrueClientSize() const;
  void ApplyZoom();
  void ApplyScroll();
  void PrepareVisible();
  void DrawBand();
  void ClearBand();
  void UpdateCursor();

  // Marks a decoding under way for as long as it lives.
  struct DecodingGuard {
    explicit DecodingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~DecodingGuard() { flag_ = false; }
    DecodingGuard(const DecodingGuard&) = delete;
    DecodingGuard& operator=(const DecodingGuard&) = delete;
    bool& flag_;
  };

  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnScroll(wxScrollWinEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnMiddleDown(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnMenu(wxCommandEvent& event);
  void OnUpdateUI(wxUpdateUIEvent& event);

  CBriotabDoc& doc_;
  Hooks hooks_;
  ImageViewerDocument image_;
  ZoomViewState zoom_;
  bool zoomMode_ = false;
  bool panning_ = false;
  bool decoding_ = false;
  bool preparePending_ = false;  // a view asked for while decoding
  wxPoint panStart_;
  Point panScroll_;
  wxOverlay overlay_;
  CommandTable commands_;
};

// Prints the viewer's picture on one page: the printable width, or the height when the
// picture is too tall.
class ImagePrintout : public wxPrintout {
 public:
  explicit ImagePrintout(const ImageViewerDocument& image, const wxString& title = "Facsimile");
  bool OnPrintPage(int page) override;
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* selectionFrom, int* selectionTo) override;

 private:
  const ImageViewerDocument& image_;
};

// The picture's page in a print preview window over `parent` (a preview of the same printout as
// printing uses); the preview, its window shown, or null when it cannot be made (said so).
wxPrintPreviewBase* ShowImagePreview(wxWindow* parent, const ImageViewerDocument& image, const wxString& title = "Facsimile");

}  // namespace vornel::view
