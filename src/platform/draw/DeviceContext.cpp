#include "platform/draw/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/draw/MulDiv.h"
#include "platform/draw/MusicFont.h"
#include "platform/text/FormatText.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

// Texts in the call log: printable as they are, controls and the C1 range (where many
// music codes lie) as \u{..}.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (size_t pos = 0; pos < text.size();) {
    const char32_t c = DecodeUtf8(text, pos);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\u{%X}", static_cast<unsigned>(c));
      out += buffer;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out + "\"";
}

std::string PenText(const Pen& pen) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "style=0x%X width=%d colour=0x%06X", pen.style, pen.width, pen.colour);
  std::string out = buffer;
  if (!pen.dashes.empty()) {
    out += " dashes=";
    for (size_t i = 0; i < pen.dashes.size(); ++i) {
      if (i > 0) out += ',';
      out += std::to_string(pen.dashes[i]);
    }
  }
  return out;
}

std::string BrushText(const Brush& brush) {
  char buffer[64];
  switch (brush.kind) {
    case Brush::Kind::kNull:
      return "null";
    case Brush::Kind::kPattern:
      std::snprintf(buffer, sizeof buffer, "pattern %dx%d", brush.pattern->Width(), brush.pattern->Height());
      return buffer;
    case Brush::Kind::kSolid:
      break;
  }
  std::snprintf(buffer, sizeof buffer, "solid 0x%06X", brush.colour);
  return buffer;
}

std::string PointList(std::span<const Point> points) {
  std::string list;
  char buffer[32];
  for (const Point& p : points) {
    std::snprintf(buffer, sizeof buffer, " %d,%d", p.x, p.y);
    list += buffer;
  }
  return list;
}

void Rotate(double angle, double& dx, double& dy) {
  if (angle == 0) return;
  // Counter-clockwise on the page, where y grows downward.
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double x = dx * c + dy * s;
  const double y = -dx * s + dy * c;
  dx = x;
  dy = y;
}

// Lines of a DrawText text, with the '&' prefixes resolved unless DT_NOPREFIX.
std::vector<std::string> SplitLines(std::string_view text, unsigned format) {
  std::string cleaned;
  cleaned.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!(format & DT_NOPREFIX) && c == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        cleaned += '&';
        ++i;
      }
      continue;
    }
    cleaned += c;
  }
  std::vector<std::string> lines;
  if (format & DT_SINGLELINE) {
    std::string line;
    for (char c : cleaned) {
      if (c != '\r' && c != '\n') line += c;
    }
    lines.push_back(std::move(line));
    return lines;
  }
  // A line ends at a line feed, a carriage return, or the two together.
  std::string line;
  for (size_t i = 0; i < cleaned.size(); ++i) {
    const char c = cleaned[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < cleaned.size() && cleaned[i + 1] == '\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(std::move(line));
  return lines;
}

}  // namespace

void PathData::Translate(double dx, double dy) {
  for (auto& e : elements) {
    for (int i = 0; i < 3; ++i) {
      e.x[i] += dx;
      e.y[i] += dy;
    }
  }
}

DeviceContext::DeviceContext(int32_t dpiX, int32_t dpiY, bool printing, TextEngine& engine)
    : dpiX_(dpiX > 0 ? dpiX : 96),
      dpiY_(dpiY > 0 ? dpiY : 96),
      printing_(printing),
      resolver_(engine) {
  state_.pen = Pen::Stock(StockObject::kBlackPen);
  state_.font.lfFaceName = "System";
}

void DeviceContext::Trace(const char* format, ...) {
  std::string line;
  va_list args;
  va_start(args, format);
  AppendFormatV(line, format, args);
  va_end(args);
  DoTrace(line);
}

// ---------------------------------------------------------------- device

int32_t DeviceContext::GetDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
      return dpiX_;
    case LOGPIXELSY:
      return dpiY_;
    case HORZRES:
      return extent_.cx;
    case VERTRES:
      return extent_.cy;
    default:
      return 0;
  }
}

void DeviceContext::HimetricToDevice(Size& size) const {
  size.cx = MulDiv(size.cx, dpiX_, 2540);
  size.cy = MulDiv(size.cy, dpiY_, 2540);
}

void DeviceContext::DeviceToHimetric(Size& size) const {
  size.cx = MulDiv(size.cx, 2540, dpiX_);
  size.cy = MulDiv(size.cy, 2540, dpiY_);
}

// ---------------------------------------------------------------- state

