#include "image/codec/native/PLMetafilePlayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <variant>

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

// Map modes.
constexpr int kMapText = 1;
constexpr int kMapLoMetric = 2;
constexpr int kMapHiMetric = 3;
constexpr int kMapLoEnglish = 4;
constexpr int kMapHiEnglish = 5;
constexpr int kMapTwips = 6;
constexpr int kMapIsotropic = 7;

// Text output options.
constexpr uint32_t kEtoOpaque = 0x2;
constexpr uint32_t kEtoClipped = 0x4;

// Raster operations that need more than copying a source.
constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kBlackness = 0x00000042;
constexpr uint32_t kWhiteness = 0x00FF0062;
constexpr uint32_t kDstCopy = 0x00AA0029;

// Farther than any page: coordinates are clamped here before they become device integers.
constexpr double kCoordinateLimit = 1 << 24;

// The bytes of one record, read with bounds: reading beyond its end marks it short and
// yields 0, and the record is then passed over.
class Record {
 public:
  explicit Record(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t Size() const { return bytes_.size(); }
  bool Short() const { return short_; }
  bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  uint8_t U8(size_t at) { return Has(at, 1) ? bytes_[at] : Fail(); }
  uint16_t U16(size_t at) { return Has(at, 2) ? PLReadLE16(bytes_.data() + at) : Fail(); }
  int16_t I16(size_t at) { return static_cast<int16_t>(U16(at)); }
  uint32_t U32(size_t at) { return Has(at, 4) ? PLReadLE32(bytes_.data() + at) : Fail(); }
  int32_t I32(size_t at) { return static_cast<int32_t>(U32(at)); }
  float F32(size_t at) {
    const uint32_t bits = U32(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0.0f;
  }
  std::span<const uint8_t> Bytes(size_t at, size_t count) {
    if (!Has(at, count)) {
      short_ = true;
      return {};
    }
    return bytes_.subspan(at, count);
  }

 private:
  uint8_t Fail() {
    short_ = true;
    return 0;
  }
  std::span<const uint8_t> bytes_;
  bool short_ = false;
};

struct DPoint {
  double x = 0;
  double y = 0;
};

// p' = (x m11 + y m21 + dx, x m12 + y m22 + dy)
struct Xform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  DPoint Apply(DPoint p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  // This transform, then `next`.
  Xform Then(const Xform& next) const {
    return {m11 * next.m11 + m12 * next.m21,  m11 * next.m12 + m12 * next.m22,
            m21 * next.m11 + m22 * next.m21,  m21 * next.m12 + m22 * next.m22,
            dx * next.m11 + dy * next.m21 + next.dx, dx * next.m12 + dy * next.m22 + next.dy};
  }
  bool AxisAligned() const { return m12 == 0 && m21 == 0; }
};

struct PenObject {
  uint32_t style = PS_SOLID;
  double width = 0;      // logical units; 0 is one pixel
  bool cosmetic = false;  // width in pixels whatever the mapping
  COLORREF colour = 0;
};
struct BrushObject {
  Brush brush;
};
struct FontObject {
  FontSpec font;  // lfHeight and lfWidth in logical units
};
struct OtherObject {};  // palettes, regions: they hold a slot and nothing else
using Object = std::variant<PenObject, BrushObject, FontObject, OtherObject>;

struct MappingState {
  int mapMode = kMapText;
  DPoint windowOrg;
  DPoint windowExt{1, 1};
  DPoint viewportOrg;
  DPoint viewportExt{1, 1};
  Xform world;
  PenObject pen;
  FontObject font;
  DPoint position;
};

// The pattern of a hatched brush: 8 x 8 pixels of the hatch colour on the background colour.
std::shared_ptr<const DeviceBitmap> HatchPattern(uint32_t hatch, COLORREF colour, COLORREF background) {
  auto bitmap = std::make_shared<DeviceBitmap>(8, 8, background);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool on = false;
      switch (hatch) {
        case 0: on = y == 4; break;                                // horizontal
        case 1: on = x == 4; break;                                // vertical
        case 2: on = x == y; break;                                // forward diagonal
        case 3: on = x == 7 - y; break;                            // backward diagonal
        case 4: on = x == 4 || y == 4; break;                      // cross
        default: on = x == y || x == 7 - y; break;                 // diagonal cross
      }
      if (on) bitmap->SetPixel(x, y, colour);
    }
  }
  return bitmap;
}

// A device-independent bitmap made drawable; empty when the data is not one we read.
std::shared_ptr<DeviceBitmap> BitmapFromDib(std::span<const uint8_t> dib, bool* bottomUp) {
  if (dib.size() < 16) return nullptr;
  PLWinBmp bmp;
  try {
    bmp.CreateFromDIB(dib);
  } catch (const PLTextException&) {
    return nullptr;
  }
  const int width = bmp.GetWidth();
  const int height = bmp.GetHeight();
  if (!DeviceBitmap::ValidSize(width, height)) return nullptr;
  *bottomUp = static_cast<int32_t>(PLReadLE32(dib.data() + 8)) > 0;
  auto bitmap = std::make_shared<DeviceBitmap>(width, height);
  std::vector<PLPixel32> line(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    PLBmp::ExpandLine(bmp.GetLineArray()[y], bmp.GetBitsPerPixel(), bmp.GetPalette(), width, line.data());
    uint32_t* out = bitmap->Data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) out[x] = 0xFF000000u | (uint32_t(line[x].r) << 16) | (uint32_t(line[x].g) << 8) | line[x].b;
  }
  return bitmap;
}

}  // namespace

struct PLMetafilePlayer::Impl {
  explicit Impl(DeviceContext& device) : dc(device) {}

  DeviceContext& dc;
  bool enhanced = false;
  Xform page;  // device (reference) pixels to the page we draw on
  double referencePixelsPerMmX = 96 / 25.4;
  double referencePixelsPerMmY = 96 / 25.4;
  MappingState state;
  std::vector<MappingState> saved;
  std::vector<std::optional<Object>> objects;
  size_t firstFree = 0;
  bool inPath = false;

  // ---- Mapping

