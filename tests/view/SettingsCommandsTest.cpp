// The settings commands open their dialog on the document's settings; OK marks the document
// changed, Cancel does not, except that fonts chosen before a Cancel stay chosen.

#include <gtest/gtest.h>

#include "document/CVornelTabDoc.h"
#include "view/settings/SettingsCommands.h"

namespace vornel::view {
namespace {

struct FakeDialogs : SettingsDialogs {
  bool answer = false;
  bool changeFont = false;
  std::vector<int> opened;
  bool EditPageSettings(CPageDlg& page) override {
    opened.push_back(kPageLayoutCommand);
    if (answer) page.topMargin = 300;
    return answer;
  }
  bool EditDocumentFonts(CPageDlg& page) override {
    opened.push_back(kDocumentFontsCommand);
    if (changeFont) page.DocumentFont(kFontTitles).logFont.lfWeight = 700;
    return answer;
  }
  bool EditDocumentInformation(CDocumentSettings&) override {
    opened.push_back(kBookSettingsCommand);
    return answer;
  }
  bool EditTitlePage(CTitlePage&) override {
    opened.push_back(kTitlePageSettingsCommand);
    return answer;
  }
};

TEST(SettingsCommands, OkChangesTheDocumentCancelDoesNot) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  CommandTable table;
  RegisterSettingsCommands(table, doc);
  FakeDialogs dialogs;
  ScopedSettingsDialogs scoped(dialogs);
  for (int id : {kPageLayoutCommand, kDocumentFontsCommand, kBookSettingsCommand, kTitlePageSettingsCommand}) {
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(table.Execute(CommandEvent{id, std::nullopt, {}}));
    EXPECT_FALSE(doc.IsModified()) << id;
  }
  EXPECT_EQ(dialogs.opened, (std::vector<int>{33294, 33407, 33059, 32970}));

  dialogs.changeFont = true;  // a font chosen, then Cancel
  EXPECT_TRUE(table.Execute(CommandEvent{kDocumentFontsCommand, std::nullopt, {}}));
  EXPECT_TRUE(doc.IsModified());

  dialogs.answer = true;
  doc.SetModifiedFlag(false);
  EXPECT_TRUE(table.Execute(CommandEvent{kPageLayoutCommand, std::nullopt, {}}));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.settings.pageSettings.topMargin, 300u);
}

}  // namespace
}  // namespace vornel::view