int DeviceContext::SaveDC() {
  saved_.push_back(state_);
  if (tracing_) Trace("SaveDC -> %zu", saved_.size());
  return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDC(int saved) {
  const int depth = static_cast<int>(saved_.size());
  const int target = saved < 0 ? depth + saved + 1 : saved;
  if (tracing_) Trace("RestoreDC %d", saved);
  if (target < 1 || target > depth) return false;
  const bool clipChanged = saved_[static_cast<size_t>(target - 1)].clip != state_.clip;
  state_ = saved_[static_cast<size_t>(target - 1)];
  saved_.resize(static_cast<size_t>(target - 1));
  if (clipChanged) DoClip(state_.clip);
  return true;
}

Point DeviceContext::SetViewportOrg(int32_t x, int32_t y) {
  if (tracing_) Trace("SetViewportOrg %d %d", x, y);
  const Point old = state_.viewport;
  state_.viewport = {x, y};
  return old;
}

void DeviceContext::IntersectClipRect(const Rect& rect) {
  if (tracing_) Trace("IntersectClipRect %d %d %d %d", rect.left, rect.top, rect.right, rect.bottom);
  NarrowClip(rect);
}

void DeviceContext::NarrowClip(const Rect& rect) {
  Rect r = rect;
  r.Offset(state_.viewport.x, state_.viewport.y);
  if (state_.clip) {
    r.left = std::max(r.left, state_.clip->left);
    r.top = std::max(r.top, state_.clip->top);
    r.right = std::min(r.right, state_.clip->right);
    r.bottom = std::min(r.bottom, state_.clip->bottom);
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  state_.clip = r;
  DoClip(state_.clip);
}

void DeviceContext::SelectClipRect(const Rect* rect) {
  if (tracing_) {
    if (rect != nullptr) {
      Trace("SelectClipRect %d %d %d %d", rect->left, rect->top, rect->right, rect->bottom);
    } else {
      Trace("SelectClipRect none");
    }
  }
  if (rect == nullptr) {
    state_.clip.reset();
  } else {
    Rect r = *rect;
    r.Offset(state_.viewport.x, state_.viewport.y);
    state_.clip = r;
  }
  DoClip(state_.clip);
}

std::optional<Rect> DeviceContext::GetClipBox() const {
  if (!state_.clip) return std::nullopt;
  Rect r = *state_.clip;
  r.Offset(-state_.viewport.x, -state_.viewport.y);
  return r;
}

Pen DeviceContext::SelectPen(const Pen& pen) {
  if (tracing_ && !(pen == state_.pen)) Trace("SelectPen %s", PenText(pen).c_str());
  Pen old = state_.pen;
  state_.pen = pen;
  return old;
}

Brush DeviceContext::SelectBrush(const Brush& brush) {
  if (tracing_ && !(brush == state_.brush)) Trace("SelectBrush %s", BrushText(brush).c_str());
  Brush old = state_.brush;
  state_.brush = brush;
  return old;
}

FontSpec DeviceContext::SelectFont(const FontSpec& font) {
  if (tracing_ && !(font == state_.font)) {
    Trace("SelectFont \"%s\" height=%d weight=%d italic=%d underline=%d escapement=%d", font.lfFaceName.c_str(),
          font.lfHeight, font.lfWeight, font.lfItalic, font.lfUnderline, font.lfEscapement);
  }
  FontSpec old = state_.font;
  if (!(font == state_.font)) {
    state_.font = font;
    state_.resolved = nullptr;
  }
  return old;
}

COLORREF DeviceContext::SetTextColor(COLORREF colour) {
  if (tracing_ && colour != state_.textColour) Trace("SetTextColor 0x%06X", colour);
  return std::exchange(state_.textColour, colour);
}

COLORREF DeviceContext::SetBkColor(COLORREF colour) {
  if (tracing_ && colour != state_.bkColour) Trace("SetBkColor 0x%06X", colour);
  return std::exchange(state_.bkColour, colour);
}

int DeviceContext::SetBkMode(int mode) {
  if (tracing_ && mode != state_.bkMode) Trace("SetBkMode %s", mode == TRANSPARENT ? "transparent" : "opaque");
  const int old = state_.bkMode;
  if (mode == TRANSPARENT || mode == OPAQUE) state_.bkMode = mode;
  return old;
}

unsigned DeviceContext::SetTextAlign(unsigned align) {
  if (tracing_ && align != state_.textAlign) Trace("SetTextAlign 0x%X", align);
  return std::exchange(state_.textAlign, align);
}

int DeviceContext::SetPolyFillMode(int mode) {
  if (tracing_ && mode != state_.fillMode) Trace("SetPolyFillMode %s", mode == WINDING ? "winding" : "alternate");
  const int old = state_.fillMode;
  if (mode == ALTERNATE || mode == WINDING) state_.fillMode = mode;
  return old;
}

// ---------------------------------------------------------------- lines and shapes

void DeviceContext::Stroke(PathData& path) {
  const Pen& pen = state_.pen;
  if (pen.IsNull() || path.Empty()) return;
  if (pen.PixelWidth() == 1) {
    // A one-pixel line covers its first pixel and stops before its last one: run it from
    // half a pixel before the start to half a pixel before the end.
    auto& el = path.elements;
    size_t start = 0;
    while (start < el.size()) {
      size_t end = start + 1;
      while (end < el.size() && el[end].op != PathData::Op::kMove) ++end;
      const bool closed = el[end - 1].op == PathData::Op::kClose;
      if (!closed && end - start >= 2 && el[start].op == PathData::Op::kMove &&
          el[start + 1].op == PathData::Op::kLine && el[end - 1].op == PathData::Op::kLine) {
        auto shift = [](double& x0, double& y0, double x1, double y1, double& tx, double& ty) {
          const double dx = x1 - x0;
          const double dy = y1 - y0;
          const double length = std::hypot(dx, dy);
          if (length == 0) return;
          tx -= 0.5 * dx / length;
          ty -= 0.5 * dy / length;
        };
        auto& s0 = el[start];
        auto& s1 = el[start + 1];
        shift(s0.x[0], s0.y[0], s1.x[0], s1.y[0], s0.x[0], s0.y[0]);
        auto& e1 = el[end - 1];
        auto& e0 = el[end - 2];
        double px = e0.op == PathData::Op::kCurve ? e0.x[2] : e0.x[0];
        double py = e0.op == PathData::Op::kCurve ? e0.y[2] : e0.y[0];
        shift(px, py, e1.x[0], e1.y[0], e1.x[0], e1.y[0]);
      }
      start = end;
    }
  }
  EmitStroke(path, pen);
}

void DeviceContext::FillAndStroke(const PathData& fill, PathData& outline) {
  if (!state_.brush.IsNull()) EmitFill(fill, state_.brush, state_.fillMode == ALTERNATE);
  Stroke(outline);
}

void DeviceContext::AddFigureToPath(std::span<const Point> points, bool close) {
  path_.MoveTo(points[0].x, points[0].y);
  for (const Point& p : points.subspan(1)) path_.LineTo(p.x, p.y);
  if (close) path_.Close();
}

Point DeviceContext::MoveTo(int32_t x, int32_t y) {
  if (tracing_) Trace("MoveTo %d %d", x, y);
  const Point old = state_.position;
  state_.position = {x, y};
  if (inPath_) path_.MoveTo(x, y);
  return old;
}

void DeviceContext::LineTo(int32_t x, int32_t y) {
  if (tracing_) Trace("LineTo %d %d", x, y);
  const Point from = state_.position;
  state_.position = {x, y};
  if (inPath_) {
    if (path_.Empty()) path_.MoveTo(from.x, from.y);
    path_.LineTo(x, y);
    return;
  }
  PathData path;
  path.MoveTo(StrokeX(from.x), StrokeY(from.y));
  path.LineTo(StrokeX(x), StrokeY(y));
  Stroke(path);
}

void DeviceContext::Polyline(std::span<const Point> points) {
  if (tracing_) {
    const std::string list = PointList(points);
    Trace("Polyline%s", list.c_str());
  }
  if (points.size() < 2) return;
  if (inPath_) {
    AddFigureToPath(points, false);
    return;
  }
  PathData path;
  path.MoveTo(StrokeX(points[0].x), StrokeY(points[0].y));
  for (size_t i = 1; i < points.size(); ++i) path.LineTo(StrokeX(points[i].x), StrokeY(points[i].y));
  Stroke(path);
}

void DeviceContext::PolyBezier(std::span<const Point> points) {
  if (points.empty()) return;
  const Point saved = state_.position;
  const bool wasTracing = tracing_;
  if (tracing_) {
    const std::string list = PointList(points);
    Trace("PolyBezier%s", list.c_str());
  }
  tracing_ = false;
  if (inPath_) {
    MoveTo(points[0].x, points[0].y);
    PolyBezierTo(points.subspan(1));
  } else {
    state_.position = points[0];
    PolyBezierTo(points.subspan(1));
    state_.position = saved;  // PolyBezier leaves the current position alone
  }
  tracing_ = wasTracing;
}

void DeviceContext::PolyBezierTo(std::span<const Point> points) {
  if (tracing_) {
    const std::string list = PointList(points);
    Trace("PolyBezierTo%s", list.c_str());
  }
  const size_t segments = points.size() / 3;
  if (segments == 0) return;
  const Point from = state_.position;
  state_.position = points[segments * 3 - 1];
  if (inPath_) {
    if (path_.Empty()) path_.MoveTo(from.x, from.y);
    for (size_t i = 0; i < segments; ++i) {
      const Point* p = &points[i * 3];
      path_.CurveTo(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
    }
    return;
  }
  PathData path;
  path.MoveTo(StrokeX(from.x), StrokeY(from.y));
  for (size_t i = 0; i < segments; ++i) {
    const Point* p = &points[i * 3];
    path.CurveTo(StrokeX(p[0].x), StrokeY(p[0].y), StrokeX(p[1].x), StrokeY(p[1].y), StrokeX(p[2].x),
                 StrokeY(p[2].y));
  }
  Stroke(path);
}

void DeviceContext::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (tracing_) Trace("Rectangle %d %d %d %d", left, top, right, bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (inPath_) {
    const Point corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    AddFigureToPath(corners, true);
    return;
  }
  // With a pen the outline takes the outer pixels; without one the filled area is a pixel
  // smaller both ways. Either way the right column and bottom row stay outside.
  const bool outlined = !state_.pen.IsNull();
  PathData fill;
  const double r = DevX(outlined ? right : right - 1);
  const double b = DevY(outlined ? bottom : bottom - 1);
  fill.MoveTo(DevX(left), DevY(top));
  fill.LineTo(r, DevY(top));
  fill.LineTo(r, b);
  fill.LineTo(DevX(left), b);
  fill.Close();
  PathData outline;
  if (outlined) {
    outline.MoveTo(StrokeX(left), StrokeY(top));
    outline.LineTo(StrokeX(right - 1), StrokeY(top));
    outline.LineTo(StrokeX(right - 1), StrokeY(bottom - 1));
    outline.LineTo(StrokeX(left), StrokeY(bottom - 1));
    outline.Close();
  }
  FillAndStroke(fill, outline);
}

namespace {

// A closed ellipse of four Bézier quarters.
void AddEllipse(PathData& path, double cx, double cy, double rx, double ry) {
  constexpr double k = 0.5522847498307936;
  path.MoveTo(cx + rx, cy);
  path.CurveTo(cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry);
  path.CurveTo(cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy);
  path.CurveTo(cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry);
  path.CurveTo(cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy);
  path.Close();
}

}  // namespace

void DeviceContext::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (tracing_) Trace("Ellipse %d %d %d %d", left, top, right, bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const double cx = (DevX(left) + DevX(right)) / 2;
  const double cy = (DevY(top) + DevY(bottom)) / 2;
  const double rx = (right - left) / 2.0;
  const double ry = (bottom - top) / 2.0;
  PathData fill;
  AddEllipse(fill, cx, cy, rx, ry);
  PathData outline;
  if (!state_.pen.IsNull()) AddEllipse(outline, cx, cy, std::max(0.0, rx - 0.5), std::max(0.0, ry - 0.5));
  FillAndStroke(fill, outline);
}

void DeviceContext::Polygon(std::span<const Point> points) {
  if (tracing_) {
    const std::string list = PointList(points);
    Trace("Polygon%s", list.c_str());
  }
  if (points.size() < 2) return;
  if (inPath_) {
    AddFigureToPath(points, true);
    return;
  }
  PathData fill;
  PathData outline;
  fill.MoveTo(DevX(points[0].x), DevY(points[0].y));
  outline.MoveTo(StrokeX(points[0].x), StrokeY(points[0].y));
  for (size_t i = 1; i < points.size(); ++i) {
    fill.LineTo(DevX(points[i].x), DevY(points[i].y));
    outline.LineTo(StrokeX(points[i].x), StrokeY(points[i].y));
  }
  fill.Close();
  outline.Close();
  FillAndStroke(fill, outline);
}

void DeviceContext::FillRect(const Rect& rect, const Brush& brush) {
  if (tracing_) Trace("FillRect %d %d %d %d %s", rect.left, rect.top, rect.right, rect.bottom, BrushText(brush).c_str());
  if (rect.IsEmpty() || brush.IsNull()) return;
  PathData path;
  path.MoveTo(DevX(rect.left), DevY(rect.top));
  path.LineTo(DevX(rect.right), DevY(rect.top));
  path.LineTo(DevX(rect.right), DevY(rect.bottom));
  path.LineTo(DevX(rect.left), DevY(rect.bottom));
  path.Close();
  EmitFill(path, brush, true);
}

void DeviceContext::FillSolidRect(const Rect& rect, COLORREF colour) {
  const bool wasTracing = tracing_;
  if (tracing_) Trace("FillSolidRect %d %d %d %d 0x%06X", rect.left, rect.top, rect.right, rect.bottom, colour);
  tracing_ = false;
  FillRect(rect, Brush::Solid(colour));
  tracing_ = wasTracing;
}

void DeviceContext::FrameRect(const Rect& rect, const Brush& brush) {
  const bool wasTracing = tracing_;
  if (tracing_) Trace("FrameRect %d %d %d %d %s", rect.left, rect.top, rect.right, rect.bottom, BrushText(brush).c_str());
  tracing_ = false;
  if (!rect.IsEmpty()) {
    FillRect({rect.left, rect.top, rect.right, rect.top + 1}, brush);
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, brush);
    FillRect({rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1}, brush);
    FillRect({rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1}, brush);
  }
  tracing_ = wasTracing;
}

void DeviceContext::Draw3dRect(const Rect& rect, COLORREF topLeft, COLORREF bottomRight) {
  const bool wasTracing = tracing_;
  if (tracing_) {
    Trace("Draw3dRect %d %d %d %d 0x%06X 0x%06X", rect.left, rect.top, rect.right, rect.bottom, topLeft, bottomRight);
  }
  tracing_ = false;
  const int32_t w = rect.Width();
  const int32_t h = rect.Height();
  if (w > 0 && h > 0) {
    FillRect({rect.left, rect.top, rect.left + w - 1, rect.top + 1}, Brush::Solid(topLeft));
    FillRect({rect.left, rect.top, rect.left + 1, rect.top + h - 1}, Brush::Solid(topLeft));
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, Brush::Solid(bottomRight));
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, Brush::Solid(bottomRight));
  }
  tracing_ = wasTracing;
}