  Xform LogicalToDevice() const {
    double sx = 1;
    double sy = 1;
    switch (state.mapMode) {
      case kMapLoMetric: sx = 0.1 * referencePixelsPerMmX; sy = -0.1 * referencePixelsPerMmY; break;
      case kMapHiMetric: sx = 0.01 * referencePixelsPerMmX; sy = -0.01 * referencePixelsPerMmY; break;
      case kMapLoEnglish: sx = 0.254 * referencePixelsPerMmX; sy = -0.254 * referencePixelsPerMmY; break;
      case kMapHiEnglish: sx = 0.0254 * referencePixelsPerMmX; sy = -0.0254 * referencePixelsPerMmY; break;
      case kMapTwips: sx = 25.4 / 1440 * referencePixelsPerMmX; sy = -25.4 / 1440 * referencePixelsPerMmY; break;
      case kMapText: break;
      default: {  // isotropic and anisotropic
        sx = state.windowExt.x != 0 ? state.viewportExt.x / state.windowExt.x : 1;
        sy = state.windowExt.y != 0 ? state.viewportExt.y / state.windowExt.y : 1;
        if (state.mapMode == kMapIsotropic) {
          const double s = std::min(std::fabs(sx), std::fabs(sy));
          sx = std::copysign(s, sx);
          sy = std::copysign(s, sy);
        }
        break;
      }
    }
    const Xform mapping{sx, 0, 0, sy, state.viewportOrg.x - state.windowOrg.x * sx,
                        state.viewportOrg.y - state.windowOrg.y * sy};
    return state.world.Then(mapping).Then(page);
  }

