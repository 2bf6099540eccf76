#include "model/events/MetaEventEditor.h"

#include <utility>

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kName = "meta-event editor";

MetaEventEditor g_noEditor;
ObjectSlot<MetaEventEditor> g_editor(kName, g_noEditor);
HyperlinkFollower g_follower;

}  // namespace

bool MetaEventEditor::RunEditor(CMetaEvent&, int) {
  ReportMissingService(kName);
  return false;
}

void MetaEventEditor::FollowHyperlink(const CMetaEvent& event) {
  if (g_follower) g_follower(event);
}

HyperlinkFollower SetHyperlinkFollower(HyperlinkFollower follower) { return std::exchange(g_follower, std::move(follower)); }

MetaEventEditor& MetaEventEditors() { return g_editor.Get(); }

ScopedMetaEventEditor::ScopedMetaEventEditor(MetaEventEditor& editor) : previous_(g_editor.Exchange(&editor)) {}

ScopedMetaEventEditor::~ScopedMetaEventEditor() { g_editor.Exchange(previous_); }

}  // namespace vornel