// ---------------------------------------------------------------- paths

void DeviceContext::BeginPath() {
  if (tracing_) Trace("BeginPath");
  path_.elements.clear();
  inPath_ = true;
  pathEnded_ = false;
}

void DeviceContext::EndPath() {
  if (tracing_) Trace("EndPath");
  if (!inPath_) return;
  inPath_ = false;
  pathEnded_ = true;
}

void DeviceContext::AbortPath() {
  if (tracing_) Trace("AbortPath");
  inPath_ = false;
  pathEnded_ = false;
  path_.elements.clear();
}

void DeviceContext::CloseFigure() {
  if (tracing_) Trace("CloseFigure");
  if (inPath_ && !path_.Empty()) path_.Close();
}

void DeviceContext::FillPath() {
  if (tracing_) Trace("FillPath");
  if (!pathEnded_) return;
  PathData fill = path_;
  fill.Translate(state_.viewport.x, state_.viewport.y);
  if (!state_.brush.IsNull() && !fill.Empty()) EmitFill(fill, state_.brush, state_.fillMode == ALTERNATE);
  path_.elements.clear();
  pathEnded_ = false;
}

void DeviceContext::StrokePath() {
  if (tracing_) Trace("StrokePath");
  if (!pathEnded_) return;
  PathData outline = path_;
  const double offset = StrokeOffset();
  outline.Translate(state_.viewport.x + offset, state_.viewport.y + offset);
  Stroke(outline);
  path_.elements.clear();
  pathEnded_ = false;
}

