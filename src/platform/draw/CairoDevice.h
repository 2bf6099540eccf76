#pragma once
// The device on Cairo. A window or a print preview hands over its own cairo_t; PNG images and
// PDF documents own their surfaces. One device pixel is one unit of the device's resolution:
// a PDF page of 96 pixels per inch is scaled to points by Cairo, not by the drawing code.
// Glyphs, lines and fills that lie wholly outside the clip (the context's own, where a window
// repaints a strip, and the device's) are not handed to Cairo at all.

#include <memory>
#include <string>

#include "platform/draw/DeviceContext.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_font_options cairo_font_options_t;

namespace vornel {

class CairoDevice : public DeviceContext {
 public:
  // Draws on `cr` (not owned), whose user space must be in device pixels. The context's
  // clip and transformation at this point are kept as the device's base.
  CairoDevice(cairo_t* cr, int32_t dpiX, int32_t dpiY, bool printing);
  ~CairoDevice() override;

  cairo_t* Context() const { return cr_; }

 protected:
  void DoFill(const PathData& path, const Brush& brush, bool evenOdd) override;
  void DoStroke(const PathData& path, const Pen& pen) override;
  void DoGlyphs(const GlyphRun& run) override;
  void DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst, std::optional<COLORREF> key) override;
  void DoClip(const std::optional<Rect>& clip) override;

 private:
  void BuildPath(const PathData& path);
  void SetColour(COLORREF colour);
  // True when nothing of [x0, x1] x [y0, y1] (device pixels) can show through the clip.
  bool Outside(double x0, double y0, double x1, double y1) const;
  bool PathOutside(const PathData& path, double margin) const;

  cairo_t* cr_;
  // The clip's bounds: the context's as handed over, narrowed by the device's own clip.
  double baseClip_[4] = {0, 0, 0, 0};
  double clip_[4] = {0, 0, 0, 0};
  cairo_font_options_t* fontOptions_ = nullptr;
};

// Owns the surface and context the Cairo device of an image or a PDF draws on (a base
// class, so that they exist before the device is constructed).
struct CairoTarget {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  std::unique_ptr<std::string> stream;  // what a stream surface has written

  CairoTarget() = default;
  CairoTarget(CairoTarget&& other) noexcept;
  CairoTarget(const CairoTarget&) = delete;
  CairoTarget& operator=(const CairoTarget&) = delete;
  CairoTarget& operator=(CairoTarget&&) = delete;
  ~CairoTarget();
};

// A page in memory, written as PNG.
class ImageDevice : private CairoTarget, public CairoDevice {
 public:
  ImageDevice(int32_t width, int32_t height, int32_t dpi = 96, COLORREF background = 0xFFFFFF,
              bool printing = false);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The page as a bitmap (a copy).
  DeviceBitmap ToBitmap();
  bool WritePng(const std::string& path, std::string* error = nullptr);

 private:
  static CairoTarget MakeTarget(int32_t width, int32_t height);
  int32_t width_;
  int32_t height_;
};

// The bitmap as PNG bytes (with its alpha); false when it cannot be encoded.
bool EncodePng(const DeviceBitmap& bitmap, std::string& png);

// A PDF document of pages of one size, written when finished (through a temporary file).
class PdfDevice : private CairoTarget, public CairoDevice {
 public:
  PdfDevice(int32_t widthPixels, int32_t heightPixels, int32_t dpi = 96, bool printing = true);
  ~PdfDevice() override;
  void NextPage();
  bool Finish(const std::string& path, std::string* error = nullptr);

 private:
  static CairoTarget MakeTarget(int32_t widthPixels, int32_t heightPixels, int32_t dpi);
  bool finished_ = false;
};

}  // namespace vornel
