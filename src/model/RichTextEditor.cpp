#include "model/RichTextEditor.h"

namespace vornel {

namespace {

RichTextEditor g_noEditor;
RichTextEditor* g_editor = &g_noEditor;

}  // namespace

bool RichTextEditor::Edit(std::string&, bool, int32_t&) { return false; }

RichTextEditor& RichTextEditors() { return *g_editor; }

ScopedRichTextEditor::ScopedRichTextEditor(RichTextEditor& editor) : previous_(g_editor) { g_editor = &editor; }

ScopedRichTextEditor::~ScopedRichTextEditor() { g_editor = previous_; }

}  // namespace vornel