  static int32_t Round(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int32_t>(std::lround(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)));
  }
  Point Dev(DPoint p) const {
    const DPoint d = LogicalToDevice().Apply(p);
    return {Round(d.x), Round(d.y)};
  }
  std::vector<Point> Dev(const std::vector<DPoint>& points) const {
    const Xform t = LogicalToDevice();
    std::vector<Point> out;
    out.reserve(points.size());
    for (const DPoint& p : points) {
      const DPoint d = t.Apply(p);
      out.push_back({Round(d.x), Round(d.y)});
    }
    return out;
  }
  // How long one logical unit is on the page, across and down.
  double ScaleX() const {
    const Xform t = LogicalToDevice();
    return std::hypot(t.m11, t.m12);
  }
  double ScaleY() const {
    const Xform t = LogicalToDevice();
    return std::hypot(t.m21, t.m22);
  }
  Rect DevRect(double l, double t, double r, double b) const {
    const Point a = Dev({l, t});
    const Point c = Dev({r, b});
    Rect rect{a.x, a.y, c.x, c.y};
    rect.Normalize();
    return rect;
  }

  // ---- Objects

  void Store(size_t index, Object object) {
    if (index >= objects.size()) return;
    objects[index] = std::move(object);
  }
  // Plain metafiles put each new object in the lowest free slot. Slots below `firstFree` are
  // taken, so that a long metafile is not searched from the start for each object.
  void StoreInFreeSlot(Object object) {
    for (size_t i = firstFree; i < objects.size(); ++i) {
      if (!objects[i]) {
        objects[i] = std::move(object);
        firstFree = i + 1;
        return;
      }
    }
    firstFree = objects.size();
  }
  // A logical brush: style 1 is hollow, 2 hatched, anything else solid.
  Brush MakeBrush(uint32_t style, COLORREF colour, uint32_t hatch) const {
    if (style == 1) return Brush::Null();
    if (style == 2) return Brush::Pattern(HatchPattern(hatch, colour, dc.GetBkColor()));
    return Brush::Solid(colour);
  }
  void Delete(size_t index) {
    if (index >= objects.size()) return;
    objects[index].reset();
    firstFree = std::min(firstFree, index);
  }

  void RealizePen() {
    const PenObject& p = state.pen;
    const double scale = (ScaleX() + ScaleY()) / 2;
    const auto width = static_cast<int32_t>(std::clamp(p.cosmetic ? p.width : std::lround(p.width * scale) * 1.0, 0.0, 4096.0));
    if (enhanced && (p.style & PS_TYPE_MASK) == PS_GEOMETRIC) {
      dc.SelectPen(Pen::Extended(p.style, std::max(width, 1), p.colour));
    } else {
      dc.SelectPen(Pen::Create(p.style & PS_STYLE_MASK, width, p.colour));
    }
  }
  void RealizeFont() {
    FontSpec font = state.font.font;
    font.lfHeight = static_cast<int32_t>(std::clamp(std::lround(font.lfHeight * ScaleY()), -4096L, 4096L));
    font.lfWidth = static_cast<int32_t>(std::clamp(std::lround(font.lfWidth * ScaleX()), -4096L, 4096L));
    dc.SelectFont(font);
  }
  void Select(size_t index) {
    if (index >= objects.size() || !objects[index]) return;
    const Object& object = *objects[index];
    if (const auto* pen = std::get_if<PenObject>(&object)) {
      state.pen = *pen;
      RealizePen();
    } else if (const auto* brush = std::get_if<BrushObject>(&object)) {
      dc.SelectBrush(brush->brush);
    } else if (const auto* font = std::get_if<FontObject>(&object)) {
      state.font = *font;
      RealizeFont();
    }
  }
  void SelectStock(uint32_t index) {
    switch (index) {
      case 0: dc.SelectBrush(Brush::Solid(0xFFFFFF)); break;
      case 1: dc.SelectBrush(Brush::Solid(0xC0C0C0)); break;
      case 2: dc.SelectBrush(Brush::Solid(0x808080)); break;
      case 3: dc.SelectBrush(Brush::Solid(0x404040)); break;
      case 4: dc.SelectBrush(Brush::Solid(0)); break;
      case 5: dc.SelectBrush(Brush::Null()); break;
      case 6: state.pen = {PS_SOLID, 0, true, 0xFFFFFF}; RealizePen(); break;
      case 7: state.pen = {PS_SOLID, 0, true, 0}; RealizePen(); break;
      case 8: state.pen = {PS_NULL, 0, true, 0}; RealizePen(); break;
      case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        state.font = FontObject{};
        state.font.font.lfFaceName = index == 10 || index == 11 || index == 16 ? "Courier New" : "Arial";
        state.font.font.lfHeight = -12;
        dc.SelectFont(state.font.font);
        break;
      default: break;
    }
  }

  void MappingChanged() {
    // Pens and fonts are realised at the mapping in force; follow changes made after selection.
    RealizePen();
    RealizeFont();
  }

  // ---- Drawing

  // Draws a closed or open outline given in logical points.
  void Shape(const std::vector<DPoint>& points, bool closed) {
    const std::vector<Point> dev = Dev(points);
    if (closed) dc.Polygon(dev);
    else dc.Polyline(dev);
  }

  void Rectangle(double l, double t, double r, double b) {
    if (LogicalToDevice().AxisAligned()) {
      const Rect rect = DevRect(l, t, r, b);
      dc.Rectangle(rect);
    } else {
      Shape({{l, t}, {r, t}, {r, b}, {l, b}}, true);
    }
  }

  static std::vector<DPoint> ArcPoints(double l, double t, double r, double b, double from, double sweep) {
    const double cx = (l + r) / 2;
    const double cy = (t + b) / 2;
    const double rx = std::fabs(r - l) / 2;
    const double ry = std::fabs(b - t) / 2;
    const int steps = std::clamp(static_cast<int>(std::fabs(sweep) / (2 * std::numbers::pi) * 64), 4, 64);
    std::vector<DPoint> points;
    for (int i = 0; i <= steps; ++i) {
      const double a = from + sweep * i / steps;
      points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return points;
  }

  void Ellipse(double l, double t, double r, double b) {
    if (!inPath && LogicalToDevice().AxisAligned()) {
      dc.Ellipse(DevRect(l, t, r, b));
      return;
    }
    std::vector<DPoint> points = ArcPoints(l, t, r, b, 0, 2 * std::numbers::pi);
    points.pop_back();
    Shape(points, true);
  }

  void RoundRect(double l, double t, double r, double b, double w, double h) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const double rx = std::min(std::fabs(w) / 2, (r - l) / 2);
    const double ry = std::min(std::fabs(h) / 2, (b - t) / 2);
    std::vector<DPoint> points;
    const auto corner = [&](double cx, double cy, double start) {
      for (int i = 0; i <= 8; ++i) {
        const double a = start + std::numbers::pi / 2 * i / 8;
        points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
      }
    };
    corner(r - rx, t + ry, 0);
    corner(l + rx, t + ry, std::numbers::pi / 2);
    corner(l + rx, b - ry, std::numbers::pi);
    corner(r - rx, b - ry, 3 * std::numbers::pi / 2);
    Shape(points, true);
  }

  // Arc, chord (closed by a chord) or pie (closed through the centre); counter-clockwise from
  // the radial through the start point to the one through the end point.
  void ArcFigure(double l, double t, double r, double b, DPoint start, DPoint end, int kind) {
    const double cx = (l + r) / 2;
    const double cy = (t + b) / 2;
    const double a0 = std::atan2(cy - start.y, start.x - cx);
    double a1 = std::atan2(cy - end.y, end.x - cx);
    if (a1 <= a0) a1 += 2 * std::numbers::pi;
    std::vector<DPoint> points = ArcPoints(l, t, r, b, a0, a1 - a0);
    if (kind == 0) {
      Shape(points, false);
      return;
    }
    if (kind == 2) points.push_back({cx, cy});
    Shape(points, true);
  }

  void PolyPolygon(const std::vector<std::vector<DPoint>>& polygons) {
    const bool own = !inPath;
    if (own) dc.BeginPath();
    for (const auto& polygon : polygons) {
      if (polygon.size() >= 2) dc.Polygon(Dev(polygon));
    }
    if (own) {
      dc.EndPath();
      dc.StrokeAndFillPath();
    }
  }

  void Text(double x, double y, const std::string& text, uint32_t options, const std::optional<std::array<double, 4>>& box) {
    if (box && (options & kEtoOpaque)) dc.FillSolidRect(DevRect((*box)[0], (*box)[1], (*box)[2], (*box)[3]), dc.GetBkColor());
    const bool clip = box && (options & kEtoClipped);
    if (clip) {
      dc.SaveDC();
      dc.IntersectClipRect(DevRect((*box)[0], (*box)[1], (*box)[2], (*box)[3]));
    }
    if (!text.empty()) {
      const Point p = (dc.GetTextAlign() & TA_UPDATECP) ? dc.GetCurrentPosition() : Dev({x, y});
      dc.TextOut(p.x, p.y, text);
    }
    if (clip) dc.RestoreDC();
  }

  void StretchDib(double x, double y, double w, double h, int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH,
                  std::span<const uint8_t> dib, uint32_t rop) {
    if (rop == kDstCopy) return;
    bool bottomUp = true;
    const std::shared_ptr<DeviceBitmap> bitmap = BitmapFromDib(dib, &bottomUp);
    if (!bitmap) return;
    if (srcW <= 0) srcW = bitmap->Width();
    if (srcH <= 0) srcH = bitmap->Height();
    // Source rows of a bottom-up bitmap count from its last line.
    const int64_t top = bottomUp ? int64_t(bitmap->Height()) - srcY - srcH : srcY;
    const auto within = [](int64_t v, int32_t limit) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, limit)); };
    const Rect src{within(srcX, bitmap->Width()), within(top, bitmap->Height()),
                   within(int64_t(srcX) + srcW, bitmap->Width()), within(top + srcH, bitmap->Height())};
    const Rect dst = DevRect(x, y, x + w, y + h);
    if (src.IsEmpty() || dst.IsEmpty()) return;
    dc.StretchBlt(dst, *bitmap, src);
  }

  void PatBlt(double x, double y, double w, double h, uint32_t rop) {
    const Rect rect = DevRect(x, y, x + w, y + h);
    if (rop == kPatCopy) dc.FillRect(rect, dc.GetBrush());
    else if (rop == kBlackness) dc.FillSolidRect(rect, 0);
    else if (rop == kWhiteness) dc.FillSolidRect(rect, 0xFFFFFF);
  }

  // Saves nest at most this deep; deeper ones are not kept (a hostile file must not take
  // memory for each of millions of saves).
  static constexpr size_t kMaxSaves = 1024;

  void SaveDC() {
    if (saved.size() >= kMaxSaves) return;
    saved.push_back(state);
    dc.SaveDC();
  }
  void RestoreDC(int relative) {
    // Only relative restores are played: -1 is the last save.
    if (relative >= 0 || saved.empty()) return;
    const size_t back = std::min(saved.size(), static_cast<size_t>(-static_cast<int64_t>(relative)));
    state = saved[saved.size() - back];
    saved.resize(saved.size() - back);
    dc.RestoreDC(-static_cast<int>(back));
    MappingChanged();
  }

  void Reset(bool isEnhanced, size_t objectCount) {
    enhanced = isEnhanced;
    state = MappingState{};
    saved.clear();
    objects.assign(objectCount, std::nullopt);
    firstFree = 0;
    dc.SelectStockPen(StockObject::kBlackPen);
    dc.SelectStockBrush(StockObject::kWhiteBrush);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(0xFFFFFF);
    dc.SetTextColor(0);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SetPolyFillMode(ALTERNATE);
    state.font.font.lfFaceName = "Arial";
    state.font.font.lfHeight = -12;
  }

  void PlayWmfRecord(uint16_t function, Record& r);
  void PlayEmfRecord(uint32_t type, Record& r);
  static std::vector<DPoint> Points16(Record& r, size_t at, size_t count);
  static std::vector<DPoint> Points32(Record& r, size_t at, size_t count);
};

