#include "view/titlepage/CTitlePageView.h"

#include <algorithm>

#include "document/CDocumentSettings.h"
#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "document/dialogs/TitlePageSettings.h"
#include "model/score/SectionEditor.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/render/PictureText.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/DocumentSettingsDrawing.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel::view {

namespace {

// Room beside and below the paper in the scrollable area.
constexpr int32_t kRoomBeside = 200;
constexpr int32_t kRoomBelow = 100;
constexpr size_t kFrameStyles = 4;

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }

// The page settings' screen rectangles, which the score view keeps for its own page.
class KeptScreenRects {
 public:
  explicit KeptScreenRects(CPageDlg& page)
      : page_(page),
        pageRect_(page.pageRect),
        client_(page.viewClientRect),
        printable_(page.printableRect),
        frame_(page.pageFrameRect),
        offset_(page.screenOffset) {}
  ~KeptScreenRects() {
    page_.pageRect = pageRect_;
    page_.viewClientRect = client_;
    page_.printableRect = printable_;
    page_.pageFrameRect = frame_;
    page_.screenOffset = offset_;
  }
  KeptScreenRects(const KeptScreenRects&) = delete;
  KeptScreenRects& operator=(const KeptScreenRects&) = delete;

 private:
  CPageDlg& page_;
  Rect pageRect_;
  Rect client_;
  Rect printable_;
  Rect frame_;
  Point offset_;
};

}  // namespace

CTitlePageView::CTitlePageView(CBriotabDoc& doc, ViewWindow& window) : MSJSuperView(window), doc_(doc) {
  AddCommands();
  doc_.AddObserver(this);
}

CTitlePageView::~CTitlePageView() { doc_.RemoveObserver(this); }

void CTitlePageView::AddCommands() {
  commands_.Add(kCenterTitleElementsCommand, [this](const CommandEvent&) { CenterAllElements(); });
  commands_.Add(kAddTitlePageImageCommand, [this](const CommandEvent&) { AddTitlePageImage(); });
  commands_.Add(kTitlePageFrameCommand, [this](const CommandEvent& event) { SetFrameStyle(event.value); });
}

void CTitlePageView::OnInitialUpdate() {
  UpdateScrollSizes();
  Window().Invalidate();
}

void CTitlePageView::UpdateScrollSizes() {
  const CPageDlg& page = doc_.settings.pageSettings;
  const Size paper = page.PaperSizeTenths();
  const Size dpi = Window().Resolution();
  const int32_t zoom = SaneZoom(page.zoom);
  SetScrollSizes({MulDiv(MulDiv(paper.cx, dpi.cx, 254), zoom, 100) + kRoomBeside,
                  MulDiv(MulDiv(paper.cy, dpi.cx, 254), zoom, 100) + kRoomBelow});
}

void CTitlePageView::OnUpdate(const CBriotabDoc&, int hint, const CStaveArray*) {
  if (hint == kHintNothing) return;
  UpdateScrollSizes();
  Window().Invalidate();
}

void CTitlePageView::OnDraw(DeviceContext& dc) {
  CDocumentSettings& settings = doc_.settings;
  const KeptScreenRects kept(settings.pageSettings);
  const Size client = Window().ClientSize();
  settings.pageSettings.viewClientRect = {0, 0, client.cx, client.cy};
  if (!dc.IsPrinting()) {
    const Size dpi = Window().Resolution();
    RecordScreenDpi(settings.pageSettings, dpi);
  }
  // A text left out of this drawing is not there to be clicked.
  for (CTextStack* stack : {&settings.texts, &settings.titlePage.texts}) {
    for (const auto& text : stack->items()) {
      if (text != nullptr) text->drawnRect = {};
    }
  }
  lastDrawing_ = DrawTitlePageView(doc_, dc);
  if (!dc.IsPrinting()) CollectElements();
}

