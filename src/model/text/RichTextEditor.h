#pragma once
// The rich-text editor is a dialog of the window layer. Rich-text blocks and rich track texts
// ask for it through this interface, which the window layer installs; without it an edit says
// that no rich-text editor is installed and changes nothing.

#include <cstdint>
#include <string>

namespace vornel {

class RichTextEditor {
 public:
  virtual ~RichTextEditor() = default;
  // Opens the editor on `rtf`, read-only when asked. On OK returns true, with `rtf` holding
  // the edited RTF and `textLength` the number of characters it holds (0 when the user
  // cleared the text).
  virtual bool Edit(std::string& rtf, bool readOnly, int32_t& textLength);
};

// The editor in force.
RichTextEditor& RichTextEditors();

// Installs `editor` for its lifetime and restores the previous one after.
class ScopedRichTextEditor {
 public:
  explicit ScopedRichTextEditor(RichTextEditor& editor);
  ~ScopedRichTextEditor();
  ScopedRichTextEditor(const ScopedRichTextEditor&) = delete;
  ScopedRichTextEditor& operator=(const ScopedRichTextEditor&) = delete;

 private:
  RichTextEditor* previous_;
};

}  // namespace vornel