std::vector<DPoint> PLMetafilePlayer::Impl::Points16(Record& r, size_t at, size_t count) {
  std::vector<DPoint> points;
  if (!r.Has(at, count * 4)) {
    r.Bytes(at, count * 4);  // marks the record short
    return points;
  }
  points.reserve(count);
  for (size_t i = 0; i < count; ++i) points.push_back({double(r.I16(at + 4 * i)), double(r.I16(at + 4 * i + 2))});
  return points;
}

std::vector<DPoint> PLMetafilePlayer::Impl::Points32(Record& r, size_t at, size_t count) {
  std::vector<DPoint> points;
  if (!r.Has(at, count * 8)) {
    r.Bytes(at, count * 8);
    return points;
  }
  points.reserve(count);
  for (size_t i = 0; i < count; ++i) points.push_back({double(r.I32(at + 8 * i)), double(r.I32(at + 8 * i + 4))});
  return points;
}

PLMetafilePlayer::PLMetafilePlayer(DeviceContext& dc) : impl_(std::make_unique<Impl>(dc)) {}

PLMetafilePlayer::~PLMetafilePlayer() = default;

// ------------------------------------------------------------------ plain metafiles

namespace {

constexpr size_t kWmfHeaderSize = 18;

// Each record: size in 16-bit words (u32), function (u16), parameters. Calls `play` for
// each until the end record or a record that does not fit.
template <class Play>
void ForEachWmfRecord(std::span<const uint8_t> data, Play&& play) {
  size_t at = kWmfHeaderSize;
  while (at + 6 <= data.size()) {
    const uint64_t size = uint64_t(PLReadLE32(data.data() + at)) * 2;
    const uint16_t function = PLReadLE16(data.data() + at + 4);
    if (function == 0 || size < 6 || size > data.size() - at) break;
    Record record(data.subspan(at + 6, static_cast<size_t>(size - 6)));
    if (!play(function, record)) break;
    at += static_cast<size_t>(size);
  }
}

}  // namespace

std::optional<PLMetafilePlayer::Frame> PLMetafilePlayer::FindWmfWindow(std::span<const uint8_t> records) {
  std::optional<DPoint> org;
  std::optional<DPoint> ext;
  ForEachWmfRecord(records, [&](uint16_t function, Record& r) {
    if (function == 0x20B && !org) org = DPoint{double(r.I16(2)), double(r.I16(0))};
    if (function == 0x20C && !ext) ext = DPoint{double(r.I16(2)), double(r.I16(0))};
    return !(org && ext);
  });
  if (!ext || ext->x == 0 || ext->y == 0) return std::nullopt;
  const DPoint o = org.value_or(DPoint{});
  return Frame{o.x, o.y, ext->x, ext->y};
}

std::optional<PLMetafilePlayer::Placeable> PLMetafilePlayer::ReadPlaceable(std::span<const uint8_t> data,
                                                                           bool* truncated) {
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr size_t kPlaceableSize = 22;
  if (truncated != nullptr) *truncated = false;
  if (data.size() < 4 || PLReadLE32(data.data()) != kPlaceableKey) return std::nullopt;
  if (data.size() < kPlaceableSize) {
    if (truncated != nullptr) *truncated = true;
    return std::nullopt;
  }
  const auto i16 = [&](size_t at) { return static_cast<int16_t>(PLReadLE16(data.data() + at)); };
  return Placeable{i16(6), i16(8), i16(10), i16(12), PLReadLE16(data.data() + 14), data.subspan(kPlaceableSize)};
}

bool PLMetafilePlayer::IsWmfHeader(std::span<const uint8_t> records) {
  if (records.size() < kWmfHeaderSize) return false;
  const uint16_t type = PLReadLE16(records.data());
  return (type == 1 || type == 2) && PLReadLE16(records.data() + 2) == 9;
}

std::optional<PLMetafilePlayer::EmfReference> PLMetafilePlayer::ReadEmfReference(std::span<const uint8_t> data) {
  constexpr size_t kEmfHeaderSize = 88;
  constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
  if (data.size() < kEmfHeaderSize || PLReadLE32(data.data()) != 1 || PLReadLE32(data.data() + 40) != kEmfSignature) {
    return std::nullopt;
  }
  const auto i32 = [&](size_t at) { return static_cast<int32_t>(PLReadLE32(data.data() + at)); };
  return EmfReference{i32(24), i32(28), i32(32), i32(36), i32(72), i32(76), i32(80), i32(84)};
}

void PLMetafilePlayer::PlayWmf(std::span<const uint8_t> records, const Frame& frame, int width, int height) {
  Impl& m = *impl_;
  const size_t objectCount = records.size() >= kWmfHeaderSize ? PLReadLE16(records.data() + 10) : 0;
  m.Reset(false, objectCount);
  // The frame fills the page: window = frame, viewport = page, whatever the map mode.
  m.state.mapMode = 8;
  m.state.windowOrg = {frame.left, frame.top};
  m.state.windowExt = {frame.width, frame.height};
  m.state.viewportExt = {double(width), double(height)};
  m.page = Xform{};
  m.RealizePen();
  m.RealizeFont();
  size_t played = 0;
  ForEachWmfRecord(records, [&](uint16_t function, Record& r) {
    m.PlayWmfRecord(function, r);
    return ++played < kMaxRecords;
  });
}

