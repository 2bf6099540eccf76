// Precompiled for the window-system libraries, their tests and the editor.
#include <wx/wx.h>
