#include "model/MetaEventEditor.h"

namespace vornel {

namespace {

MetaEventEditor g_noEditor;
MetaEventEditor* g_editor = &g_noEditor;

}  // namespace

bool MetaEventEditor::RunEditor(CMetaEvent&, int) { return false; }

void MetaEventEditor::FollowHyperlink(const CMetaEvent&) {}

MetaEventEditor& MetaEventEditors() { return *g_editor; }

ScopedMetaEventEditor::ScopedMetaEventEditor(MetaEventEditor& editor) : previous_(g_editor) { g_editor = &editor; }

ScopedMetaEventEditor::~ScopedMetaEventEditor() { g_editor = previous_; }

}  // namespace vornel
