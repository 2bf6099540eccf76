// The page settings and document fonts dialogs as structs: the whole struct is checked before
// anything is stored (profile included), the crossed braille keys, the paper codes, the font
// buttons' side effects and the two font themes with their questions.

#include <gtest/gtest.h>

#include <map>

#include "document/CBriotabDoc.h"
#include "model/score/SectionEditor.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/FontChooser.h"
#include "view/draw/FontDrawing.h"
#include "view/settings/PageSettingsDialogs.h"

namespace vornel {
namespace {

struct Profile {
  std::map<std::string, std::string, std::less<>> values;
  std::vector<std::string> writes;
  PageSettingsProfile Access() {
    return {[this](std::string_view key) -> std::optional<std::string> {
              auto it = values.find(key);
              if (it == values.end()) return std::nullopt;
              return it->second;
            },
            [this](std::string_view key, std::string_view value) {
              values[std::string(key)] = std::string(value);
              writes.push_back(std::string(key) + "=" + std::string(value));
            }};
  }
};

class ScriptedPageFontChooser : public FontChooser {
 public:
  std::optional<FontChoice> answer;
  std::optional<FontChoice> Choose(const FontChoice&, bool) override { return answer; }
};

TEST(PageSettingsFields, AFieldOutOfRangeStoresNothingProfileIncluded) {
  testing::ScriptedPrompts prompts;
  Profile profile;
  CPageDlg page;
  PageSettingsFields fields;
  fields.Load(page, profile.Access());
  fields.cursorWidth = 120;  // read before the failing field: must not be stored either
  fields.brailleColumns = 40;
  fields.blanksBetweenSections = 5;  // the spin allows 5, the check stops at 4
  EXPECT_FALSE(fields.Store(page, profile.Access()));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"\"Blanks between sections\" must be between 0 and 4."});
  EXPECT_EQ(page.cursorWidth, 100u);
  EXPECT_EQ(page.brailleColumns, 32);
  EXPECT_TRUE(profile.writes.empty());

  fields.blanksBetweenSections = 4;
  EXPECT_TRUE(fields.Store(page, profile.Access()));
  EXPECT_EQ(page.cursorWidth, 120u);
  EXPECT_EQ(page.blanksBetweenSections, 4);
}

TEST(PageSettingsFields, RangesOfTheTable) {
  testing::ScriptedPrompts prompts;
  struct Case {
    int PageSettingsFields::*field;
    int bad;
    const char* message;
  };
  const Case cases[] = {
      {&PageSettingsFields::systemsPerPage, 0, "\"Systems per page:\" must be between 1 and 15."},
      {&PageSettingsFields::cursorWidth, 301, "\"Horizontal cursor\" must be between 15 and 300."},
      {&PageSettingsFields::topMargin, 751, "\"Top\" must be between 0 and 750."},
      {&PageSettingsFields::bottomMargin, 501, "\"Bottom\" must be between 0 and 500."},
      {&PageSettingsFields::brailleLines, 11, "\"Lines\" must be between 12 and 50."},
      {&PageSettingsFields::barNumberHeight, 8, "\"Bar number height: \" must be between 0 and 7."},
  };
  for (const Case& c : cases) {
    PageSettingsFields fields;
    fields.Load(CPageDlg{});
    EXPECT_EQ(fields.Validate(), "");
    fields.*c.field = c.bad;
    EXPECT_EQ(fields.Validate(), c.message);
  }
}

TEST(PageSettingsFields, BrailleKeysStayCrossedAndShowBack) {
  Profile profile;
  CPageDlg page;
  PageSettingsFields fields;
  fields.Load(page, profile.Access());
  fields.brailleColumns = 40;
  fields.brailleLines = 30;
  ASSERT_TRUE(fields.Store(page, profile.Access()));
  EXPECT_EQ(profile.writes, (std::vector<std::string>{"BrailleLines=40", "BrailleColumns=30"}));
  PageSettingsFields again;
  again.Load(CPageDlg{}, profile.Access());
  EXPECT_EQ(again.brailleColumns, 40);
  EXPECT_EQ(again.brailleLines, 30);
}

TEST(PageSettingsFields, PaperOfThePrinterSetUp) {
  PageSettingsFields fields;
  fields.paperFormat = 1;
  fields.TakePaper(210, 297, true);
  EXPECT_EQ(fields.paperFormat, 9);
  EXPECT_TRUE(fields.landscape);
  fields.TakePaper(279.4, 215.9, false);  // letter given the other way round
  EXPECT_EQ(fields.paperFormat, 1);
  fields.TakePaper(100, 100, false);  // no code of ours: kept
  EXPECT_EQ(fields.paperFormat, 1);
  EXPECT_EQ(PageSettingsFields::kBasicColour, 0xFF00FFu);
}

