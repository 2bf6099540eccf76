#include "layout/ui/dialogs/ImagePreview.h"

#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// A service the editor's window installs, not drawing state: one per process by design.
HookSlot<ImagePreviewer> g_previewer("image preview");

}  // namespace

void SetImagePreviewer(ImagePreviewer previewer) { g_previewer.Exchange(std::move(previewer)); }

void PreviewImage(wxWindow* parent, const std::string& path) {
  if (path.empty()) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  if (g_previewer.Get()) {
    g_previewer.Get()(parent, path);
  } else {
    ReportMissingService("image preview");
  }
}

}  // namespace vornel
