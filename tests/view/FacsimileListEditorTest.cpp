// The "Add digital facsimile" dialog's work on a copy of a facsimile list: add, delete, add a
// link, edit a caption and a link, view; OK commits, Cancel drops.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/text/CFacsimileListDlg.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/ScriptedRichTextEditor.h"
#include "view/facsimile/FacsimileListEditor.h"

namespace vornel::view {
namespace {

CFacsimileListDlg TwoEntries() {
  CFacsimileListDlg list;
  list.AddImage("/scans/f1r.jpg");
  list.AddImage("http://host/f1v.jpg");
  list.captions[1] = "{\\rtf1 verso}";
  return list;
}

TEST(FacsimileListEditor, EditsACopyThatOkCommits) {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  testing::ScriptedRichTextEditor captions;
  CFacsimileListDlg list = TwoEntries();
  FacsimileListEditor editor(list);

  prompts.QueueFile("/scans/f2r.png");
  EXPECT_TRUE(editor.AddFile());
  prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(editor.AddFile());
  prompts.QueueText("");  // an empty link is still added
  EXPECT_TRUE(editor.AddLink());
  prompts.QueueText(std::nullopt);
  EXPECT_FALSE(editor.AddLink());
  EXPECT_EQ(prompts.textPrompts.front(), "Enter the full URL, including the http prefix:|");

  EXPECT_TRUE(editor.Remove(0));
  EXPECT_FALSE(editor.Remove(9));
  prompts.QueueText("http://host/f1v-large.jpg");
  EXPECT_TRUE(editor.EditLink(0));
  EXPECT_EQ(prompts.textPrompts.back(), "Edit image link:|http://host/f1v.jpg");

  captions.answer = "{\\rtf1 new}";
  EXPECT_TRUE(editor.EditCaption(0));
  EXPECT_EQ(captions.seen, std::vector<std::string>{"{\\rtf1 verso}"});
  EXPECT_FALSE(editor.EditCaption(3));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "No image selected");

  editor.View(1);
  editor.View(7);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"/scans/f2r.png"});

  // Nothing reaches the list until OK.
  EXPECT_EQ(list.imagePaths, TwoEntries().imagePaths);
  editor.Commit(list);
  EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"http://host/f1v-large.jpg", "/scans/f2r.png", ""}));
  EXPECT_EQ(list.captions, (std::vector<std::string>{"{\\rtf1 new}", "", ""}));
}

}  // namespace
}  // namespace vornel::view