void CTitlePageView::CollectElements() {
  elements_.clear();
  const CDocumentSettings& settings = doc_.settings;
  const CTitlePage& titlePage = settings.titlePage;
  for (size_t i = 0; i < settings.texts.size(); ++i) {
    const CTrackText* text = settings.texts.at(i);
    if (text != nullptr && !text->drawnRect.IsEmpty()) {
      elements_.push_back({Element::Kind::kDocumentText, i, text->drawnRect});
    }
  }
  for (const CTitlePage::TextIndex index : {CTitlePage::kTitle, CTitlePage::kAuthor, CTitlePage::kPublisher}) {
    const CTrackText& text = titlePage.Text(index);
    if (!text.drawnRect.IsEmpty()) elements_.push_back({Element::Kind::kTitlePageText, index, text.drawnRect});
  }
  if (!titlePage.picture.drawnRect.IsEmpty()) {
    elements_.push_back({Element::Kind::kPicture, 0, titlePage.picture.drawnRect});
  }
  const CRTFTrackText& formatted = titlePage.formattedTitle;
  if (!formatted.text.empty() && (formatted.flags & CTrackText::kVisible) != 0) {
    Rect rect = formatted.storedRect;
    rect.Normalize();
    if (!rect.IsEmpty()) elements_.push_back({Element::Kind::kFormattedTitle, 0, rect});
  }
}

std::optional<CTitlePageView::Element> CTitlePageView::ElementAt(Point client, bool withPicture) const {
  const Point point = ClientToLogical(client);
  for (const Element& element : elements_) {
    if (element.kind == Element::Kind::kPicture && !withPicture) continue;
    if (element.rect.Contains(point)) return element;
  }
  return std::nullopt;
}

CTrackText* CTitlePageView::TextOf(const Element& element) {
  CDocumentSettings& settings = doc_.settings;
  switch (element.kind) {
    case Element::Kind::kDocumentText:
      return element.index < settings.texts.size() ? settings.texts.at(element.index) : nullptr;
    case Element::Kind::kTitlePageText:
      return element.index < settings.titlePage.texts.size() ? settings.titlePage.texts.at(element.index) : nullptr;
    case Element::Kind::kFormattedTitle:
      return &settings.titlePage.formattedTitle;
    case Element::Kind::kPicture:
      return &settings.titlePage.picture;
  }
  return nullptr;
}

// --------------------------------------------------------------------------------------------
// Dragging

bool CTitlePageView::OnLButtonDown(const MouseEvent& event) {
  if (drag_) return false;
  const std::optional<Element> element = ElementAt(event.point, false);
  if (!element) return false;
  const Point at = ClientToLogical(event.point);
  drag_ = Drag{*element, at, at};
  Window().CaptureMouse();
  return true;
}

void CTitlePageView::OnMouseMove(const MouseEvent& event) {
  if (drag_) drag_->now = ClientToLogical(event.point);
}

bool CTitlePageView::OnLButtonUp(const MouseEvent& event) {
  if (!drag_) return false;
  const Drag drag = *drag_;
  drag_.reset();
  Window().ReleaseMouse();
  const Point end = ClientToLogical(event.point);
  const Point offset{end.x - drag.start.x, end.y - drag.start.y};
  if (offset.x == 0 && offset.y == 0) return false;
  MoveElement(drag.element, offset);
  doc_.NotifyChanged(kHintRepaintAll);
  return true;
}

void CTitlePageView::CancelDrag() {
  if (!drag_) return;
  drag_.reset();
  Window().ReleaseMouse();
}

std::optional<Rect> CTitlePageView::TrackerRect() const {
  if (!drag_) return std::nullopt;
  Rect rect = drag_->element.rect;
  rect.Offset(drag_->now.x - drag_->start.x, drag_->now.y - drag_->start.y);
  return LogicalToClient(rect);
}

void CTitlePageView::DrawOverlays(DeviceContext& dc) const {
  if (!drag_) return;
  Rect rect = drag_->element.rect;
  rect.Offset(drag_->now.x - drag_->start.x, drag_->now.y - drag_->start.y);
  const int saved = dc.SaveDC();
  dc.SelectPen(Pen::Create(PS_DOT, 1, 0));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(rect);
  dc.RestoreDC(saved);
}