void PLMetafilePlayer::Impl::PlayWmfRecord(uint16_t function, Record& r) {
  const auto rect = [&](size_t at) {  // bottom, right, top, left
    return std::array<double, 4>{double(r.I16(at + 6)), double(r.I16(at + 4)), double(r.I16(at + 2)), double(r.I16(at))};
  };
  const auto text8 = [&](size_t at, size_t count) {
    const auto bytes = r.Bytes(at, count);
    return Decode8BitText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  };
  switch (function) {
    case 0x20B:  // SetWindowOrg
      state.windowOrg = {double(r.I16(2)), double(r.I16(0))};
      if (!r.Short()) MappingChanged();
      break;
    case 0x20C:  // SetWindowExt
      state.windowExt = {double(r.I16(2)), double(r.I16(0))};
      if (!r.Short()) MappingChanged();
      break;
    case 0x102: dc.SetBkMode(r.U16(0)); break;
    case 0x201: dc.SetBkColor(r.U32(0) & 0xFFFFFF); break;
    case 0x209: dc.SetTextColor(r.U32(0) & 0xFFFFFF); break;
    case 0x12E: dc.SetTextAlign(r.U16(0)); break;
    case 0x106: dc.SetPolyFillMode(r.U16(0) == 2 ? WINDING : ALTERNATE); break;
    case 0x01E: SaveDC(); break;
    case 0x127: RestoreDC(r.I16(0)); break;
    case 0x214: {  // MoveTo
      const DPoint p{double(r.I16(2)), double(r.I16(0))};
      if (r.Short()) break;
      state.position = p;
      const Point d = Dev(p);
      dc.MoveTo(d.x, d.y);
      break;
    }
    case 0x213: {  // LineTo
      const DPoint p{double(r.I16(2)), double(r.I16(0))};
      if (r.Short()) break;
      state.position = p;
      const Point d = Dev(p);
      dc.LineTo(d.x, d.y);
      break;
    }
    case 0x41B: {
      const auto b = rect(0);
      if (!r.Short()) Rectangle(b[0], b[1], b[2], b[3]);
      break;
    }
    case 0x418: {
      const auto b = rect(0);
      if (!r.Short()) Ellipse(b[0], b[1], b[2], b[3]);
      break;
    }
    case 0x61C: {  // RoundRect: height, width, then the rectangle
      const double h = r.I16(0);
      const double w = r.I16(2);
      const auto b = rect(4);
      if (!r.Short()) RoundRect(b[0], b[1], b[2], b[3], w, h);
      break;
    }
    case 0x817:
    case 0x830:
    case 0x81A: {  // Arc, Chord, Pie: end, start, then the rectangle
      const DPoint end{double(r.I16(2)), double(r.I16(0))};
      const DPoint start{double(r.I16(6)), double(r.I16(4))};
      const auto b = rect(8);
      if (!r.Short()) ArcFigure(b[0], b[1], b[2], b[3], start, end, function == 0x817 ? 0 : function == 0x830 ? 1 : 2);
      break;
    }
    case 0x324:
    case 0x325: {  // Polygon, Polyline
      const auto points = Points16(r, 2, r.U16(0));
      if (!r.Short() && points.size() >= 2) Shape(points, function == 0x324);
      break;
    }
    case 0x538: {  // PolyPolygon
      const size_t count = r.U16(0);
      std::vector<std::vector<DPoint>> polygons;
      size_t at = 2 + 2 * count;
      for (size_t i = 0; i < count && !r.Short(); ++i) {
        const size_t n = r.U16(2 + 2 * i);
        polygons.push_back(Points16(r, at, n));
        at += 4 * n;
      }
      if (!r.Short()) PolyPolygon(polygons);
      break;
    }
    case 0x521: {  // TextOut: count, string (padded to a word), y, x
      const size_t count = r.U16(0);
      const size_t after = 2 + (count + 1) / 2 * 2;
      const std::string text = text8(2, count);
      const DPoint p{double(r.I16(after + 2)), double(r.I16(after))};
      if (!r.Short()) Text(p.x, p.y, text, 0, std::nullopt);
      break;
    }
    case 0xA32: {  // ExtTextOut: y, x, count, options, [rectangle], string
      const DPoint p{double(r.I16(2)), double(r.I16(0))};
      const size_t count = r.U16(4);
      const uint32_t options = r.U16(6);
      size_t at = 8;
      std::optional<std::array<double, 4>> box;
      if (options & (kEtoOpaque | kEtoClipped)) {
        box = std::array<double, 4>{double(r.I16(8)), double(r.I16(10)), double(r.I16(12)), double(r.I16(14))};
        at += 8;
      }
      const std::string text = text8(at, count);
      if (!r.Short()) Text(p.x, p.y, text, options, box);
      break;
    }
    case 0x61D: {  // PatBlt: rop, height, width, y, x
      const uint32_t rop = r.U32(0);
      const double h = r.I16(4);
      const double w = r.I16(6);
      const DPoint p{double(r.I16(10)), double(r.I16(8))};
      if (!r.Short()) PatBlt(p.x, p.y, w, h, rop);
      break;
    }
    case 0x416: {  // IntersectClipRect
      const auto b = rect(0);
      if (!r.Short()) dc.IntersectClipRect(DevRect(b[0], b[1], b[2], b[3]));
      break;
    }
    case 0xF43: {  // StretchDIB: rop, usage, source h, w, y, x, destination h, w, y, x, DIB
      const uint32_t rop = r.U32(0);
      const int32_t srcH = r.I16(6), srcW = r.I16(8), srcY = r.I16(10), srcX = r.I16(12);
      const double h = r.I16(14), w = r.I16(16), y = r.I16(18), x = r.I16(20);
      if (!r.Short()) StretchDib(x, y, w, h, srcX, srcY, srcW, srcH, r.Bytes(22, r.Size() - std::min<size_t>(22, r.Size())), rop);
      break;
    }
    case 0xB41: {  // DIBStretchBlt: rop, source h, w, y, x, destination h, w, y, x, DIB
      const uint32_t rop = r.U32(0);
      const int32_t srcH = r.I16(4), srcW = r.I16(6), srcY = r.I16(8), srcX = r.I16(10);
      const double h = r.I16(12), w = r.I16(14), y = r.I16(16), x = r.I16(18);
      if (r.Short()) break;
      if (r.Size() <= 22) PatBlt(x, y, w, h, rop);
      else StretchDib(x, y, w, h, srcX, srcY, srcW, srcH, r.Bytes(20, r.Size() - 20), rop);
      break;
    }
    case 0x940: {  // DIBBitBlt: rop, source y, x, height, width, destination y, x, DIB
      const uint32_t rop = r.U32(0);
      const int32_t srcY = r.I16(4), srcX = r.I16(6);
      const double h = r.I16(8), w = r.I16(10), y = r.I16(12), x = r.I16(14);
      if (r.Short()) break;
      if (r.Size() <= 18) PatBlt(x, y, w, h, rop);
      else StretchDib(x, y, w, h, srcX, srcY, static_cast<int32_t>(w), static_cast<int32_t>(h), r.Bytes(16, r.Size() - 16), rop);
      break;
    }
    case 0xD33: {  // SetDIBitsToDevice: usage, scans, start, source y, x, height, width, destination y, x, DIB
      const int32_t srcY = r.I16(6), srcX = r.I16(8);
      const double h = r.I16(10), w = r.I16(12), y = r.I16(14), x = r.I16(16);
      if (!r.Short() && r.Size() > 18) {
        StretchDib(x, y, w, h, srcX, srcY, static_cast<int32_t>(w), static_cast<int32_t>(h), r.Bytes(18, r.Size() - 18), 0xCC0020);
      }
      break;
    }
    case 0x2FA: {  // CreatePenIndirect: style, width (x, y), colour
      PenObject pen{r.U16(0), double(r.I16(2)), false, r.U32(6) & 0xFFFFFF};
      StoreInFreeSlot(pen);
      break;
    }
    case 0x2FC: {  // CreateBrushIndirect: style, colour, hatch
      StoreInFreeSlot(BrushObject{MakeBrush(r.U16(0), r.U32(2) & 0xFFFFFF, r.U16(6))});
      break;
    }
    case 0x142: {  // DIBCreatePatternBrush: style, usage, DIB
      bool bottomUp = true;
      const auto bitmap = BitmapFromDib(r.Bytes(4, r.Size() - std::min<size_t>(4, r.Size())), &bottomUp);
      StoreInFreeSlot(BrushObject{bitmap ? Brush::Pattern(bitmap) : Brush::Solid(0)});
      break;
    }
    case 0x2FB: {  // CreateFontIndirect
      FontObject font;
      font.font.lfHeight = r.I16(0);
      font.font.lfWidth = r.I16(2);
      font.font.lfEscapement = r.I16(4);
      font.font.lfOrientation = r.I16(6);
      font.font.lfWeight = r.I16(8);
      font.font.lfItalic = r.U8(10);
      font.font.lfUnderline = r.U8(11);
      font.font.lfStrikeOut = r.U8(12);
      font.font.lfCharSet = r.U8(13);
      font.font.lfPitchAndFamily = r.U8(17);
      const size_t nameBytes = r.Size() > 18 ? std::min<size_t>(32, r.Size() - 18) : 0;
      std::string name = text8(18, nameBytes);
      name = name.substr(0, name.find('\0'));
      font.font.lfFaceName = name.empty() ? "Arial" : name;
      StoreInFreeSlot(font);
      break;
    }
    case 0x0F7:   // CreatePalette
    case 0x1F9:   // CreatePatternBrush
    case 0x6FF:   // CreateRegion
      StoreInFreeSlot(OtherObject{});
      break;
    case 0x12D: Select(r.U16(0)); break;
    case 0x1F0: Delete(r.U16(0)); break;
    default:
      break;  // map mode, viewport, palettes, raster operations, escapes: nothing to draw
  }
}