void DeviceContext::StrokeAndFillPath() {
  if (tracing_) Trace("StrokeAndFillPath");
  if (!pathEnded_) return;
  const auto elements = path_;
  const bool wasTracing = tracing_;
  tracing_ = false;
  FillPath();
  path_ = elements;
  pathEnded_ = true;
  StrokePath();
  tracing_ = wasTracing;
}

// ---------------------------------------------------------------- text

const ResolvedFont& DeviceContext::CurrentFont() {
  if (state_.resolved == nullptr) state_.resolved = &resolver_.Resolve(state_.font, dpiY_);
  return *state_.resolved;
}

void DeviceContext::LayoutRun(const ResolvedFont& font, std::string_view text, GlyphRun& run) {
  run.font = &font;
  run.pieces.clear();
  run.advance = 0;
  if (font.role == FaceRole::kText) {
    RunPiece piece;
    piece.kind = RunPiece::Kind::kText;
    if (IsValidUtf8(text)) {
      piece.text = std::string(text);
    } else {
      // Text from a file may be damaged: what cannot be decoded is shown as U+FFFD.
      for (size_t pos = 0; pos < text.size();) AppendUtf8(piece.text, DecodeUtf8(text, pos));
    }
    text = piece.text;
    piece.face = font.textFace;
    run.advance = Engine().Advance(font.textFace, text);
    run.pieces.push_back(std::move(piece));
    return;
  }

  // A face of the glyph table: each character code is looked up; runs of characters the
  // table leaves to text are measured and drawn together.
  const double S = font.staffSpace;
  const bool music = font.IsMusicRole();
  const double textEm = music ? font.em * 0.5 : font.em;
  MusicFont& musicFont = MusicFont::Shared();
  double pen = 0;
  double lastAdvance = 0;
  std::string pendingText;
  auto flushText = [&]() {
    if (pendingText.empty()) return;
    RunPiece piece;
    piece.kind = RunPiece::Kind::kText;
    piece.face = font.textFace;
    piece.face.em = font.em;
    piece.x = pen;
    piece.text = std::move(pendingText);
    pendingText.clear();
    lastAdvance = RoundHalfAway(Engine().Advance(piece.face, piece.text));
    pen += lastAdvance;
    run.pieces.push_back(std::move(piece));
  };
  auto placeholder = [&](double width) {
    RunPiece piece;
    piece.kind = RunPiece::Kind::kPlaceholder;
    piece.x = pen;
    piece.width = std::max(2.0, width);
    piece.height = std::max(3.0, music ? 2 * S : font.ascent * 0.7);
    lastAdvance = RoundHalfAway(piece.width + std::max(1.0, S / 4));
    pen += lastAdvance;
    run.pieces.push_back(std::move(piece));
  };

  for (size_t pos = 0; pos < text.size();) {
    const char32_t code = DecodeUtf8(text, pos);
    const GlyphMapEntry* entry = FindGlyph(font.role, code);
    if (entry == nullptr) {
      if (RoleFallsBackToText(font.role)) {
        AppendUtf8(pendingText, code);
      } else {
        placeholder(music ? S : font.em * 0.5);
      }
      continue;
    }
    flushText();
    switch (entry->kind) {
      case GlyphMapEntry::Kind::kSmufl: {
        const MusicFont::GlyphMetrics& m = musicFont.Metrics(entry->codePoint);
        if (m.glyphIndex == 0) {
          placeholder(music ? S : font.em * 0.5);
          break;
        }
        const double size = font.em * entry->scale;
        RunPiece piece;
        piece.kind = RunPiece::Kind::kMusic;
        piece.size = size;
        piece.codePoint = entry->codePoint;
        piece.glyphIndex = m.glyphIndex;
        piece.x = pen + entry->dx * S;
        piece.y = -entry->dy * S;
        if (entry->sitOnBaseline) piece.y -= m.inkBottom * size;
        const double advance = entry->advance >= 0 ? entry->advance * S : m.advance * size;
        run.pieces.push_back(piece);
        if (entry->secondCodePoint != 0) {
          const MusicFont::GlyphMetrics& m2 = musicFont.Metrics(entry->secondCodePoint);
          RunPiece second = piece;
          second.codePoint = entry->secondCodePoint;
          second.glyphIndex = m2.glyphIndex;
          second.x = pen + (entry->dx + entry->secondDx) * S;
          second.y = piece.y - entry->secondDy * S;
          if (m2.glyphIndex != 0) run.pieces.push_back(second);
        }
        lastAdvance = RoundHalfAway(advance);
        pen += lastAdvance;
        break;
      }
      case GlyphMapEntry::Kind::kText: {
        RunPiece piece;
        piece.kind = RunPiece::Kind::kText;
        piece.face = font.textFace;
        piece.face.family = std::string(GlyphTextFamily(entry->textFace));
        piece.face.em = textEm * entry->scale;
        if (entry->textFace == GlyphTextFace::kSerifItalic) piece.face.italic = true;
        piece.text = entry->text;
        piece.x = pen;
        lastAdvance = RoundHalfAway(Engine().Advance(piece.face, piece.text));
        pen += lastAdvance;
        run.pieces.push_back(std::move(piece));
        break;
      }
      case GlyphMapEntry::Kind::kDraw: {
        RunPiece piece;
        piece.kind = RunPiece::Kind::kShape;
        piece.shape = entry->shape;
        const double advance = entry->advance * S;
        piece.x = entry->shape == GlyphShape::kCrossStroke ? pen - lastAdvance : pen;
        piece.width = entry->shape == GlyphShape::kCrossStroke ? lastAdvance : std::max(advance, S);
        piece.height = music ? S * 1.2 : font.ascent * 0.7;
        run.pieces.push_back(piece);
        lastAdvance = RoundHalfAway(advance);
        pen += lastAdvance;
        break;
      }
      case GlyphMapEntry::Kind::kNone:
        lastAdvance = RoundHalfAway(entry->advance * S);
        pen += lastAdvance;
        break;
    }
  }
  flushText();
  run.advance = pen;
}

