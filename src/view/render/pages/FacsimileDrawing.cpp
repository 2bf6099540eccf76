#include "view/render/pages/FacsimileDrawing.h"

#include <algorithm>
#include <memory>

#include "document/CPageDlg.h"
#include "image/bitmap/DeviceBitmapOf.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/large/LargeImageSource.h"
#include "layout/richtext/CRichDrawText.h"
#include "model/text/CFacsimileListDlg.h"
#include "platform/UserPrompts.h"
#include "platform/text/FormatText.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

size_t NthImageFile(const CFacsimileListDlg& list, size_t n) {
  size_t k = list.FindImageFile(0);
  for (size_t i = 0; i < n && k < list.size(); ++i) k = list.FindImageFile(k + 1);
  return k;
}

void DrawFacsimile(const CFacsimileListDlg& list, size_t index, DeviceContext& dc, const CPageDlg& page,
                   const FacsimileResolver& resolve) {
  const size_t k = list.FindImageFile(index);
  if (k >= list.size()) return;
  std::string path = list.GetImagePath(k);
  if (!resolve || !resolve(path)) return;

  // A large scan is read from its file reduced to about the printed size; any other picture
  // is decoded whole.
  DeviceBitmap bitmap;
  std::unique_ptr<LargeImageSource> large;
  const auto report = [&] {
    Prompts().ShowMessage(FormatText(kFacsimileImageError, list.GetImagePath(k).c_str()), MessageKind::kError);
  };
  try {
    large = OpenPartialImageSource(path);
    if (large && !IsLargeImage(large->Width(), large->Height())) large.reset();
    if (!large) {
      PLAnyBmp bmp;
      PLAnyPicDecoder decoder;
      decoder.MakeBmpFromFile(path, bmp);
      bitmap = DeviceBitmapOf(bmp);
    }
  } catch (const PLTextException&) {
    report();
    return;
  }
  const int32_t width = large ? large->Width() : bitmap.Width();
  const int32_t height = large ? large->Height() : bitmap.Height();
  if (width <= 0 || height <= 0) return;

  FacsimileDevice device;
  device.horzRes = dc.GetDeviceCaps(HORZRES) > 0 ? dc.GetDeviceCaps(HORZRES) : page.pageRect.Width();
  device.vertRes = dc.GetDeviceCaps(VERTRES) > 0 ? dc.GetDeviceCaps(VERTRES) : page.pageRect.Height();
  device.logPixelsX = dc.AttributeLogPixelsX();
  device.logPixelsY = dc.AttributeLogPixelsY();
  const Size screen = RecordedScreenDpi(dc);
  device.screenDpiX = screen.cx;
  device.screenDpiY = screen.cy;
  device.pageLeft = page.printableRect.left;
  const auto layout = LayoutFacsimile(width, height, device);
  if (!layout) return;
  if (large) {
    const double scale = std::max(double(layout->image.Width()) / width, double(layout->image.Height()) / height);
    try {
      PLAnyBmp reduced;
      large->Read({0, 0, width, height}, ReductionForScale(scale), reduced);
      bitmap = DeviceBitmapOf(reduced);
    } catch (const PLTextException&) {
      report();
      return;
    }
    if (bitmap.IsEmpty()) return;
  }
  dc.StretchBlt(layout->image, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
  const std::string& caption = k < list.captions.size() ? list.captions[k] : std::string();
  if (!caption.empty()) CRichDrawText(caption).Draw(dc, layout->caption, dc.IsPrinting() ? 100 : page.zoom);
}

}  // namespace vornel
