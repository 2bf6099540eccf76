#pragma once
// What the "Add digital facsimile" dialog does to a facsimile list, without a window: it works
// on a copy of the entries and their captions, which OK commits to the list and Cancel drops.
// File and text prompts and messages go through Prompts(), the caption through the rich-text
// editor in force, "View image" through the desktop's program.

#include <cstddef>
#include <string>
#include <vector>

namespace vornel {
class CFacsimileListDlg;
}

namespace vornel::view {

inline constexpr const char* kFacsimileListCaption = "Add digital facsimile";
inline constexpr const char* kNoImageSelected = "No image selected";
inline constexpr const char* kEditImageLinkPrompt = "Edit image link:";

class FacsimileListEditor {
 public:
  explicit FacsimileListEditor(const CFacsimileListDlg& list);

  const std::vector<std::string>& Paths() const { return paths_; }
  const std::vector<std::string>& Captions() const { return captions_; }

  // "Add": an image file chosen by the user, appended with an empty caption.
  bool AddFile();
  // "Delete": the entry and its caption; false for no entry.
  bool Remove(size_t index);
  // "Add HTTP Link": the address asked for, even an empty one, appended.
  bool AddLink();
  // "Edit caption": the entry's caption in the rich-text editor; "No image selected" for no
  // entry.
  bool EditCaption(size_t index);
  // "View image": the entry's text opened by the desktop's program.
  void View(size_t index) const;
  // A double-click: the entry's text edited in place.
  bool EditLink(size_t index);
  // OK: the list becomes the working entries and captions.
  void Commit(CFacsimileListDlg& list) const;

 private:
  std::vector<std::string> paths_;
  std::vector<std::string> captions_;
};

}  // namespace vornel::view
