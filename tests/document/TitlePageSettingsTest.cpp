// "Title page & print settings" as a struct: the title page's fields in and out, the whole
// struct checked before anything is stored (a contents page of no items would divide the
// pagination by zero), "CLEAR", and the scale of a picture too wide for its frame.

#include <gtest/gtest.h>

#include "document/dialogs/TitlePageSettings.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(TitlePageSettings, FieldsGoInAndOutWithTheirBits) {
  CTitlePage page;
  page.printTitlepage = 1 | CTitlePage::kExcludeMetadataBit;
  page.printContents = 0x11;  // the contents and a bit of the binary form
  page.Text(CTitlePage::kTitle).text = "Varietie";
  page.picture.path = "/tmp/cover.png";
  page.picture.sizePercent = 80;
  page.picture.active = 1;
  CTitlePageDlg dialog;
  dialog.Load(page);
  EXPECT_TRUE(dialog.printTitlePage);
  EXPECT_TRUE(dialog.excludeMetadata);
  EXPECT_TRUE(dialog.ContentsOptionsEnabled());
  EXPECT_EQ(dialog.title, "Varietie");
  EXPECT_EQ(dialog.imageScale, 80);

  dialog.excludeMetadata = false;
  dialog.printContents = false;
  dialog.publisher = "T. East";
  dialog.frameStyle = 2;
  ASSERT_TRUE(dialog.Store(page));
  EXPECT_EQ(page.printTitlepage, 1);
  EXPECT_EQ(page.printContents, 0x10);
  EXPECT_EQ(page.Text(CTitlePage::kPublisher).text, "T. East");
  EXPECT_EQ(page.frameStyle, 2);
  EXPECT_EQ(page.picture.active, 1u);  // same file: nothing to load again
  EXPECT_EQ(page.picture.mode, DIBornament::kModeLoaded);

  dialog.ClearImage();
  ASSERT_TRUE(dialog.Store(page));
  EXPECT_EQ(page.picture.path, "");
  EXPECT_EQ(page.picture.sizePercent, 100u);
}

TEST(TitlePageSettings, MaximumItemsPerPageOneTo999AndNothingStoredBefore) {
  testing::ScriptedPrompts prompts;
  for (int items : {0, -3, 1000}) {
    CTitlePage page;
    CTitlePageDlg dialog;
    dialog.Load(page);
    dialog.title = "changed";
    dialog.maxItems = items;
    EXPECT_FALSE(dialog.Store(page)) << items;
    EXPECT_EQ(page.maxLines, 100);
    EXPECT_EQ(page.Text(CTitlePage::kTitle).text, "");
  }
  EXPECT_EQ(prompts.messages.back(), "\"Maximum items per page\" must be between 1 and 999.");
  CTitlePage page;
  CTitlePageDlg dialog;
  dialog.Load(page);
  dialog.maxItems = 1;
  EXPECT_TRUE(dialog.Store(page));
  dialog.imageScale = 9;
  EXPECT_FALSE(dialog.Validate().empty());
}

TEST(TitlePageSettings, AWidePictureIsScaledToNinetyPercentOfTheFrame) {
  EXPECT_EQ(TitlePictureScale(3000, 2000), 60);
  EXPECT_EQ(TitlePictureScale(1800, 2000), 100);
  EXPECT_EQ(TitlePictureScale(0, 2000), 100);
  EXPECT_EQ(TitlePictureScale(4000, 0), 100);
}

// Title, author and publisher filled in through the settings stand apart, centred across the
// page, instead of all at the frame's corner; a text already placed keeps its place.
TEST(TitlePageSettings, NewTextsAreCentredApartAndPlacedTextsStay) {
  CTitlePage page;
  page.Text(CTitlePage::kPublisher).text = "Old";
  page.Text(CTitlePage::kPublisher).x = 40;
  page.Text(CTitlePage::kPublisher).y = 900;
  CTitlePageDlg dialog;
  dialog.Load(page);
  dialog.title = "Pieces for the lute";
  dialog.author = "A. Lutenist";
  dialog.publisher = "New";
  ASSERT_TRUE(dialog.Store(page));
  const CTrackText& title = page.Text(CTitlePage::kTitle);
  const CTrackText& author = page.Text(CTitlePage::kAuthor);
  EXPECT_EQ(title.x, 397);  // half an A4 page at 96 pixels an inch
  EXPECT_EQ(author.x, 397);
  EXPECT_GT(title.y, 200);
  EXPECT_GT(author.y, title.y + 60);  // room for a line of the title's size between them
  EXPECT_NE(title.flags & CTrackText::kCentered, 0u);
  EXPECT_EQ(page.Text(CTitlePage::kPublisher).x, 40);
  EXPECT_EQ(page.Text(CTitlePage::kPublisher).y, 900);
  // Stored again with the same texts: nothing moves.
  CTitlePage before = page;
  dialog.Load(page);
  ASSERT_TRUE(dialog.Store(page));
  EXPECT_EQ(page.Text(CTitlePage::kTitle).y, before.Text(CTitlePage::kTitle).y);
}

}  // namespace
}  // namespace vornel
