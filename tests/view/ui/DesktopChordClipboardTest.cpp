// Chords copied in one score window paste in another through the desktop's clipboard; text
// that another program put there pastes nothing.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/frame.h>

#include <memory>

#include "document/CBriotabDoc.h"
#include "model/voice/nNotes.h"
#include "support/ScriptedPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/entry/ChordClipboard.h"
#include "view/ui/DesktopChordClipboard.h"
#include "view/ui/ScoreCanvas.h"

namespace vornel {
namespace {

constexpr int kCopy = 57634;
constexpr int kPaste = 57637;

// One empty tablature section; with `chord` a chord of one note (pitch 64) at the cursor.
std::unique_ptr<CBriotabDoc> Document(bool chord) {
  auto doc = std::make_unique<CBriotabDoc>();
  doc->AppendSection(std::make_unique<CSystemArray>());
  if (chord) {
    auto e = std::make_unique<nChord>(nChord::kChord, uint16_t{3});
    auto note = std::make_unique<nNotes>();
    note->pitch = 64;
    e->notes.push_back(std::move(note));
    doc->GetActiveSection()->System(0)->Line(0)->firstVoice.push_back(std::move(e));
  }
  return doc;
}

struct ScoreWindow {
  std::unique_ptr<CBriotabDoc> doc;
  wxFrame* frame;
  view::ScoreCanvas* canvas;
  explicit ScoreWindow(bool chord)
      : doc(Document(chord)),
        frame(new wxFrame(nullptr, wxID_ANY, "Score", wxDefaultPosition, wxSize(600, 400))),
        canvas(new view::ScoreCanvas(frame, *doc)) {
    frame->Show();
    canvas->View().OnSetFocus();
  }
  // The window goes before its document.
  ~ScoreWindow() {
    frame->Close(true);
    wxTheApp->ProcessIdle();
    for (int i = 0; i < 5; ++i) wxTheApp->Yield(true);
  }
  bool Run(int id) { return canvas->View().Commands().Execute(view::CommandEvent{id, std::nullopt, {}}); }
  bool Enabled(int id) { return canvas->View().Commands().State(id).enabled; }
  const nChordArray& Voice() { return doc->GetActiveSection()->System(0)->Line(0)->firstVoice; }
};

TEST(DesktopChordClipboard, CopyInOneWindowPastesInAnotherAndForeignTextPastesNothing) {
  testing::ScriptedPrompts prompts;
  view::DesktopChordClipboard clipboard;
  view::ScopedChordClipboard installed(clipboard);
  ScoreWindow source(true);
  ScoreWindow target(false);

  ASSERT_TRUE(source.Run(kCopy));
  {
    // The desktop holds our format and the text fallback.
    wxClipboardLocker locker;
    ASSERT_FALSE(!locker);
    EXPECT_TRUE(wxTheClipboard->IsSupported(wxDataFormat(view::DesktopChordClipboard::FormatName())));
    EXPECT_TRUE(wxTheClipboard->IsSupported(wxDF_UNICODETEXT));
  }
  ASSERT_TRUE(target.Enabled(kPaste));
  ASSERT_TRUE(target.Run(kPaste));
  ASSERT_EQ(target.Voice().size(), 1u);
  ASSERT_EQ(target.Voice().at(0)->notes.size(), 1u);
  EXPECT_EQ(target.Voice().at(0)->notes.at(0)->pitch, 64);
  EXPECT_TRUE(target.doc->CanUndo());

  // Another program's text replaces ours: nothing to paste, though a copy is still in memory.
  {
    wxClipboardLocker locker;
    ASSERT_FALSE(!locker);
    wxTheClipboard->SetData(new wxTextDataObject("<staff>not ours</staff>"));
  }
  // The desktop reports the change of owner, and the formats are asked for without waiting.
  for (int i = 0; i < 50 && clipboard.Count() != 0; ++i) wxTheApp->Yield(true);
  EXPECT_EQ(clipboard.Count(), 0u);
  EXPECT_FALSE(target.Enabled(kPaste));
  target.Run(kPaste);
  EXPECT_EQ(target.Voice().size(), 1u);
  wxClipboardLocker locker;
  wxTheClipboard->Clear();
}

}  // namespace
}  // namespace vornel
