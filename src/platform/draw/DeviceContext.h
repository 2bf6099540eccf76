#pragma once
// The device every drawing of the system goes through: screen, PNG, PDF, printer and the
// recording used by tests. It keeps the semantics the drawing code was written against:
// integer device pixels with a resolution and a printing flag, selected pens, brushes and
// fonts, the current position, text alignment and colours, rectangles that exclude their
// right column and bottom row, even-odd filled paths with Bézier segments, text output that
// honours the alignment flags and the escapement, and DrawText with its format flags.
//
// The base class implements all of that once; a backend only fills and strokes resolved
// paths, draws resolved glyph runs and bitmaps, and clips.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/DrawObjects.h"
#include "platform/draw/FontResolver.h"
#include "platform/draw/Ink.h"

namespace vornel {

// GetDeviceCaps indexes the drawing code asks for.
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;

// A path in device pixels (viewport origin applied).
struct PathData {
  enum class Op : uint8_t { kMove, kLine, kCurve, kClose };
  struct Element {
    Op op;
    double x[3];
    double y[3];
  };
  std::vector<Element> elements;

  void MoveTo(double x, double y) { elements.push_back({Op::kMove, {x, 0, 0}, {y, 0, 0}}); }
  void LineTo(double x, double y) { elements.push_back({Op::kLine, {x, 0, 0}, {y, 0, 0}}); }
  void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    elements.push_back({Op::kCurve, {x1, x2, x3}, {y1, y2, y3}});
  }
  void Close() { elements.push_back({Op::kClose, {0, 0, 0}, {0, 0, 0}}); }
  bool Empty() const { return elements.empty(); }
  void Translate(double dx, double dy);
};

// One piece of a laid-out text run. Offsets are in the run's own frame: x along the
// baseline from the run's origin, y downward from the baseline.
struct RunPiece {
  enum class Kind : uint8_t { kMusic, kText, kShape, kPlaceholder };
  Kind kind = Kind::kText;
  double x = 0;
  double y = 0;
  double size = 0;           // em of a music glyph
  char32_t codePoint = 0;    // music glyph
  uint32_t glyphIndex = 0;   // music glyph in the music font
  std::string text;          // text piece
  TextFaceKey face;          // text piece
  GlyphShape shape = GlyphShape::kNone;
  double width = 0;          // shape, placeholder
  double height = 0;         // shape, placeholder
};

struct GlyphRun {
  const ResolvedFont* font = nullptr;
  double x = 0;  // baseline origin in device pixels
  double y = 0;
  double angle = 0;  // radians, counter-clockwise
  COLORREF colour = 0;
  std::vector<RunPiece> pieces;
  double advance = 0;  // pixels, as the layout reports it
};

// What a layer above attaches to a device for one drawing (the view's drawing context: page
// settings, the document's pictures); the device only carries it, so that everything drawn on
// it, and every device made to measure like it, finds the same.
class DeviceAttachment {
 public:
  virtual ~DeviceAttachment() = default;
};

class DeviceContext {
 public:
  DeviceContext(int32_t dpiX, int32_t dpiY, bool printing, TextEngine& engine);
  virtual ~DeviceContext() = default;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // ---- Device
  int32_t LogPixelsX() const { return dpiX_; }
  int32_t LogPixelsY() const { return dpiY_; }
  int32_t GetDeviceCaps(int index) const;
  bool IsPrinting() const { return printing_; }
  // The resolution of the device the output stands for: a print preview draws on the screen
  // for a printer. The device's own unless set.
  void SetAttributeResolution(int32_t dpiX, int32_t dpiY) {
    attributeDpiX_ = dpiX;
    attributeDpiY_ = dpiY;
  }
  int32_t AttributeLogPixelsX() const { return attributeDpiX_ > 0 ? attributeDpiX_ : dpiX_; }
  int32_t AttributeLogPixelsY() const { return attributeDpiY_ > 0 ? attributeDpiY_ : dpiY_; }
  // Hundredths of a millimetre to device pixels and back (the HIMETRIC conversions).
  void HimetricToDevice(Size& size) const;
  void DeviceToHimetric(Size& size) const;
  // The drawable size in pixels (0 when the device has no fixed size).
  void SetExtent(Size extent) { extent_ = extent; }
  // The engine that measures and lays out text here; a device made to measure like this one
  // uses the same.
  TextEngine& GetTextEngine() { return resolver_.Engine(); }

  // ---- State
  int SaveDC();
  // A positive number restores that save, a negative one that many saves back.
  bool RestoreDC(int saved = -1);
  Point SetViewportOrg(int32_t x, int32_t y);
  Point GetViewportOrg() const { return state_.viewport; }
  void IntersectClipRect(const Rect& rect);
  void SelectClipRect(const Rect* rect);  // null: no clipping
  std::optional<Rect> GetClipBox() const;