TEST(DocumentFontButtons, SmallAndPageNumberFontsReachTheirOtherPlaces) {
  Profile profile;
  profile.values["SmallFont"] = "Calibri";
  CPageDlg page;
  ScriptedPageFontChooser chooser;
  ScopedFontChooser scoped(chooser);
  EXPECT_FALSE(ChooseDocumentFont(page, kFontSmall, profile.Access()));  // cancelled
  EXPECT_EQ(profile.values["SmallFont"], "Calibri");
  chooser.answer = FontChoice{"DejaVu Sans", 90, 400};
  EXPECT_TRUE(ChooseDocumentFont(page, kFontSmall, profile.Access()));
  EXPECT_EQ(profile.values["SmallFont"], "DejaVu Sans");
  EXPECT_TRUE(ChooseDocumentFont(page, kFontPageNumbers, profile.Access()));
  EXPECT_EQ(page.pageNumberText.font.logFont.lfFaceName, "DejaVu Sans");
  EXPECT_THROW(ChooseDocumentFont(page, kDocumentFontCount), std::invalid_argument);
}

TEST(DocumentFontButtons, PageNumberingFontEditsTheTypedTextInTheTextSettings) {
  struct Editor : SectionEditor {
    bool answer = false;
    std::string seen;
    bool EditTrackText(CTrackText& text) override {
      seen = text.text;
      if (answer) text.text = "- %d -";
      return answer;
    }
  } editor;
  ScopedSectionEditor scoped(editor);
  CPageDlg page;
  std::string typed = "p. %d";
  EXPECT_FALSE(EditPageNumberText(page, typed));
  EXPECT_EQ(editor.seen, "p. %d");  // the text as typed, not as stored
  EXPECT_EQ(typed, "p. %d");
  editor.answer = true;
  EXPECT_TRUE(EditPageNumberText(page, typed));
  EXPECT_EQ(typed, "- %d -");
}

TEST(DocumentFontButtons, TablaturePageFontIsTheDocumentsSignatureFont) {
  testing::ScriptedPrompts prompts;
  ScriptedPageFontChooser chooser;
  ScopedFontChooser scoped(chooser);
  EXPECT_FALSE(ChooseDocumentTabFont(nullptr));  // no document open
  EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::kExclamation});

  CBriotabDoc doc;
  doc.sections.push_back(std::make_unique<CSystemArray>());
  doc.sections.activeSection = 0;
  const CPageDlg before = doc.settings.pageSettings;
  EXPECT_FALSE(ChooseDocumentTabFont(&doc));  // cancelled
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontSignatures), before.DocumentFont(kFontSignatures));
  EXPECT_FALSE(doc.IsModified());

  chooser.answer = FontChoice{"DejaVu Serif", 140, 700};
  EXPECT_TRUE(ChooseDocumentTabFont(&doc));
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontSignatures).logFont.lfFaceName, "DejaVu Serif");
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontTitles), before.DocumentFont(kFontTitles));
  EXPECT_TRUE(doc.IsModified());
}

TEST(FontThemes, TimesNewRomanCountsAsInstalledAndAsksOnce) {
  testing::ScriptedPrompts prompts;
  CPageDlg page;
  const dfLogFont continuo = page.DocumentFont(kFontContinuo);
  const dfLogFont fingerings = page.DocumentFont(kFontFingerings);
  DocumentFontsFields fields;
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(fields.RunTheme(page, 0));
  EXPECT_EQ(prompts.questions.size(), 1u);  // the face resolves: only the confirmation
  EXPECT_NE(page.DocumentFont(kFontTitles).logFont.lfFaceName, "Times New Roman");

  prompts.QueueAnswer(Answer::kOk);
  EXPECT_TRUE(fields.RunTheme(page, 0));
  const dfLogFont& titles = page.DocumentFont(kFontTitles);
  EXPECT_EQ(titles.logFont.lfFaceName, "Times New Roman");
  EXPECT_EQ(titles.pointSize.cx, 180);
  EXPECT_EQ(titles.logFont.lfWeight, 400);
  const dfLogFont& captions = page.DocumentFont(kFontCaptions);
  EXPECT_EQ(captions.logFont.lfFaceName, "Arial");
  EXPECT_EQ(captions.pointSize.cx, 100);
  EXPECT_EQ(captions.logFont.lfWeight, 600);
  EXPECT_EQ(page.DocumentFont(kFontContinuo), continuo);
  EXPECT_EQ(page.DocumentFont(kFontFingerings), fingerings);
  EXPECT_EQ(page.DocumentFont(kFontContinuo).logFont.lfFaceName, "Vornelfg");
  EXPECT_EQ(fields.descriptions[kFontTitles], titles.GetDescription());
}

TEST(FontThemes, AMissingSerifFaceAsksFirstAndCancelChangesNothing) {
  dfLogFont probe;
  probe.InitFont("Linux Libertine", 120, 0);
  if (CheckInstalled(probe)) GTEST_SKIP() << "Linux Libertine is installed here";
  testing::ScriptedPrompts prompts;
  CPageDlg page;
  const CPageDlg before = page;
  DocumentFontsFields fields;
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(fields.RunTheme(page, 1));
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], "This font is not installed on your system. Do you still want to continue?");
  for (size_t i = 0; i < kDocumentFontCount; ++i) EXPECT_EQ(page.DocumentFont(i), before.DocumentFont(i)) << i;
  // Continuing after the first question still waits for the confirmation.
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(fields.RunTheme(page, 1));
  EXPECT_EQ(page.DocumentFont(kFontTitles), before.DocumentFont(kFontTitles));
}

}  // namespace
}  // namespace vornel
