#include "model/MetaEventEditor.h"

#include <utility>

namespace vornel {

namespace {

MetaEventEditor g_noEditor;
MetaEventEditor* g_editor = &g_noEditor;
HyperlinkFollower g_follower;

}  // namespace

bool MetaEventEditor::RunEditor(CMetaEvent&, int) { return false; }

void MetaEventEditor::FollowHyperlink(const CMetaEvent& event) {
  if (g_follower) g_follower(event);
}

HyperlinkFollower SetHyperlinkFollower(HyperlinkFollower follower) { return std::exchange(g_follower, std::move(follower)); }

MetaEventEditor& MetaEventEditors() { return *g_editor; }

ScopedMetaEventEditor::ScopedMetaEventEditor(MetaEventEditor& editor) : previous_(g_editor) { g_editor = &editor; }

ScopedMetaEventEditor::~ScopedMetaEventEditor() { g_editor = previous_; }

}  // namespace vornel
