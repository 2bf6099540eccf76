#include "model/text/RichTextEditor.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kName = "rich-text editor";

RichTextEditor g_noEditor;
ObjectSlot<RichTextEditor> g_editor(kName, g_noEditor);

}  // namespace

bool RichTextEditor::Edit(std::string&, bool, int32_t&) {
  ReportMissingService(kName);
  return false;
}

RichTextEditor& RichTextEditors() { return g_editor.Get(); }

ScopedRichTextEditor::ScopedRichTextEditor(RichTextEditor& editor) : previous_(g_editor.Exchange(&editor)) {}

ScopedRichTextEditor::~ScopedRichTextEditor() { g_editor.Exchange(previous_); }

}  // namespace vornel