int32_t DeviceContext::RunExtent(const ResolvedFont&, const GlyphRun& run) const {
  return RoundHalfAway(run.advance);
}

void DeviceContext::OutputText(int32_t x, int32_t y, std::string_view text) {
  const ResolvedFont& font = CurrentFont();
  GlyphRun& run = scratchRun_;
  LayoutRun(font, text, run);
  const int32_t width = RunExtent(font, run);
  const unsigned align = state_.textAlign;
  if (align & TA_UPDATECP) {
    x = state_.position.x;
    y = state_.position.y;
  }
  double ox = 0;
  switch (align & TA_CENTER) {
    case TA_RIGHT:
      ox = -width;
      break;
    case TA_CENTER:
      ox = -(width / 2);
      break;
    default:
      break;
  }
  double oy = 0;
  switch (align & TA_BASELINE) {
    case TA_BASELINE:
      break;
    case TA_BOTTOM:
      oy = -font.metrics.tmDescent;
      break;
    default:
      oy = font.metrics.tmAscent;
      break;
  }
  if (align & TA_UPDATECP) {
    double ax = (align & TA_CENTER) == TA_RIGHT ? -width : width;
    double ay = 0;
    if ((align & TA_CENTER) == TA_CENTER) ax = 0;
    Rotate(font.angle, ax, ay);
    state_.position = {x + RoundHalfAway(ax), y + RoundHalfAway(ay)};
  }
  Rotate(font.angle, ox, oy);
  run.x = DevX(x) + ox;
  run.y = DevY(y) + oy;
  run.angle = font.angle;
  run.colour = state_.textColour;

  if (state_.bkMode == OPAQUE && width > 0) {
    // The text cell behind the text in the background colour.
    double corners[4][2] = {{0, -double(font.metrics.tmAscent)},
                            {double(width), -double(font.metrics.tmAscent)},
                            {double(width), double(font.metrics.tmDescent)},
                            {0, double(font.metrics.tmDescent)}};
    PathData cell;
    for (int i = 0; i < 4; ++i) {
      double cx = corners[i][0];
      double cy = corners[i][1];
      Rotate(font.angle, cx, cy);
      if (i == 0) {
        cell.MoveTo(run.x + cx, run.y + cy);
      } else {
        cell.LineTo(run.x + cx, run.y + cy);
      }
    }
    cell.Close();
    EmitFill(cell, Brush::Solid(state_.bkColour), true);
  }
  if (!run.pieces.empty()) EmitGlyphs(run, text);
}