  Pen SelectPen(const Pen& pen);
  Pen SelectStockPen(StockObject object) { return SelectPen(Pen::Stock(object)); }
  Brush SelectBrush(const Brush& brush);
  Brush SelectStockBrush(StockObject object) { return SelectBrush(Brush::Stock(object)); }
  FontSpec SelectFont(const FontSpec& font);
  const Pen& GetPen() const { return state_.pen; }
  const Brush& GetBrush() const { return state_.brush; }
  const FontSpec& GetFont() const { return state_.font; }

  COLORREF SetTextColor(COLORREF colour);
  COLORREF GetTextColor() const { return state_.textColour; }
  COLORREF SetBkColor(COLORREF colour);
  COLORREF GetBkColor() const { return state_.bkColour; }
  int SetBkMode(int mode);
  int GetBkMode() const { return state_.bkMode; }
  unsigned SetTextAlign(unsigned align);
  unsigned GetTextAlign() const { return state_.textAlign; }
  int SetPolyFillMode(int mode);
  int GetPolyFillMode() const { return state_.fillMode; }

  // ---- Lines and shapes (drawn with the pen, filled with the brush)
  Point MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  Point GetCurrentPosition() const { return state_.position; }
  void Polyline(std::span<const Point> points);
  // A first point, then three points per Bézier segment.
  void PolyBezier(std::span<const Point> points);
  // Three points per segment, starting at the current position.
  void PolyBezierTo(std::span<const Point> points);
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Rectangle(const Rect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Ellipse(const Rect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void Polygon(std::span<const Point> points);
  void FillRect(const Rect& rect, const Brush& brush);
  void FillSolidRect(const Rect& rect, COLORREF colour);
  void FrameRect(const Rect& rect, const Brush& brush);
  void Draw3dRect(const Rect& rect, COLORREF topLeft, COLORREF bottomRight);

  // ---- Paths: between BeginPath and EndPath the drawing calls above add to the path.
  void BeginPath();
  void EndPath();
  void AbortPath();
  void CloseFigure();
  void FillPath();
  void StrokePath();
  void StrokeAndFillPath();

  // ---- Text in the selected font, colour and alignment. Texts are UTF-8; in a music or
  // tablature face each code point is a character code of that face.
  void TextOut(int32_t x, int32_t y, std::string_view text);
  // Returns the height of the text; DT_CALCRECT measures into `rect` without drawing.
  int32_t DrawText(std::string_view text, Rect& rect, unsigned format);
  Size GetTextExtent(std::string_view text);
  TextMetrics GetTextMetrics();
  int32_t GetCharWidth(char32_t code);
  // The ink of a text drawn at (0, 0) with TA_LEFT | TA_BASELINE, in pixels; empty when
  // nothing would be drawn. Used to centre glyphs in boxes.
  Rect GetTextInkBox(std::string_view text);
  // The resolved form of the selected font.
  const ResolvedFont& CurrentFont();

  // ---- Bitmaps
  void BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const DeviceBitmap& bitmap, int32_t srcX,
              int32_t srcY);
  void StretchBlt(const Rect& dst, const DeviceBitmap& bitmap, const Rect& src);
  // Pixels of the key colour are left out.
  void TransparentBlt(const Rect& dst, const DeviceBitmap& bitmap, const Rect& src, COLORREF key);

  // ---- Ink: every item drawn from now on is told to the observer (none: null), with what
  // the renderer says it draws and the group (system) it draws. Each returns what was set.
  InkObserver* SetInkObserver(InkObserver* observer) { return std::exchange(inkObserver_, observer); }
  InkObserver* GetInkObserver() const { return inkObserver_; }
  InkSource SetInkSource(InkSource source) { return std::exchange(inkSource_, source); }
  InkSource GetInkSource() const { return inkSource_; }
  // ---- Attachment: see DeviceAttachment (none: null).
  DeviceAttachment* SetAttachment(DeviceAttachment* attachment) { return std::exchange(attachment_, attachment); }
  DeviceAttachment* GetAttachment() const { return attachment_; }
  int32_t SetInkGroup(int32_t group) { return std::exchange(inkGroup_, group); }
  int32_t GetInkGroup() const { return inkGroup_; }
  // The chord (or other unit whose marks belong to its letters) the items drawn from now on
  // belong to; 0 none. NewInkAnchor hands out a number not used before on this device.
  uint32_t SetInkAnchor(uint32_t anchor) { return std::exchange(inkAnchor_, anchor); }
  uint32_t GetInkAnchor() const { return inkAnchor_; }
  uint32_t NewInkAnchor() { return ++inkAnchors_; }
  // While held, every item drawn is told as one drawing call: the pieces of one sign drawn by
  // several calls are meant to touch one another (see InkCallGroup).
  void HoldInkCall(bool hold);

 protected:
  // A device of a lower resolution hands what it draws to another device's backend.
  friend class ScaledDevice;
  // ---- What a backend does. Coordinates are device pixels with the viewport applied.
  virtual void DoFill(const PathData& path, const Brush& brush, bool evenOdd) = 0;
  virtual void DoStroke(const PathData& path, const Pen& pen) = 0;
  virtual void DoGlyphs(const GlyphRun& run) = 0;
  virtual void DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                        std::optional<COLORREF> key) = 0;
  virtual void DoClip(const std::optional<Rect>& clip) = 0;
  // A line of the call log; only called while `tracing_` is set.
  virtual void DoTrace(std::string_view) {}

