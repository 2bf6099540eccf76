#pragma once
// The splash window: the picture drawn at start-up, shown centred without delaying anything;
// it closes after four seconds or at the first click or key press.

class wxWindow;
class wxSplashScreen;
class wxBitmap;

namespace vornel {

inline constexpr int kSplashMilliseconds = 4000;

// The splash picture as a bitmap of the window system.
wxBitmap SplashBitmap();
// Shows the splash window over `parent` (may be null); null when it could not be made.
wxSplashScreen* ShowSplashScreen(wxWindow* parent);

}  // namespace vornel