void DeviceContext::TextOut(int32_t x, int32_t y, std::string_view text) {
  if (tracing_) Trace("TextOut %d %d %s", x, y, Quoted(text).c_str());
  if (text.empty()) return;
  OutputText(x, y, text);
}

int32_t DeviceContext::DrawText(std::string_view text, Rect& rect, unsigned format) {
  const ResolvedFont& font = CurrentFont();
  const int32_t lineHeight = font.metrics.tmHeight + font.metrics.tmExternalLeading;
  std::vector<std::string> lines = SplitLines(text, format);
  if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
    // Greedy wrapping at spaces to the rectangle's width.
    const int32_t limit = rect.Width();
    std::vector<std::string> wrapped;
    for (const std::string& line : lines) {
      std::string current;
      size_t start = 0;
      while (start <= line.size()) {
        size_t space = line.find(' ', start);
        if (space == std::string::npos) space = line.size();
        const std::string word = line.substr(start, space - start);
        const std::string candidate = current.empty() ? word : current + " " + word;
        if (!current.empty() && GetTextExtent(candidate).cx > limit) {
          wrapped.push_back(current);
          current = word;
        } else {
          current = candidate;
        }
        start = space + 1;
      }
      wrapped.push_back(current);
    }
    lines = std::move(wrapped);
  }

  std::vector<int32_t> widths;
  int32_t maxWidth = 0;
  for (const std::string& line : lines) {
    widths.push_back(GetTextExtent(line).cx);
    maxWidth = std::max(maxWidth, widths.back());
  }
  const int32_t totalHeight = lineHeight * static_cast<int32_t>(lines.size());
  const bool single = (format & DT_SINGLELINE) != 0;
  int32_t firstY = rect.top;
  if (single && (format & DT_VCENTER)) firstY = rect.top + (rect.Height() - lineHeight) / 2;
  if (single && (format & DT_BOTTOM)) firstY = rect.bottom - lineHeight;
  const int32_t result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? firstY - rect.top + lineHeight
                                                                         : totalHeight;

  if (format & DT_CALCRECT) {
    if (tracing_) {
      Trace("DrawText %s %d %d %d %d 0x%X -> %d %d %d %d", Quoted(text).c_str(), rect.left, rect.top, rect.right,
            rect.bottom, format, rect.left, rect.top, rect.left + maxWidth, rect.top + totalHeight);
    }
    rect.right = rect.left + maxWidth;
    rect.bottom = rect.top + totalHeight;
    return result;
  }
  if (tracing_) {
    Trace("DrawText %s %d %d %d %d 0x%X", Quoted(text).c_str(), rect.left, rect.top, rect.right, rect.bottom, format);
  }

  const std::optional<Rect> savedClip = state_.clip;
  if (!(format & DT_NOCLIP)) NarrowClip(rect);
  // Each line starts where the format puts it; the line is then written as TextOut writes,
  // so the device's alignment flags still apply to it.
  const Point savedPosition = state_.position;
  const unsigned savedAlign = state_.textAlign;
  state_.textAlign &= ~TA_UPDATECP;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    int32_t x = rect.left;
    if (format & DT_CENTER) {
      x = rect.left + (rect.Width() - widths[i]) / 2;
    } else if (format & DT_RIGHT) {
      x = rect.right - widths[i];
    }
    const int32_t y = firstY + lineHeight * static_cast<int32_t>(i);
    OutputText(x, y, lines[i]);
  }
  state_.textAlign = savedAlign;
  state_.position = savedPosition;
  if (!(format & DT_NOCLIP)) {
    state_.clip = savedClip;
    DoClip(state_.clip);
  }
  return result;
}

Size DeviceContext::GetTextExtent(std::string_view text) {
  const ResolvedFont& font = CurrentFont();
  if (text.empty()) return {0, font.metrics.tmHeight};
  GlyphRun run;
  LayoutRun(font, text, run);
  return {RunExtent(font, run), font.metrics.tmHeight};
}

TextMetrics DeviceContext::GetTextMetrics() { return CurrentFont().metrics; }

int32_t DeviceContext::GetCharWidth(char32_t code) {
  std::string text;
  AppendUtf8(text, code);
  return GetTextExtent(text).cx;
}

Rect DeviceContext::GetTextInkBox(std::string_view text) {
  const ResolvedFont& font = CurrentFont();
  GlyphRun run;
  LayoutRun(font, text, run);
  double left = 1e300;
  double top = 1e300;
  double right = -1e300;
  double bottom = -1e300;
  auto add = [&](double l, double t, double r, double b) {
    left = std::min(left, l);
    top = std::min(top, t);
    right = std::max(right, r);
    bottom = std::max(bottom, b);
  };
  for (const RunPiece& piece : run.pieces) {
    switch (piece.kind) {
      case RunPiece::Kind::kMusic: {
        const auto& m = MusicFont::Shared().Metrics(piece.codePoint);
        add(piece.x + m.inkLeft * piece.size, piece.y + m.inkTop * piece.size, piece.x + m.inkRight * piece.size,
            piece.y + m.inkBottom * piece.size);
        break;
      }
      case RunPiece::Kind::kText: {
        const TextInkBox ink = Engine().Ink(piece.face, piece.text);
        if (ink.right > ink.left) add(piece.x + ink.left, piece.y + ink.top, piece.x + ink.right, piece.y + ink.bottom);
        break;
      }
      case RunPiece::Kind::kShape:
      case RunPiece::Kind::kPlaceholder:
        add(piece.x, piece.y - piece.height, piece.x + piece.width, piece.y);
        break;
    }
  }
  if (left > right) return {};
  return {static_cast<int32_t>(std::floor(left)), static_cast<int32_t>(std::floor(top)),
          static_cast<int32_t>(std::ceil(right)), static_cast<int32_t>(std::ceil(bottom))};
}

// ---------------------------------------------------------------- bitmaps

