#include "platform/draw/CairoDevice.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "platform/draw/MusicFont.h"
#include "platform/io/FileIO.h"

namespace vornel {

namespace {

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// The dash pattern of a pen style, in pixels.
std::vector<double> Dashes(const Pen& pen) {
  const double w = pen.PixelWidth();
  switch (pen.BaseStyle()) {
    case PS_DASH:
      return {18 * w, 6 * w};
    case PS_DOT:
      return {3 * w, 3 * w};
    case PS_DASHDOT:
      return {9 * w, 6 * w, 3 * w, 6 * w};
    case PS_DASHDOTDOT:
      return {9 * w, 3 * w, 3 * w, 3 * w, 3 * w, 3 * w};
    case PS_ALTERNATE:
      return {1, 1};
    case PS_USERSTYLE: {
      std::vector<double> dashes;
      for (uint32_t d : pen.dashes) dashes.push_back(std::min<double>(d, 100000));
      if (dashes.size() % 2 == 1) dashes.push_back(dashes.back());
      bool any = false;
      for (double d : dashes) any = any || d > 0;
      if (!any) dashes.clear();
      return dashes;
    }
    default:
      return {};
  }
}

// A Cairo surface over the bitmap's pixels (same layout, no copy); the caller destroys it.
cairo_surface_t* SurfaceOf(const DeviceBitmap& bitmap) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bitmap.Data())),
                                             CAIRO_FORMAT_ARGB32, bitmap.Width(), bitmap.Height(), bitmap.Stride());
}

}  // namespace

CairoTarget::CairoTarget(CairoTarget&& other) noexcept
    : surface(other.surface), cr(other.cr), stream(std::move(other.stream)) {
  other.surface = nullptr;
  other.cr = nullptr;
}

CairoTarget::~CairoTarget() {
  if (cr != nullptr) cairo_destroy(cr);
  if (surface != nullptr) cairo_surface_destroy(surface);
}

CairoDevice::CairoDevice(cairo_t* cr, int32_t dpiX, int32_t dpiY, bool printing)
    : DeviceContext(dpiX, dpiY, printing, PangoTextEngine::Shared()), cr_(cr) {
  cairo_save(cr_);
  cairo_clip_extents(cr_, &baseClip_[0], &baseClip_[1], &baseClip_[2], &baseClip_[3]);
  std::copy(std::begin(baseClip_), std::end(baseClip_), std::begin(clip_));
  // Unhinted glyphs, so that the screen, PNG and PDF place them alike.
  fontOptions_ = cairo_font_options_create();
  cairo_font_options_set_hint_style(fontOptions_, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fontOptions_, CAIRO_HINT_METRICS_OFF);
}

CairoDevice::~CairoDevice() {
  cairo_restore(cr_);
  cairo_font_options_destroy(fontOptions_);
}

void CairoDevice::SetColour(COLORREF colour) {
  cairo_set_source_rgb(cr_, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
}

namespace {

// Where an unrotated run can leave ink, in device pixels: a music glyph or a shape a few em
// round its origin, a line of text its advance and a few em round it. None for a rotated run
// or a text of several lines.
std::optional<std::array<double, 4>> RunReach(const GlyphRun& run) {
  if (run.angle != 0 || run.pieces.empty()) return std::nullopt;
  std::array<double, 4> box = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
  for (const RunPiece& piece : run.pieces) {
    const bool text = piece.kind == RunPiece::Kind::kText;
    if (text && piece.text.find('\n') != std::string::npos) return std::nullopt;
    const double reach = 3 * std::max({piece.size, piece.face.em, piece.width, piece.height, 1.0});
    box[0] = std::min(box[0], run.x + piece.x - reach);
    box[1] = std::min(box[1], run.y + piece.y - reach);
    box[2] = std::max(box[2], run.x + piece.x + reach + (text ? std::abs(run.advance) : 0));
    box[3] = std::max(box[3], run.y + piece.y + reach);
  }
  return box;
}

}  // namespace

bool CairoDevice::Outside(double x0, double y0, double x1, double y1) const {
  return x1 < clip_[0] || x0 > clip_[2] || y1 < clip_[1] || y0 > clip_[3];
}

bool CairoDevice::PathOutside(const PathData& path, double margin) const {
  if (path.elements.empty()) return false;
  double x0 = std::numeric_limits<double>::max();
  double y0 = x0;
  double x1 = std::numeric_limits<double>::lowest();
  double y1 = x1;
  for (const auto& e : path.elements) {
    const int points = e.op == PathData::Op::kCurve ? 3 : e.op == PathData::Op::kClose ? 0 : 1;
    for (int k = 0; k < points; ++k) {
      x0 = std::min(x0, e.x[k]);
      x1 = std::max(x1, e.x[k]);
      y0 = std::min(y0, e.y[k]);
      y1 = std::max(y1, e.y[k]);
    }
  }
  return x0 <= x1 && Outside(x0 - margin, y0 - margin, x1 + margin, y1 + margin);
}

void CairoDevice::BuildPath(const PathData& path) {
  cairo_new_path(cr_);
  for (const auto& e : path.elements) {
    switch (e.op) {
      case PathData::Op::kMove:
        cairo_move_to(cr_, e.x[0], e.y[0]);
        break;
      case PathData::Op::kLine:
        cairo_line_to(cr_, e.x[0], e.y[0]);
        break;
      case PathData::Op::kCurve:
        cairo_curve_to(cr_, e.x[0], e.y[0], e.x[1], e.y[1], e.x[2], e.y[2]);
        break;
      case PathData::Op::kClose:
        cairo_close_path(cr_);
        break;
    }
  }
}

void CairoDevice::DoFill(const PathData& path, const Brush& brush, bool evenOdd) {
  if (brush.IsNull() || PathOutside(path, 2)) return;
  BuildPath(path);
  cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  if (brush.kind == Brush::Kind::kPattern) {
    cairo_surface_t* image = SurfaceOf(*brush.pattern);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr_, pattern);
    cairo_fill(cr_);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(image);
    return;
  }
  SetColour(brush.colour);
  cairo_fill(cr_);
}

