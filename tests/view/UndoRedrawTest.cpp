// A keystroke undone in a document read from its XML file gives back the stored content and
// the page as it was drawn: the undo snapshot holds what the binary record reshapes (a
// caption placed above its picture) and what the last layout computed.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "document/DocumentDump.h"
#include "document/DocumentFiles.h"
#include "view/ViewFixtures.h"
#include "platform/draw/RecordingDevice.h"
#include "view/core/CBriotabView.h"
#include "view/entry/KeyScript.h"

namespace vornel::testing {
namespace {

std::string FirstDifferentLine(const std::string& a, const std::string& b) {
  std::istringstream x(a);
  std::istringstream y(b);
  std::string l;
  std::string r;
  while (true) {
    const bool more = static_cast<bool>(std::getline(x, l));
    const bool moreToo = static_cast<bool>(std::getline(y, r));
    if (!more && !moreToo) return "";
    if (more != moreToo || l != r) return "< " + l + "\n> " + r;
  }
}

// The page as the window draws it, without the view's own marks over it (caret, selection).
std::string DrawPage(ViewRig& rig) {
  RecordingDevice dc(96, false);
  dc.SetExtent(rig.window.client);
  rig.view.OnPrepareDC(dc);
  rig.view.OnDraw(dc);
  return dc.Log();
}

TEST(UndoRedraw, AnUndoneKeystrokeDrawsThePageAsBefore) {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/french-lute.btxml");
  ASSERT_NE(opened.document, nullptr) << opened.message;
  ViewRig rig(std::move(opened.document));
  const std::string page = DrawPage(rig);
  const std::string content = DumpDocument(*rig.doc);
  ASSERT_TRUE(view::ReplayKeyScript(rig.view, "char a\n"));
  ASSERT_NE(DrawPage(rig), page);
  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifferentLine(DumpDocument(*rig.doc), content), "");
  EXPECT_EQ(FirstDifferentLine(DrawPage(rig), page), "");
}

}  // namespace
}  // namespace vornel::testing