// ------------------------------------------------------------------ enhanced metafiles

void PLMetafilePlayer::PlayEmf(std::span<const uint8_t> records, const EmfReference& ref, int width, int height) {
  Impl& m = *impl_;
  const size_t handles = records.size() >= 58 ? PLReadLE16(records.data() + 56) : 0;
  m.Reset(true, handles);
  if (ref.deviceMillimetresX > 0 && ref.devicePixelsX > 0) {
    m.referencePixelsPerMmX = double(ref.devicePixelsX) / ref.deviceMillimetresX;
  }
  if (ref.deviceMillimetresY > 0 && ref.devicePixelsY > 0) {
    m.referencePixelsPerMmY = double(ref.devicePixelsY) / ref.deviceMillimetresY;
  }
  // The frame, in reference pixels, fills the page.
  const double left = ref.frameLeft / 100.0 * m.referencePixelsPerMmX;
  const double top = ref.frameTop / 100.0 * m.referencePixelsPerMmY;
  const double frameWidth = (double(ref.frameRight) - ref.frameLeft) / 100.0 * m.referencePixelsPerMmX;
  const double frameHeight = (double(ref.frameBottom) - ref.frameTop) / 100.0 * m.referencePixelsPerMmY;
  const double sx = frameWidth > 0 ? width / frameWidth : 1;
  const double sy = frameHeight > 0 ? height / frameHeight : 1;
  m.page = Xform{sx, 0, 0, sy, -left * sx, -top * sy};
  m.RealizePen();
  m.RealizeFont();

  size_t at = 0;
  for (size_t played = 0; at + 8 <= records.size() && played < kMaxRecords; ++played) {
    const uint32_t type = PLReadLE32(records.data() + at);
    const uint32_t size = PLReadLE32(records.data() + at + 4);
    if (size < 8 || size % 4 != 0 || size > records.size() - at) break;
    Record record(records.subspan(at, size));
    if (type == 14) break;  // EOF
    m.PlayEmfRecord(type, record);
    at += size;
  }
}

