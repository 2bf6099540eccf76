#include "view/facsimile/FacsimileListEditor.h"

#include "model/text/CFacsimileListDlg.h"
#include "model/text/RichTextEditor.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "view/draw/GraphicUtil.h"
#include "view/facsimile/FacsimileCommands.h"

namespace vornel::view {

FacsimileListEditor::FacsimileListEditor(const CFacsimileListDlg& list)
    : paths_(list.imagePaths), captions_(list.captions) {
  captions_.resize(paths_.size());
}

bool FacsimileListEditor::AddFile() {
  const std::string path = BrowseImageFileName();
  if (path.empty()) return false;
  paths_.push_back(path);
  captions_.emplace_back();
  return true;
}

bool FacsimileListEditor::Remove(size_t index) {
  if (index >= paths_.size()) return false;
  paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
  captions_.erase(captions_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool FacsimileListEditor::AddLink() {
  const std::optional<std::string> url = Prompts().PromptText(kAddImageUrlPrompt, "");
  if (!url) return false;
  paths_.push_back(*url);
  captions_.emplace_back();
  return true;
}

bool FacsimileListEditor::EditCaption(size_t index) {
  if (index >= paths_.size()) {
    Prompts().ShowMessage(kNoImageSelected);
    return false;
  }
  std::string rtf = captions_[index];
  int32_t length = 0;
  if (!RichTextEditors().Edit(rtf, false, length)) return false;
  captions_[index] = std::move(rtf);
  return true;
}

void FacsimileListEditor::View(size_t index) const {
  if (index < paths_.size()) Programs().OpenWithDefault(paths_[index]);
}

bool FacsimileListEditor::EditLink(size_t index) {
  if (index >= paths_.size()) return false;
  const std::optional<std::string> text = Prompts().PromptText(kEditImageLinkPrompt, paths_[index]);
  if (!text) return false;
  paths_[index] = *text;
  return true;
}

void FacsimileListEditor::Commit(CFacsimileListDlg& list) const {
  list.imagePaths = paths_;
  list.captions = captions_;
}

}  // namespace vornel::view
