#pragma once
// One start of the editor in a temporary home for the shell's window tests, with the helpers
// they share: saved documents, undo steps to list and letting pending events run.

#include <gtest/gtest.h>
#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "shell/ShellFixtures.h"
#include "shell/ui/ConfigProfile.h"
#include "shell/ui/EditorServices.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellApplication.h"

namespace vornel {

inline std::string WriteDocument(const std::string& path) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  EXPECT_TRUE(SaveDocumentFile(doc, path));
  return path;
}

// A document whose active section's first chord holds one note (middle C), with a caption
// meta-event on it when `caption` is not empty.
inline std::string WriteDocumentWithANote(const std::string& path, const std::string& caption = {}) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  auto chord = std::make_unique<nChord>(0, 3);
  auto note = std::make_unique<nNotes>();
  note->pitch = 60;
  chord->notes.push_back(std::move(note));
  if (!caption.empty()) chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kCaption, caption, 0, 0, 0));
  doc.GetActiveSection()->ActiveLine()->Voice(0).push_back(std::move(chord));
  EXPECT_TRUE(SaveDocumentFile(doc, path));
  return path;
}

// Four named undo steps, the newest last: "Add a new section" … "Paste section".
inline void SaveFourNamedSteps(CVornelTabDoc& doc) {
  for (const char* name : {"Add a new section", "Copy voice", "Split chord", "Paste section"}) {
    const CBriotabDoc::ActionName action(doc, name);
    doc.SaveSnapshot();
  }
}

inline void Settle() {
  for (int i = 0; i < 3; ++i) {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->Yield(true);
  }
}

// One start of the editor in the temporary home; closing it ends the run as a user would.
class EditorRun {
 public:
  explicit EditorRun(const testing::TemporaryHome& home, std::vector<std::string> paths = {})
      : profile_(home.Path() + "vornel.ini"), shell_(profile_) {
    CommandLine line;
    line.showSplash = false;
    line.paths = std::move(paths);
    frame_ = shell_.Start(line);
    Settle();
    shell_.OpenPendingDocuments();
    Settle();
  }
  ~EditorRun() { Close(); }

  CMainFrame& Frame() { return *frame_; }
  CVornelTabApp& App() { return shell_.App(); }
  const EditorServices& Services() const { return *shell_.Services(); }
  ProfileStore& Profile() { return profile_; }
  bool Close(bool force = true) {
    if (frame_ == nullptr) return true;
    const bool closed = frame_->Close(force);
    wxTheApp->ProcessIdle();  // deletes the closed frame and tabs
    if (closed && wxTopLevelWindows.empty()) frame_ = nullptr;
    return frame_ == nullptr;
  }

 private:
  ConfigProfile profile_;
  ShellApplication shell_;
  CMainFrame* frame_ = nullptr;
};

}  // namespace vornel