void PLMetafilePlayer::Impl::PlayEmfRecord(uint32_t type, Record& r) {
  const auto point = [&](size_t at) { return DPoint{double(r.I32(at)), double(r.I32(at + 4))}; };
  const auto box = [&](size_t at) {
    return std::array<double, 4>{double(r.I32(at)), double(r.I32(at + 4)), double(r.I32(at + 8)), double(r.I32(at + 12))};
  };
  // The DIB of a bitmap record: header and bits, which the record keeps apart.
  const auto dib = [&](size_t offBmi, size_t cbBmi, size_t offBits, size_t cbBits) {
    std::vector<uint8_t> packed;
    const auto header = r.Bytes(offBmi, cbBmi);
    const auto bits = r.Bytes(offBits, cbBits);
    if (r.Short() || header.empty()) return packed;
    packed.reserve(header.size() + bits.size());
    packed.insert(packed.end(), header.begin(), header.end());
    packed.insert(packed.end(), bits.begin(), bits.end());
    return packed;
  };
  switch (type) {
    case 9: state.windowExt = point(8); if (!r.Short()) MappingChanged(); break;
    case 10: state.windowOrg = point(8); if (!r.Short()) MappingChanged(); break;
    case 11: state.viewportExt = point(8); if (!r.Short()) MappingChanged(); break;
    case 12: state.viewportOrg = point(8); if (!r.Short()) MappingChanged(); break;
    case 17: state.mapMode = static_cast<int>(r.U32(8)); MappingChanged(); break;
    case 18: dc.SetBkMode(static_cast<int>(r.U32(8))); break;
    case 19: dc.SetPolyFillMode(r.U32(8) == 2 ? WINDING : ALTERNATE); break;
    case 22: dc.SetTextAlign(r.U32(8)); break;
    case 24: dc.SetTextColor(r.U32(8) & 0xFFFFFF); break;
    case 25: dc.SetBkColor(r.U32(8) & 0xFFFFFF); break;
    case 33: SaveDC(); break;
    case 34: RestoreDC(r.I32(8)); break;
    case 35:
    case 36: {  // SetWorldTransform, ModifyWorldTransform
      const Xform x{r.F32(8), r.F32(12), r.F32(16), r.F32(20), r.F32(24), r.F32(28)};
      if (r.Short()) break;
      const uint32_t mode = type == 35 ? 4 : r.U32(32);
      if (mode == 1) state.world = Xform{};
      else if (mode == 2) state.world = x.Then(state.world);
      else if (mode == 3) state.world = state.world.Then(x);
      else if (mode == 4) state.world = x;
      MappingChanged();
      break;
    }
    case 27: {  // MoveToEx
      const DPoint p = point(8);
      if (r.Short()) break;
      state.position = p;
      const Point d = Dev(p);
      dc.MoveTo(d.x, d.y);
      break;
    }
    case 54: {  // LineTo
      const DPoint p = point(8);
      if (r.Short()) break;
      state.position = p;
      const Point d = Dev(p);
      dc.LineTo(d.x, d.y);
      break;
    }
    case 43: { const auto b = box(8); if (!r.Short()) Rectangle(b[0], b[1], b[2], b[3]); break; }
    case 42: { const auto b = box(8); if (!r.Short()) Ellipse(b[0], b[1], b[2], b[3]); break; }
    case 44: {
      const auto b = box(8);
      const DPoint corner = point(24);
      if (!r.Short()) RoundRect(b[0], b[1], b[2], b[3], corner.x, corner.y);
      break;
    }
    case 45:
    case 46:
    case 47:
    case 55: {  // Arc, Chord, Pie, ArcTo
      const auto b = box(8);
      const DPoint start = point(24);
      const DPoint end = point(32);
      if (r.Short()) break;
      ArcFigure(b[0], b[1], b[2], b[3], start, end, type == 46 ? 1 : type == 47 ? 2 : 0);
      break;
    }
    case 2: case 3: case 4: case 5: case 6:
    case 85: case 86: case 87: case 88: case 89: {
      // Poly shapes: bounds, count, points (32-bit, or 16-bit from 85 on).
      const size_t count = r.U32(24);
      const bool small = type >= 85;
      std::vector<DPoint> points = small ? Points16(r, 28, count) : Points32(r, 28, count);
      if (r.Short() || points.empty()) break;
      const uint32_t kind = small ? type - 83 : type;  // 85..89 play as 2..6
      if (kind == 3 || kind == 4) {
        if (points.size() >= 2) Shape(points, kind == 3);
      } else if (kind == 2) {
        dc.PolyBezier(Dev(points));
      } else if (kind == 5) {
        dc.PolyBezierTo(Dev(points));
      } else {
        for (const Point& p : Dev(points)) dc.LineTo(p.x, p.y);
      }
      if (kind == 5 || kind == 6) state.position = points.back();
      break;
    }
    case 7: case 8: case 90: case 91: {  // PolyPolyline, PolyPolygon
      const size_t polys = r.U32(24);
      const bool small = type >= 90;
      if (!r.Has(32, polys * 4)) break;
      std::vector<std::vector<DPoint>> shapes;
      size_t at = 32 + 4 * polys;
      for (size_t i = 0; i < polys && !r.Short(); ++i) {
        const size_t n = r.U32(32 + 4 * i);
        shapes.push_back(small ? Points16(r, at, n) : Points32(r, at, n));
        at += n * (small ? 4 : 8);
      }
      if (r.Short()) break;
      if (type == 8 || type == 91) {
        PolyPolygon(shapes);
      } else {
        for (const auto& shape : shapes) {
          if (shape.size() >= 2) Shape(shape, false);
        }
      }
      break;
    }
    case 59: dc.BeginPath(); inPath = true; break;
    case 60: dc.EndPath(); inPath = false; break;
    case 61: dc.CloseFigure(); break;
    case 62: dc.FillPath(); break;
    case 63: dc.StrokeAndFillPath(); break;
    case 64: dc.StrokePath(); break;
    case 67:
    case 68: dc.AbortPath(); inPath = false; break;  // a path as clip is not played
    case 30: { const auto b = box(8); if (!r.Short()) dc.IntersectClipRect(DevRect(b[0], b[1], b[2], b[3])); break; }
    case 75: {  // ExtSelectClipRgn: a copy of no region removes the clip
      if (r.U32(8) == 0 && r.U32(12) == 5) dc.SelectClipRect(nullptr);
      break;
    }
    case 83:
    case 84: {  // ExtTextOutA, ExtTextOutW: bounds, mode, scales, then the text record
      const DPoint reference = point(36);
      const size_t count = r.U32(44);
      const size_t offString = r.U32(48);
      const uint32_t options = r.U32(52);
      const auto rect = box(56);
      if (r.Short()) break;
      std::string text;
      if (type == 84) {
        const auto bytes = r.Bytes(offString, count * 2);
        if (r.Short()) break;
        std::u16string wide(count, u'\0');
        for (size_t i = 0; i < count; ++i) wide[i] = static_cast<char16_t>(PLReadLE16(bytes.data() + 2 * i));
        text = WideToUtf8(wide);
      } else {
        const auto bytes = r.Bytes(offString, count);
        text = Decode8BitText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      }
      if (r.Short()) break;
      const bool boxed = (options & (kEtoOpaque | kEtoClipped)) && rect[2] > rect[0] && rect[3] > rect[1];
      Text(reference.x, reference.y, text, options, boxed ? std::optional(rect) : std::nullopt);
      break;
    }
    case 76:
    case 77: {  // BitBlt, StretchBlt: destination, rop, source point, ..., the bitmap
      const DPoint p = point(24);
      const DPoint size = point(32);
      const uint32_t rop = r.U32(40);
      const int32_t srcX = r.I32(44), srcY = r.I32(48);
      const size_t offBmi = r.U32(84), cbBmi = r.U32(88), offBits = r.U32(92), cbBits = r.U32(96);
      const int32_t srcW = type == 77 ? r.I32(100) : static_cast<int32_t>(size.x);
      const int32_t srcH = type == 77 ? r.I32(104) : static_cast<int32_t>(size.y);
      if (r.Short()) break;
      if (cbBmi == 0) PatBlt(p.x, p.y, size.x, size.y, rop);
      else StretchDib(p.x, p.y, size.x, size.y, srcX, srcY, srcW, srcH, dib(offBmi, cbBmi, offBits, cbBits), rop);
      break;
    }
    case 81: {  // StretchDIBits
      const DPoint p = point(24);
      const int32_t srcX = r.I32(32), srcY = r.I32(36), srcW = r.I32(40), srcH = r.I32(44);
      const size_t offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60);
      const uint32_t rop = r.U32(68);
      const double w = r.I32(72), h = r.I32(76);
      if (!r.Short()) StretchDib(p.x, p.y, w, h, srcX, srcY, srcW, srcH, dib(offBmi, cbBmi, offBits, cbBits), rop);
      break;
    }
    case 80: {  // SetDIBitsToDevice
      const DPoint p = point(24);
      const int32_t srcX = r.I32(32), srcY = r.I32(36), srcW = r.I32(40), srcH = r.I32(44);
      const size_t offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60);
      if (!r.Short()) StretchDib(p.x, p.y, srcW, srcH, srcX, srcY, srcW, srcH, dib(offBmi, cbBmi, offBits, cbBits), 0xCC0020);
      break;
    }
    case 38: {  // CreatePen: index, style, width (x, y), colour
      const size_t index = r.U32(8);
      PenObject pen{r.U32(12), double(r.I32(16)), false, r.U32(24) & 0xFFFFFF};
      if (!r.Short()) Store(index, pen);
      break;
    }
    case 95: {  // ExtCreatePen: index, bitmap offsets, style, width, brush style, colour
      const size_t index = r.U32(8);
      const uint32_t style = r.U32(28);
      PenObject pen{style, double(r.U32(32)), (style & PS_TYPE_MASK) == PS_COSMETIC, r.U32(40) & 0xFFFFFF};
      if (r.U32(36) == 1) pen.style = (style & ~PS_STYLE_MASK) | PS_NULL;  // a hollow brush draws nothing
      if (!r.Short()) Store(index, pen);
      break;
    }
    case 39: {  // CreateBrushIndirect: index, style, colour, hatch
      const size_t index = r.U32(8);
      const Brush brush = MakeBrush(r.U32(12), r.U32(16) & 0xFFFFFF, r.U32(20));
      if (!r.Short()) Store(index, BrushObject{brush});
      break;
    }
    case 93:
    case 94: {  // CreateMonoBrush, CreateDIBPatternBrushPt: index, usage, bitmap
      const size_t index = r.U32(8);
      const auto packed = dib(r.U32(16), r.U32(20), r.U32(24), r.U32(28));
      bool bottomUp = true;
      const auto bitmap = BitmapFromDib(packed, &bottomUp);
      Store(index, BrushObject{bitmap ? Brush::Pattern(bitmap) : Brush::Solid(0)});
      break;
    }
    case 82: {  // ExtCreateFontIndirectW: index, LOGFONTW
      const size_t index = r.U32(8);
      FontObject font;
      font.font.lfHeight = r.I32(12);
      font.font.lfWidth = r.I32(16);
      font.font.lfEscapement = r.I32(20);
      font.font.lfOrientation = r.I32(24);
      font.font.lfWeight = r.I32(28);
      font.font.lfItalic = r.U8(32);
      font.font.lfUnderline = r.U8(33);
      font.font.lfStrikeOut = r.U8(34);
      font.font.lfCharSet = r.U8(35);
      font.font.lfPitchAndFamily = r.U8(39);
      std::u16string name;
      for (size_t i = 0; i < 32 && r.Has(40 + 2 * i, 2); ++i) {
        const char16_t c = static_cast<char16_t>(r.U16(40 + 2 * i));
        if (c == 0) break;
        name += c;
      }
      font.font.lfFaceName = name.empty() ? "Arial" : WideToUtf8(name);
      if (!r.Short()) Store(index, font);
      break;
    }
    case 49: Store(r.U32(8), OtherObject{}); break;  // CreatePalette
    case 37: {  // SelectObject
      const uint32_t index = r.U32(8);
      if (index & 0x80000000u) SelectStock(index & 0x7FFFFFFFu);
      else Select(index);
      break;
    }
    case 40: Delete(r.U32(8)); break;
    default:
      break;  // comments, palettes, raster operations and the rest draw nothing here
  }
}

}  // namespace vornel