void CTitlePageView::MoveElement(const Element& element, Point offset) {
  CTrackText* text = TextOf(element);
  if (text == nullptr) return;
  // Where the text's anchor stands now, and there moved by the offset, back at zoom 100.
  const int32_t zoom = SaneZoom(text->lastZoom);
  text->zoom = zoom;
  const Point anchor{text->origin.x + MulDiv(text->x, zoom, 100), text->origin.y + MulDiv(text->y, zoom, 100)};
  text->MoveTo({anchor.x + offset.x, anchor.y + offset.y});
  const Size dpi = Window().Resolution();
  text->ConvertPendingOffsets(dpi.cx, dpi.cy);
  text->drawnRect.Offset(offset.x, offset.y);
  if (element.kind == Element::Kind::kFormattedTitle) {
    // Printing places the rich text by its kept rectangle.
    doc_.settings.titlePage.formattedTitle.storedRect.Offset(offset.x, offset.y);
  }
}

// --------------------------------------------------------------------------------------------
// Double click

bool CTitlePageView::OnLButtonDblClk(const MouseEvent& event) {
  CancelDrag();
  const std::optional<Element> element = ElementAt(event.point, true);
  if (!element) return false;
  CTitlePage& titlePage = doc_.settings.titlePage;
  bool edited = false;
  switch (element->kind) {
    case Element::Kind::kDocumentText:
    case Element::Kind::kTitlePageText:
      if (CTrackText* text = TextOf(*element)) edited = SectionEditors().EditTrackText(*text);
      break;
    case Element::Kind::kPicture:
      edited = BrowseImage(PicturesOf(doc_), titlePage.picture);
      if (edited) titlePage.picture.mode = DIBornament::kModeLoaded;
      break;
    case Element::Kind::kFormattedTitle:
      edited = titlePage.formattedTitle.EditRtf();
      break;
  }
  if (edited) {
    doc_.NotifyChanged(kHintRepaintAll);
  } else {
    Window().Invalidate();
  }
  return true;
}

// --------------------------------------------------------------------------------------------
// Commands

void CTitlePageView::CenterAllElements() {
  const Size dpi = Window().Resolution();
  RecordingDevice measuring(dpi.cx, false, PangoTextEngine::Shared());
  measuring.SetRecording(false);
  if (lastDrawing_.IsEmpty()) OnDraw(measuring);
  CenterTitleTexts(doc_.settings, measuring, lastDrawing_.left, lastDrawing_.top, lastDrawing_.right,
                   lastDrawing_.bottom);
  doc_.NotifyChanged(kHintRepaintAll);
}

bool CTitlePageView::AddTitlePageImage() {
  DIBornament& picture = doc_.settings.titlePage.picture;
  if (!BrowseImage(PicturesOf(doc_), picture)) return false;
  picture.mode = DIBornament::kModeLoaded;
  const int32_t frameWidth = doc_.settings.titlePage.frameRect.Width();
  if (const std::optional<Size> pixels = PicturePixels(PicturesOf(doc_), picture); pixels && frameWidth > 0) {
    // Wider than 90 % of the frame: scaled down to that.
    if (static_cast<int64_t>(pixels->cx) * 10 > static_cast<int64_t>(frameWidth) * 9) {
      picture.sizePercent = static_cast<uint32_t>(TitlePictureScale(pixels->cx, frameWidth));
    }
  }
  CenterAllElements();
  return true;
}

void CTitlePageView::SetFrameStyle(std::optional<long> galleryItem) {
  if (galleryItem && *galleryItem >= 0 && static_cast<size_t>(*galleryItem) < kFrameStyles) {
    lastFrameItem_ = *galleryItem;
  }
  doc_.settings.titlePage.frameStyle = static_cast<int32_t>(lastFrameItem_);
  doc_.NotifyChanged(kHintRepaintAll);
}

}  // namespace vornel::view