void CairoDevice::DoStroke(const PathData& path, const Pen& pen) {
  // A mitre reaches up to five line widths past its corner (Cairo's mitre limit of 10).
  if (PathOutside(path, 5 * pen.PixelWidth() + 2)) return;
  BuildPath(path);
  SetColour(pen.colour);
  cairo_set_line_width(cr_, pen.PixelWidth());
  if (pen.IsGeometric()) {
    switch (pen.style & PS_ENDCAP_MASK) {
      case PS_ENDCAP_SQUARE:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
        break;
      case PS_ENDCAP_FLAT:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        break;
      default:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        break;
    }
    switch (pen.style & PS_JOIN_MASK) {
      case PS_JOIN_BEVEL:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_BEVEL);
        break;
      case PS_JOIN_MITER:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
        break;
      default:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        break;
    }
  } else {
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  }
  const std::vector<double> dashes = Dashes(pen);
  cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
  cairo_stroke(cr_);
  cairo_set_dash(cr_, nullptr, 0, 0);
}

void CairoDevice::DoGlyphs(const GlyphRun& run) {
  if (const std::optional<std::array<double, 4>> reach = RunReach(run)) {
    if (Outside((*reach)[0], (*reach)[1], (*reach)[2], (*reach)[3])) return;
  }
  cairo_save(cr_);
  cairo_translate(cr_, run.x, run.y);
  if (run.angle != 0) cairo_rotate(cr_, -run.angle);
  SetColour(run.colour);
  MusicFont& musicFont = MusicFont::Shared();
  const auto& pieces = run.pieces;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const RunPiece& piece = pieces[i];
    switch (piece.kind) {
      case RunPiece::Kind::kMusic: {
        // Consecutive glyphs of one size go out in one call.
        std::vector<cairo_glyph_t> glyphs;
        size_t j = i;
        for (; j < pieces.size() && pieces[j].kind == RunPiece::Kind::kMusic && pieces[j].size == piece.size; ++j) {
          glyphs.push_back({pieces[j].glyphIndex, pieces[j].x, pieces[j].y});
        }
        i = j - 1;
        if (musicFont.Face() == nullptr) break;
        cairo_set_font_face(cr_, musicFont.Face());
        cairo_set_font_options(cr_, fontOptions_);
        cairo_set_font_size(cr_, piece.size);
        cairo_show_glyphs(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
        break;
      }
      case RunPiece::Kind::kText: {
        PangoTextEngine& engine = PangoTextEngine::Shared();
        const ShapedText& shaped = engine.Shape(piece.face, piece.text);
        const double top = piece.y - shaped.baseline;
        if (shaped.drawnByLayout) {
          double baseline = 0;
          PangoLayout* layout = engine.Layout(piece.face, piece.text, &baseline);
          cairo_move_to(cr_, piece.x, piece.y - baseline);
          pango_cairo_show_layout(cr_, layout);
          cairo_new_path(cr_);
          break;
        }
        // The glyphs the text was shaped into once, as the layout's renderer shows them.
        cairo_save(cr_);
        cairo_translate(cr_, piece.x, top);
        for (const ShapedText::Run& glyphs : shaped.runs) {
          if (glyphs.glyphs.empty()) continue;
          cairo_set_scaled_font(cr_, glyphs.font);
          cairo_show_glyphs(cr_, glyphs.glyphs.data(), static_cast<int>(glyphs.glyphs.size()));
        }
        cairo_restore(cr_);
        break;
      }
      case RunPiece::Kind::kShape: {
        const double x = piece.x;
        const double y = piece.y;
        const double w = piece.width;
        const double h = piece.height;
        cairo_set_line_width(cr_, std::max(1.0, h * 0.12));
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_new_path(cr_);
        switch (piece.shape) {
          case GlyphShape::kSlantedStroke:
            cairo_move_to(cr_, x + 0.15 * w, y);
            cairo_line_to(cr_, x + 0.85 * w, y - h);
            break;
          case GlyphShape::kCurvedStroke:
            cairo_move_to(cr_, x + 0.1 * w, y);
            cairo_curve_to(cr_, x + 0.15 * w, y - 0.6 * h, x + 0.5 * w, y - h, x + 0.9 * w, y - h);
            break;
          case GlyphShape::kWavyStroke:
            cairo_move_to(cr_, x, y - 0.1 * h);
            cairo_curve_to(cr_, x + 0.3 * w, y - 0.9 * h, x + 0.3 * w, y + 0.2 * h, x + 0.5 * w, y - 0.5 * h);
            cairo_curve_to(cr_, x + 0.7 * w, y - 1.2 * h, x + 0.7 * w, y - 0.1 * h, x + w, y - 0.9 * h);
            break;
          case GlyphShape::kRaisedDash:
            cairo_move_to(cr_, x, y - h);
            cairo_line_to(cr_, x + w, y - h);
            break;
          case GlyphShape::kCrossStroke:
            cairo_move_to(cr_, x + 0.1 * w, y - 0.1 * h);
            cairo_line_to(cr_, x + 0.9 * w, y - 1.1 * h);
            break;
          case GlyphShape::kNone:
            break;
        }
        cairo_stroke(cr_);
        break;
      }
      case RunPiece::Kind::kPlaceholder: {
        // A box with a cross: a code the glyph table does not know.
        cairo_set_line_width(cr_, 1);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        cairo_rectangle(cr_, piece.x + 0.5, piece.y - piece.height + 0.5, piece.width - 1, piece.height - 1);
        cairo_move_to(cr_, piece.x + 0.5, piece.y - piece.height + 0.5);
        cairo_line_to(cr_, piece.x + piece.width - 0.5, piece.y - 0.5);
        cairo_stroke(cr_);
        break;
      }
    }
  }
  cairo_restore(cr_);
}

