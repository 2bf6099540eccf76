#pragma once
// The image preview that dialogs of this area open (the system options' "get!"): the window
// that draws the picture belongs to the view area, which installs it; an empty path only beeps.

#include <functional>
#include <string>

class wxWindow;

namespace vornel {

using ImagePreviewer = std::function<void(wxWindow* parent, const std::string& path)>;

void SetImagePreviewer(ImagePreviewer previewer);
// Beeps for an empty path; otherwise shows the installed preview of the image, if any.
void PreviewImage(wxWindow* parent, const std::string& path);

}  // namespace vornel
