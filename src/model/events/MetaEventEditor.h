#pragma once
// The editors of meta-events are dialogs of the window layer. The model asks for them through
// this interface, which the window layer installs; without it an edit says that no meta-event
// editor is installed and changes nothing.

#include <functional>

namespace vornel {

class CMetaEvent;

class MetaEventEditor {
 public:
  virtual ~MetaEventEditor() = default;
  // Runs the editor of the event's kind for `view` (0 staff notation, else tablature) on the
  // event's fields and writes them back on OK. An editor may set the kind to
  // CMetaEvent::kDeleteMe to ask for the event's removal. Returns true on OK.
  virtual bool RunEditor(CMetaEvent& event, int view);
  // Opens the target of a hyperlink event: hands it to the follower in force (see below).
  virtual void FollowHyperlink(const CMetaEvent& event);
};

// Who follows hyperlinks: the active score view installs itself, as a link may jump within
// its document. Returns the follower it replaced.
using HyperlinkFollower = std::function<void(const CMetaEvent& event)>;
HyperlinkFollower SetHyperlinkFollower(HyperlinkFollower follower);

// The editor in force.
MetaEventEditor& MetaEventEditors();

// Installs `editor` for its lifetime and restores the previous one after.
class ScopedMetaEventEditor {
 public:
  explicit ScopedMetaEventEditor(MetaEventEditor& editor);
  ~ScopedMetaEventEditor();
  ScopedMetaEventEditor(const ScopedMetaEventEditor&) = delete;
  ScopedMetaEventEditor& operator=(const ScopedMetaEventEditor&) = delete;

 private:
  MetaEventEditor* previous_;
};

}  // namespace vornel