void CairoDevice::DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                           std::optional<COLORREF> key) {
  DeviceBitmap keyed;
  const DeviceBitmap* source = &bitmap;
  if (key) {
    // Pixels of the key colour become fully transparent.
    keyed = bitmap;
    const uint32_t keyPixel = PixelFromColour(*key);
    uint32_t* p = keyed.Data();
    const size_t n = static_cast<size_t>(keyed.Width()) * static_cast<size_t>(keyed.Height());
    for (size_t i = 0; i < n; ++i) {
      if (p[i] == keyPixel) p[i] = 0;
    }
    source = &keyed;
  }
  cairo_surface_t* image = SurfaceOf(*source);
  cairo_save(cr_);
  Rect clip = dst;
  clip.Normalize();
  cairo_rectangle(cr_, clip.left, clip.top, clip.Width(), clip.Height());
  cairo_clip(cr_);
  cairo_translate(cr_, dst.left, dst.top);
  const double sx = static_cast<double>(dst.Width()) / src.Width();
  const double sy = static_cast<double>(dst.Height()) / src.Height();
  cairo_scale(cr_, sx, sy);
  cairo_set_source_surface(cr_, image, -src.left, -src.top);
  const bool sameSize = std::abs(sx) == 1.0 && std::abs(sy) == 1.0;
  cairo_pattern_set_filter(cairo_get_source(cr_), sameSize ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(image);
}

void CairoDevice::DoClip(const std::optional<Rect>& clip) {
  // Back to the base state the device was handed, then the new clip on top of it.
  cairo_restore(cr_);
  cairo_save(cr_);
  std::copy(std::begin(baseClip_), std::end(baseClip_), std::begin(clip_));
  if (clip) {
    cairo_rectangle(cr_, clip->left, clip->top, std::max(0, clip->Width()), std::max(0, clip->Height()));
    cairo_clip(cr_);
    clip_[0] = std::max(clip_[0], static_cast<double>(std::min(clip->left, clip->right)));
    clip_[1] = std::max(clip_[1], static_cast<double>(std::min(clip->top, clip->bottom)));
    clip_[2] = std::min(clip_[2], static_cast<double>(std::max(clip->left, clip->right)));
    clip_[3] = std::min(clip_[3], static_cast<double>(std::max(clip->top, clip->bottom)));
  }
}

// ---------------------------------------------------------------- image

CairoTarget ImageDevice::MakeTarget(int32_t width, int32_t height) {
  CairoTarget target;
  if (!DeviceBitmap::ValidSize(width, height)) width = height = 1;
  target.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  target.cr = cairo_create(target.surface);
  return target;
}

ImageDevice::ImageDevice(int32_t width, int32_t height, int32_t dpi, COLORREF background, bool printing)
    : CairoTarget(MakeTarget(width, height)),
      CairoDevice(CairoTarget::cr, dpi, dpi, printing),
      width_(cairo_image_surface_get_width(CairoTarget::surface)),
      height_(cairo_image_surface_get_height(CairoTarget::surface)) {
  SetExtent({width_, height_});
  cairo_t* c = CairoTarget::cr;
  cairo_save(c);
  cairo_set_source_rgb(c, GetRValue(background) / 255.0, GetGValue(background) / 255.0, GetBValue(background) / 255.0);
  cairo_paint(c);
  cairo_restore(c);
}

DeviceBitmap ImageDevice::ToBitmap() {
  cairo_surface_flush(CairoTarget::surface);
  DeviceBitmap bitmap(width_, height_);
  const unsigned char* data = cairo_image_surface_get_data(CairoTarget::surface);
  const int stride = cairo_image_surface_get_stride(CairoTarget::surface);
  for (int32_t y = 0; y < height_; ++y) {
    std::copy_n(reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride)),
                width_, bitmap.Data() + static_cast<size_t>(y) * static_cast<size_t>(width_));
  }
  return bitmap;
}

