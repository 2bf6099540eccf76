#include "shell/ui/SplashWindow.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/splash.h>

#include "platform/draw/CairoDevice.h"
#include "shell/frame/ShellPictures.h"

namespace vornel {

wxBitmap SplashBitmap() {
  ImageDevice device(kSplashPictureSize.cx, kSplashPictureSize.cy);
  DrawSplashPicture(device);
  const DeviceBitmap pixels = device.ToBitmap();
  wxImage image(pixels.Width(), pixels.Height());
  for (int32_t y = 0; y < pixels.Height(); ++y) {
    for (int32_t x = 0; x < pixels.Width(); ++x) {
      const COLORREF c = pixels.GetPixel(x, y);
      image.SetRGB(x, y, GetRValue(c), GetGValue(c), GetBValue(c));
    }
  }
  return wxBitmap(image);
}

wxSplashScreen* ShowSplashScreen(wxWindow* parent) {
  const wxBitmap bitmap = SplashBitmap();
  if (!bitmap.IsOk()) return nullptr;
  // Clicks and keys close the window (the splash screen's own handling); nothing waits for it.
  auto* splash = new wxSplashScreen(bitmap, wxSPLASH_CENTRE_ON_SCREEN | wxSPLASH_TIMEOUT, kSplashMilliseconds, parent,
                                    wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxBORDER_SIMPLE | wxFRAME_NO_TASKBAR | wxSTAY_ON_TOP);
  // Above the main window even where no window manager keeps it on top.
  splash->Raise();
  return splash;
}

}  // namespace vornel