  void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool tracing_ = false;

  TextEngine& Engine() { return resolver_.Engine(); }

 private:
  struct State {
    Pen pen;
    Brush brush = Brush::Solid(0xFFFFFF);
    FontSpec font;
    COLORREF textColour = 0;
    COLORREF bkColour = 0xFFFFFF;
    int bkMode = OPAQUE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    int fillMode = ALTERNATE;
    Point position;
    Point viewport;
    std::optional<Rect> clip;  // device coordinates
    const ResolvedFont* resolved = nullptr;
  };

  double DevX(int32_t x) const { return static_cast<double>(x) + state_.viewport.x; }
  double DevY(int32_t y) const { return static_cast<double>(y) + state_.viewport.y; }
  // Where strokes run: pixel centres for pens of odd width, pixel edges for even widths, so
  // that both cover whole pixels.
  double StrokeOffset() const { return state_.pen.PixelWidth() % 2 == 1 ? 0.5 : 0.0; }
  double StrokeX(int32_t x) const { return DevX(x) + StrokeOffset(); }
  double StrokeY(int32_t y) const { return DevY(y) + StrokeOffset(); }
  // Intersects the clip with a rectangle in logical coordinates.
  void NarrowClip(const Rect& rect);
  void Stroke(PathData& path);
  void FillAndStroke(const PathData& fill, PathData& outline);
  void LayoutRun(const ResolvedFont& font, std::string_view text, GlyphRun& run);
  int32_t RunExtent(const ResolvedFont& font, const GlyphRun& run) const;
  void OutputText(int32_t x, int32_t y, std::string_view text);
  // A figure of straight lines through `points` (at least one), closed when asked.
  void AddFigureToPath(std::span<const Point> points, bool close);
  // The backends' calls, told to the ink observer first.
  void EmitFill(const PathData& path, const Brush& brush, bool evenOdd);
  void EmitStroke(const PathData& path, const Pen& pen);
  void EmitGlyphs(const GlyphRun& run, std::string_view text);
  void EmitBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst, std::optional<COLORREF> key);
  void ReportInk(InkItem item);
  void NextInkCall();

  int32_t dpiX_;
  int32_t dpiY_;
  int32_t attributeDpiX_ = 0;
  int32_t attributeDpiY_ = 0;
  bool printing_;
  Size extent_;
  FontResolver resolver_;  // the fonts resolved for this device
  State state_;
  std::vector<State> saved_;
  bool inPath_ = false;
  bool pathEnded_ = false;
  PathData path_;  // logical integer coordinates, kept as doubles
  GlyphRun scratchRun_;
  InkObserver* inkObserver_ = nullptr;
  DeviceAttachment* attachment_ = nullptr;
  InkSource inkSource_ = InkSource::kOther;
  int32_t inkGroup_ = 0;
  uint32_t inkCall_ = 0;
  uint32_t inkAnchor_ = 0;
  uint32_t inkAnchors_ = 0;  // the anchors handed out
  int inkCallsHeld_ = 0;
  bool inkCallHeldStarted_ = false;
};

// Says what the renderer draws while it lives.
class InkSourceScope {
 public:
  InkSourceScope(DeviceContext& dc, InkSource source) : dc_(dc), previous_(dc.SetInkSource(source)) {}
  ~InkSourceScope() { dc_.SetInkSource(previous_); }
  InkSourceScope(const InkSourceScope&) = delete;
  InkSourceScope& operator=(const InkSourceScope&) = delete;

 private:
  DeviceContext& dc_;
  InkSource previous_;
};

// What is drawn while it lives is told as one drawing call.
class InkCallGroup {
 public:
  explicit InkCallGroup(DeviceContext& dc) : dc_(dc) { dc.HoldInkCall(true); }
  ~InkCallGroup() { dc_.HoldInkCall(false); }
  InkCallGroup(const InkCallGroup&) = delete;
  InkCallGroup& operator=(const InkCallGroup&) = delete;

 private:
  DeviceContext& dc_;
};

// Gives what is drawn while it lives an anchor of its own (see DeviceContext::SetInkAnchor).
class InkAnchorScope {
 public:
  explicit InkAnchorScope(DeviceContext& dc) : dc_(dc), previous_(dc.SetInkAnchor(dc.NewInkAnchor())) {}
  ~InkAnchorScope() { dc_.SetInkAnchor(previous_); }
  InkAnchorScope(const InkAnchorScope&) = delete;
  InkAnchorScope& operator=(const InkAnchorScope&) = delete;

 private:
  DeviceContext& dc_;
  uint32_t previous_;
};

}  // namespace vornel