void DeviceContext::BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const DeviceBitmap& bitmap,
                           int32_t srcX, int32_t srcY) {
  if (tracing_) Trace("BitBlt %d %d %d %d %dx%d %d %d", x, y, width, height, bitmap.Width(), bitmap.Height(), srcX, srcY);
  if (width <= 0 || height <= 0 || bitmap.IsEmpty()) return;
  Rect dst{x, y, x + width, y + height};
  dst.Offset(state_.viewport.x, state_.viewport.y);
  EmitBitmap(bitmap, {srcX, srcY, srcX + width, srcY + height}, dst, std::nullopt);
}

void DeviceContext::StretchBlt(const Rect& dst, const DeviceBitmap& bitmap, const Rect& src) {
  if (tracing_) {
    Trace("StretchBlt %d %d %d %d %dx%d %d %d %d %d", dst.left, dst.top, dst.right, dst.bottom, bitmap.Width(),
          bitmap.Height(), src.left, src.top, src.right, src.bottom);
  }
  if (dst.Width() == 0 || dst.Height() == 0 || src.IsEmpty() || bitmap.IsEmpty()) return;
  Rect d = dst;
  d.Offset(state_.viewport.x, state_.viewport.y);
  EmitBitmap(bitmap, src, d, std::nullopt);
}

void DeviceContext::TransparentBlt(const Rect& dst, const DeviceBitmap& bitmap, const Rect& src, COLORREF key) {
  if (tracing_) {
    Trace("TransparentBlt %d %d %d %d %dx%d %d %d %d %d 0x%06X", dst.left, dst.top, dst.right, dst.bottom,
          bitmap.Width(), bitmap.Height(), src.left, src.top, src.right, src.bottom, key);
  }
  if (dst.Width() == 0 || dst.Height() == 0 || src.IsEmpty() || bitmap.IsEmpty()) return;
  Rect d = dst;
  d.Offset(state_.viewport.x, state_.viewport.y);
  EmitBitmap(bitmap, src, d, key);
}

// ---------------------------------------------------------------- ink

namespace {

// Lines wider and taller than this are told in pieces, so that each piece's box stays close
// to its ink.
constexpr double kInkPiece = 6.0;
constexpr int kCurvePieces = 12;

bool Erases(COLORREF colour) { return (colour & 0xFFFFFF) == 0xFFFFFF; }

}  // namespace

void DeviceContext::NextInkCall() {
  if (inkCallsHeld_ == 0 || !inkCallHeldStarted_) ++inkCall_;
  if (inkCallsHeld_ != 0) inkCallHeldStarted_ = true;
}

void DeviceContext::HoldInkCall(bool hold) {
  if (hold) {
    if (inkCallsHeld_++ == 0) inkCallHeldStarted_ = false;
  } else if (inkCallsHeld_ > 0) {
    --inkCallsHeld_;
  }
}

void DeviceContext::ReportInk(InkItem item) {
  if (item.right < item.left || item.bottom < item.top) return;
  if (state_.clip) {
    const Rect& c = *state_.clip;
    item.clipped = true;
    item.clipLeft = c.left;
    item.clipTop = c.top;
    item.clipRight = c.right;
    item.clipBottom = c.bottom;
  }
  item.source = inkSource_;
  item.group = inkGroup_;
  item.call = inkCall_;
  item.anchor = inkAnchor_;
  inkObserver_->OnInk(item);
}

namespace {

// The outline of a path as straight stretches, its curves cut into equal steps of their
// parameter.
struct Stretch {
  double x0, y0, x1, y1;
  bool curved;
};

std::vector<Stretch> Outline(const PathData& path) {
  std::vector<Stretch> out;
  double cx = 0;
  double cy = 0;
  double startX = 0;
  double startY = 0;
  for (const PathData::Element& e : path.elements) {
    switch (e.op) {
      case PathData::Op::kMove:
        cx = startX = e.x[0];
        cy = startY = e.y[0];
        break;
      case PathData::Op::kLine:
        out.push_back({cx, cy, e.x[0], e.y[0], false});
        cx = e.x[0];
        cy = e.y[0];
        break;
      case PathData::Op::kCurve: {
        double px = cx;
        double py = cy;
        for (int i = 1; i <= kCurvePieces; ++i) {
          const double t = static_cast<double>(i) / kCurvePieces;
          const double u = 1 - t;
          const double x = u * u * u * cx + 3 * u * u * t * e.x[0] + 3 * u * t * t * e.x[1] + t * t * t * e.x[2];
          const double y = u * u * u * cy + 3 * u * u * t * e.y[0] + 3 * u * t * t * e.y[1] + t * t * t * e.y[2];
          out.push_back({px, py, x, y, true});
          px = x;
          py = y;
        }
        cx = e.x[2];
        cy = e.y[2];
        break;
      }
      case PathData::Op::kClose:
        out.push_back({cx, cy, startX, startY, false});
        cx = startX;
        cy = startY;
        break;
    }
  }
  return out;
}

}  // namespace

