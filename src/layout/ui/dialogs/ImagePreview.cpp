#include "layout/ui/dialogs/ImagePreview.h"

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

ImagePreviewer& Previewer() {
  static ImagePreviewer previewer;
  return previewer;
}

}  // namespace

void SetImagePreviewer(ImagePreviewer previewer) { Previewer() = std::move(previewer); }

void PreviewImage(wxWindow* parent, const std::string& path) {
  if (path.empty()) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  if (Previewer()) Previewer()(parent, path);
}

}  // namespace vornel