bool ImageDevice::WritePng(const std::string& path, std::string* error) {
  cairo_surface_flush(CairoTarget::surface);
  std::string bytes;
  if (cairo_surface_write_to_png_stream(CairoTarget::surface, AppendToString, &bytes) != CAIRO_STATUS_SUCCESS) {
    if (error != nullptr) *error = "The image could not be encoded as PNG";
    return false;
  }
  return WriteFileAtomically(path, std::string_view(bytes), error);
}

bool EncodePng(const DeviceBitmap& bitmap, std::string& png) {
  png.clear();
  if (bitmap.IsEmpty()) return false;
  // Cairo's ARGB32 is the devices' own pixel layout; the surface only borrows the pixels.
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, bitmap.Width());
  if (stride != bitmap.Stride()) return false;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bitmap.Data())), CAIRO_FORMAT_ARGB32, bitmap.Width(),
      bitmap.Height(), stride);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                  cairo_surface_write_to_png_stream(surface, AppendToString, &png) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) png.clear();
  return ok;
}

// ---------------------------------------------------------------- PDF

CairoTarget PdfDevice::MakeTarget(int32_t widthPixels, int32_t heightPixels, int32_t dpi) {
  CairoTarget target;
  target.stream = std::make_unique<std::string>();
  if (dpi <= 0) dpi = 96;
  if (!DeviceBitmap::ValidSize(widthPixels, heightPixels)) widthPixels = heightPixels = 1;
  const double scale = 72.0 / dpi;
  target.surface = cairo_pdf_surface_create_for_stream(AppendToString, target.stream.get(), widthPixels * scale,
                                                       heightPixels * scale);
  target.cr = cairo_create(target.surface);
  cairo_scale(target.cr, scale, scale);
  return target;
}

PdfDevice::PdfDevice(int32_t widthPixels, int32_t heightPixels, int32_t dpi, bool printing)
    : CairoTarget(MakeTarget(widthPixels, heightPixels, dpi)),
      CairoDevice(CairoTarget::cr, dpi, dpi, printing) {
  SetExtent({widthPixels, heightPixels});
}

PdfDevice::~PdfDevice() = default;

void PdfDevice::NextPage() { cairo_show_page(CairoTarget::cr); }

bool PdfDevice::Finish(const std::string& path, std::string* error) {
  if (!finished_) {
    cairo_surface_finish(CairoTarget::surface);
    finished_ = true;
  }
  if (cairo_surface_status(CairoTarget::surface) != CAIRO_STATUS_SUCCESS) {
    if (error != nullptr) *error = "The PDF document could not be written";
    return false;
  }
  return WriteFileAtomically(path, std::string_view(*CairoTarget::stream), error);
}

}  // namespace vornel