void DeviceContext::EmitFill(const PathData& path, const Brush& brush, bool evenOdd) {
  NextInkCall();
  if (inkObserver_ != nullptr && brush.kind == Brush::Kind::kSolid && !Erases(brush.colour) && !path.Empty()) {
    InkItem item;
    item.shape = InkShape::kFill;
    item.left = item.top = 1e300;
    item.right = item.bottom = -1e300;
    bool curved = false;
    for (const PathData::Element& e : path.elements) {
      const int points = e.op == PathData::Op::kCurve ? 3 : (e.op == PathData::Op::kClose ? 0 : 1);
      curved = curved || e.op == PathData::Op::kCurve;
      for (int i = 0; i < points; ++i) {
        item.left = std::min(item.left, e.x[i]);
        item.right = std::max(item.right, e.x[i]);
        item.top = std::min(item.top, e.y[i]);
        item.bottom = std::max(item.bottom, e.y[i]);
      }
    }
    // A curved shape wider than a piece (a slur, a tie, a bracket) is told in upright strips,
    // each as high as the outline reaches within it, so that the space a thin curve arches over
    // is not taken for ink.
    const double width = item.right - item.left;
    if (!curved || width <= kInkPiece || !std::isfinite(width)) {
      ReportInk(item);
    } else {
      const std::vector<Stretch> outline = Outline(path);
      // Half pieces: near its ends a curve rises steeply across a strip.
      const int strips = std::clamp(static_cast<int>(std::ceil(2 * width / kInkPiece)), 1, 1024);
      const double stripWidth = width / strips;
      std::vector<std::pair<double, double>> reach(static_cast<size_t>(strips), {1e300, -1e300});
      for (const auto& [x0, y0, x1, y1, curved] : outline) {
        const double lo = std::min(x0, x1);
        const double hi = std::max(x0, x1);
        const int first = std::clamp(static_cast<int>((lo - item.left) / stripWidth), 0, strips - 1);
        const int last = std::clamp(static_cast<int>((hi - item.left) / stripWidth), 0, strips - 1);
        for (int k = first; k <= last; ++k) {
          // The stretch's y where it enters and leaves the strip.
          const double a = std::max(lo, item.left + stripWidth * k);
          const double b = std::min(hi, item.left + stripWidth * (k + 1));
          auto& [top, bottom] = reach[static_cast<size_t>(k)];
          if (x1 == x0) {
            top = std::min({top, y0, y1});
            bottom = std::max({bottom, y0, y1});
            continue;
          }
          for (const double x : {a, b}) {
            const double y = y0 + (y1 - y0) * (x - x0) / (x1 - x0);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
          }
        }
      }
      for (int k = 0; k < strips; ++k) {
        const auto& [top, bottom] = reach[static_cast<size_t>(k)];
        if (top > bottom) continue;
        InkItem strip = item;
        strip.left = item.left + stripWidth * k;
        strip.right = item.left + stripWidth * (k + 1);
        strip.top = top;
        strip.bottom = bottom;
        ReportInk(strip);
      }
    }
  }
  DoFill(path, brush, evenOdd);
}

void DeviceContext::EmitStroke(const PathData& path, const Pen& pen) {
  NextInkCall();
  if (inkObserver_ != nullptr && !Erases(pen.colour)) {
    const double half = pen.PixelWidth() / 2.0;
    auto piece = [&](double x0, double y0, double x1, double y1, InkShape shape) {
      const double dx = x1 - x0;
      const double dy = y1 - y0;
      // An axis-parallel stretch is one item; a slanted one is cut into short pieces.
      int pieces = 1;
      if (std::abs(dx) > 1 && std::abs(dy) > 1) {
        pieces = static_cast<int>(std::ceil(std::min(std::abs(dx), std::abs(dy)) / kInkPiece));
        pieces = std::clamp(pieces, 1, 256);
      }
      for (int i = 0; i < pieces; ++i) {
        const double ax = x0 + dx * i / pieces;
        const double ay = y0 + dy * i / pieces;
        const double bx = x0 + dx * (i + 1) / pieces;
        const double by = y0 + dy * (i + 1) / pieces;
        InkItem item;
        item.shape = shape;
        item.left = std::min(ax, bx) - half;
        item.right = std::max(ax, bx) + half;
        item.top = std::min(ay, by) - half;
        item.bottom = std::max(ay, by) + half;
        ReportInk(item);
      }
    };
    for (const Stretch& stretch : Outline(path)) {
      piece(stretch.x0, stretch.y0, stretch.x1, stretch.y1, stretch.curved ? InkShape::kCurve : InkShape::kLine);
    }
  }
  DoStroke(path, pen);
}

void DeviceContext::EmitGlyphs(const GlyphRun& run, std::string_view text) {
  NextInkCall();
  if (inkObserver_ != nullptr && !Erases(run.colour)) {
    for (const RunPiece& piece : run.pieces) {
      double l = 0;
      double t = 0;
      double r = 0;
      double b = 0;
      InkShape shape = InkShape::kGlyph;
      switch (piece.kind) {
        case RunPiece::Kind::kMusic: {
          const auto& m = MusicFont::Shared().Metrics(piece.codePoint);
          l = piece.x + m.inkLeft * piece.size;
          t = piece.y + m.inkTop * piece.size;
          r = piece.x + m.inkRight * piece.size;
          b = piece.y + m.inkBottom * piece.size;
          break;
        }
        case RunPiece::Kind::kText: {
          const TextInkBox ink = Engine().Ink(piece.face, piece.text);
          if (ink.right <= ink.left) continue;
          l = piece.x + ink.left;
          t = piece.y + ink.top;
          r = piece.x + ink.right;
          b = piece.y + ink.bottom;
          shape = InkShape::kText;
          break;
        }
        case RunPiece::Kind::kShape:
        case RunPiece::Kind::kPlaceholder:
          l = piece.x;
          t = piece.y - piece.height;
          r = piece.x + piece.width;
          b = piece.y;
          break;
      }
      // The corners turned with the run, then placed at its origin.
      double xs[4] = {l, r, r, l};
      double ys[4] = {t, t, b, b};
      InkItem item;
      item.shape = shape;
      item.text = text;
      item.left = item.top = 1e300;
      item.right = item.bottom = -1e300;
      for (int i = 0; i < 4; ++i) {
        Rotate(run.angle, xs[i], ys[i]);
        item.left = std::min(item.left, run.x + xs[i]);
        item.right = std::max(item.right, run.x + xs[i]);
        item.top = std::min(item.top, run.y + ys[i]);
        item.bottom = std::max(item.bottom, run.y + ys[i]);
      }
      ReportInk(item);
    }
  }
  DoGlyphs(run);
}

void DeviceContext::EmitBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                               std::optional<COLORREF> key) {
  NextInkCall();
  if (inkObserver_ != nullptr) {
    InkItem item;
    item.shape = InkShape::kPicture;
    item.left = std::min(dst.left, dst.right);
    item.right = std::max(dst.left, dst.right);
    item.top = std::min(dst.top, dst.bottom);
    item.bottom = std::max(dst.top, dst.bottom);
    ReportInk(item);
  }
  DoBitmap(bitmap, src, dst, key);
}

}  // namespace vornel
