// The title-page view without a window: what it draws is what a click finds, a dragged text
// keeps its new place through a save and a reopen, a double click opens the element's editor,
// and the title page's commands centre, add a picture and set the frame.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "ViewFixtures.h"
#include "document/CDocumentSettings.h"
#include "document/CTitlePage.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/score/SectionEditor.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/TextFaces.h"
#include "support/ScriptedRichTextEditor.h"
#include "view/render/PictureText.h"
#include "view/settings/SettingsCommands.h"
#include "view/titlepage/CTitlePageView.h"
#include "view/titlepage/TitlePageCommands.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using Element = view::CTitlePageView::Element;
using ElementKind = Element::Kind;

std::unique_ptr<CVornelTabDoc> TitlePageDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CDocumentSettings& settings = doc->settings;
  settings.pageSettings.paperFormat = 9;
  settings.texts.ClearTexts();
  CTrackText& author = settings.Text(CDocumentSettings::kAuthor);
  author.text = "John Dowland";
  author.x = 120;
  author.y = 420;
  CTrackText& title = settings.titlePage.Text(CTitlePage::kTitle);
  title.text = "Lachrimae";
  title.x = 150;
  title.y = 200;
  CRTFTrackText& formatted = settings.titlePage.formattedTitle;
  formatted.text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\qc\\i Seaven Teares\\par}";
  formatted.SetDefaultRect(200, 600, 300, 120);
  return doc;
}

struct Rig {
  testing::ScriptedPrompts prompts;
  testing::RecordingFramePanes panes;
  std::unique_ptr<CVornelTabDoc> doc;
  testing::TestWindow window;
  view::CTitlePageView view;

  explicit Rig(std::unique_ptr<CVornelTabDoc> document) : doc(std::move(document)), view(*doc, window) {
    view.OnInitialUpdate();
    Draw();
    doc->SetModifiedFlag(false);
  }
  // Measured as the view measures when it centres.
  std::string Draw() {
    RecordingDevice dc(96, false, PangoTextEngine::Shared());
    dc.SetExtent(window.client);
    view.OnPrepareDC(dc);
    view.OnDraw(dc);
    view.DrawOverlays(dc);
    return dc.Log();
  }
  std::optional<Element> Find(ElementKind kind, size_t index = 0) const {
    for (const Element& element : view.Elements()) {
      if (element.kind == kind && element.index == index) return element;
    }
    return std::nullopt;
  }
  // The middle of an element, as a client point.
  Point Middle(const Element& element) const { return view.LogicalToClient(element.rect.CenterPoint()); }
  bool Drag(Point from, Point to) {
    const bool started = view.OnLButtonDown({from, view::kLeftButton, 0});
    view.OnMouseMove({to, view::kLeftButton, 0});
    return view.OnLButtonUp({to, 0, 0}) && started;
  }
};

// Each kind of text that can be dragged, found again where it was put.
struct Draggable {
  ElementKind kind;
  size_t index;
};
constexpr Draggable kDraggables[] = {
    {ElementKind::kDocumentText, CDocumentSettings::kAuthor},
    {ElementKind::kTitlePageText, CTitlePage::kTitle},
    {ElementKind::kFormattedTitle, 0},
};

TEST(TitlePageView, ADraggedTextKeepsItsPlaceAfterSaveAndReopen) {
  for (const char* extension : {".btxml", ".btb"}) {
    const std::string path = (fs::temp_directory_path() / ("title-page-drag" + std::string(extension))).string();
    std::vector<Rect> moved;
    {
      Rig rig(TitlePageDocument());
      for (const Draggable& d : kDraggables) {
        const std::optional<Element> element = rig.Find(d.kind, d.index);
        ASSERT_TRUE(element) << static_cast<int>(d.kind);
        const Point from = rig.Middle(*element);
        EXPECT_TRUE(rig.Drag(from, {from.x + 37, from.y - 23}));
        // The tracker followed the pointer; the text stands there after the next drawing.
        rig.Draw();
        Rect expected = element->rect;
        expected.Offset(37, -23);
        ASSERT_TRUE(rig.Find(d.kind, d.index));
        EXPECT_EQ(rig.Find(d.kind, d.index)->rect, expected) << static_cast<int>(d.kind) << extension;
        moved.push_back(expected);
      }
      EXPECT_TRUE(rig.doc->IsModified());
      ASSERT_TRUE(SaveDocumentFile(*rig.doc, path));
    }
    OpenedDocument reopened = OpenDocumentFile(path);
    ASSERT_NE(reopened.document, nullptr) << reopened.message;
    Rig again(std::move(reopened.document));
    for (size_t i = 0; i < std::size(kDraggables); ++i) {
      const std::optional<Element> element = again.Find(kDraggables[i].kind, kDraggables[i].index);
      ASSERT_TRUE(element);
      EXPECT_EQ(element->rect, moved[i]) << i << extension;
    }
    fs::remove(path);
  }
}

TEST(TitlePageView, WhatADragDoesNotMove) {
  auto doc = TitlePageDocument();
  doc->settings.titlePage.picture.path = "no-such-picture.png";
  doc->settings.titlePage.Text(CTitlePage::kPublisher).text = "hidden";
  doc->settings.titlePage.Text(CTitlePage::kPublisher).flags = 0;
  Rig rig(std::move(doc));
  // A hidden text is not there to be hit; the picture is there but is not dragged.
  EXPECT_FALSE(rig.Find(ElementKind::kTitlePageText, CTitlePage::kPublisher));
  const std::optional<Element> picture = rig.Find(ElementKind::kPicture);
  ASSERT_TRUE(picture);
  EXPECT_FALSE(rig.view.OnLButtonDown({rig.Middle(*picture), view::kLeftButton, 0}));
  EXPECT_FALSE(rig.view.OnLButtonDown({{2, 2}, view::kLeftButton, 0}));
  EXPECT_FALSE(rig.view.Dragging());

  const Element title = *rig.Find(ElementKind::kTitlePageText, CTitlePage::kTitle);
  const CTrackText before = rig.doc->settings.titlePage.Text(CTitlePage::kTitle);
  // Let go where it was taken.
  EXPECT_FALSE(rig.Drag(rig.Middle(title), rig.Middle(title)));
  // Let go of by the window (capture lost, Escape).
  ASSERT_TRUE(rig.view.OnLButtonDown({rig.Middle(title), view::kLeftButton, 0}));
  rig.view.OnMouseMove({{rig.Middle(title).x + 50, 10}, view::kLeftButton, 0});
  ASSERT_TRUE(rig.view.TrackerRect());
  rig.view.CancelDrag();
  EXPECT_FALSE(rig.view.TrackerRect());
  EXPECT_FALSE(rig.view.OnLButtonUp({{rig.Middle(title).x + 50, 10}, 0, 0}));
  EXPECT_EQ(rig.window.log, (std::vector<std::string>{"capture", "release", "capture", "release"}));
  EXPECT_EQ(rig.doc->settings.titlePage.Text(CTitlePage::kTitle).x, before.x);
  EXPECT_EQ(rig.doc->settings.titlePage.Text(CTitlePage::kTitle).y, before.y);
  EXPECT_FALSE(rig.doc->IsModified());

  // Scrolled, the same text is found at the client point its logical place gives.
  rig.window.scroll = {40, 90};
  rig.Draw();
  const Element scrolled = *rig.Find(ElementKind::kTitlePageText, CTitlePage::kTitle);
  EXPECT_EQ(rig.view.ElementAt({scrolled.rect.left + 2 - 40, scrolled.rect.top + 2 - 90}, false), scrolled);

  // The metadata left off the title page cannot be hit where it was drawn before.
  const Element author = *rig.Find(ElementKind::kDocumentText, CDocumentSettings::kAuthor);
  rig.doc->settings.titlePage.printTitlepage |= CTitlePage::kExcludeMetadataBit;
  rig.Draw();
  EXPECT_FALSE(rig.Find(ElementKind::kDocumentText, CDocumentSettings::kAuthor));
  EXPECT_FALSE(rig.view.OnLButtonDown({rig.Middle(author), view::kLeftButton, 0}));
}

struct RecordingTextEditor : SectionEditor {
  bool ok = true;
  std::vector<std::string> edited;
  bool EditTrackText(CTrackText& text) override {
    edited.push_back(text.text);
    if (ok) text.text += "!";
    return ok;
  }
};

TEST(TitlePageView, ADoubleClickOpensTheEditorOfWhatItLandsOn) {
  auto doc = TitlePageDocument();
  doc->settings.titlePage.picture.path = "no-such-picture.png";
  Rig rig(std::move(doc));
  RecordingTextEditor texts;
  ScopedSectionEditor scopedTexts(texts);
  testing::ScriptedRichTextEditor rich;
  rich.answer = "{\\rtf1 Teares}";
  const auto doubleClick = [&rig](ElementKind kind, size_t index) {
    return rig.view.OnLButtonDblClk({rig.Middle(*rig.Find(kind, index)), view::kLeftButton, 0});
  };

  EXPECT_TRUE(doubleClick(ElementKind::kDocumentText, CDocumentSettings::kAuthor));
  EXPECT_TRUE(doubleClick(ElementKind::kTitlePageText, CTitlePage::kTitle));
  EXPECT_EQ(texts.edited, (std::vector<std::string>{"John Dowland", "Lachrimae"}));
  EXPECT_EQ(rig.doc->settings.titlePage.Text(CTitlePage::kTitle).text, "Lachrimae!");
  EXPECT_TRUE(rig.doc->IsModified());

  // Cancel changes nothing.
  rig.doc->SetModifiedFlag(false);
  texts.ok = false;
  EXPECT_TRUE(doubleClick(ElementKind::kTitlePageText, CTitlePage::kTitle));
  EXPECT_FALSE(rig.doc->IsModified());

  EXPECT_TRUE(doubleClick(ElementKind::kFormattedTitle, 0));
  EXPECT_EQ(rich.seen.size(), 1u);
  EXPECT_EQ(rig.doc->settings.titlePage.formattedTitle.text, "{\\rtf1 Teares}");

  // The picture asks for a new file; a cancelled prompt keeps the old one.
  rig.prompts.QueueFile(std::nullopt);
  EXPECT_TRUE(doubleClick(ElementKind::kPicture, 0));
  EXPECT_EQ(rig.doc->settings.titlePage.picture.path, "no-such-picture.png");
  rig.prompts.QueueFile("other.png");
  EXPECT_TRUE(doubleClick(ElementKind::kPicture, 0));
  EXPECT_EQ(rig.doc->settings.titlePage.picture.path, "other.png");
  EXPECT_EQ(rig.prompts.filePrompts.size(), 2u);

  // Nowhere: nothing opens.
  EXPECT_FALSE(rig.view.OnLButtonDblClk({{1, 1}, view::kLeftButton, 0}));
}

std::string WritePicture(const std::string& name, int32_t width) {
  const std::string path = (fs::temp_directory_path() / name).string();
  ImageDevice image(width, 20, 96, 0x336699);
  EXPECT_TRUE(image.WritePng(path));
  return path;
}

int32_t CentreOffset(const Rig& rig, const Rect& drawn) {
  const int32_t left = rig.doc->settings.titlePage.origin.x;
  return (drawn.left + drawn.right) / 2 - left - rig.view.LastDrawing().Width() / 2;
}

TEST(TitlePageView, AddedPicturesFitTheFrameAndEverythingIsCentred) {
  Rig rig(TitlePageDocument());
  const view::CommandTable& commands = rig.view.Commands();
  const CTitlePage& titlePage = rig.doc->settings.titlePage;
  ASSERT_EQ(titlePage.frameRect.Width(), 794);  // A4 at 96 pixels to the inch
  EXPECT_GT(std::abs(CentreOffset(rig, rig.Find(ElementKind::kTitlePageText, CTitlePage::kTitle)->rect)), 1);

  // No file chosen: nothing happens.
  rig.prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(rig.view.AddTitlePageImage());
  EXPECT_TRUE(titlePage.picture.path.empty());

  // A picture that fits keeps its scale; one wider than 90 % of the frame is brought to it
  // (794 * 9 / 10 = 714 pixels: 71 % of 1000).
  const struct {
    int32_t width;
    uint32_t scale;
  } cases[] = {{200, 100}, {1000, 71}};
  for (const auto& c : cases) {
    rig.prompts.QueueFile(WritePicture("title-page-" + std::to_string(c.width) + ".png", c.width));
    EXPECT_TRUE(commands.Execute({view::kAddTitlePageImageCommand, std::nullopt, {}}));
    EXPECT_EQ(titlePage.picture.sizePercent, c.scale) << c.width;
    rig.Draw();
    const std::optional<Element> picture = rig.Find(ElementKind::kPicture);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->rect.Width(), c.width * static_cast<int32_t>(c.scale) / 100);
    EXPECT_LE(std::abs(CentreOffset(rig, picture->rect)), 1) << c.width;
  }

  // Adding a picture centred the texts as well; so does centring after a drag.
  for (const Draggable& d : kDraggables) {
    EXPECT_LE(std::abs(CentreOffset(rig, rig.Find(d.kind, d.index)->rect)), 1) << static_cast<int>(d.kind);
  }
  const Point title = rig.Middle(*rig.Find(ElementKind::kTitlePageText, CTitlePage::kTitle));
  ASSERT_TRUE(rig.Drag(title, {title.x + 60, title.y}));
  rig.Draw();
  EXPECT_EQ(CentreOffset(rig, rig.Find(ElementKind::kTitlePageText, CTitlePage::kTitle)->rect), 60);
  // A text drawn centred on its position is centred as well as one drawn from its left.
  rig.doc->settings.Text(CDocumentSettings::kAuthor).flags |= CTrackText::kCentered;
  rig.doc->SetModifiedFlag(false);
  EXPECT_TRUE(commands.Execute({view::kCenterTitleElementsCommand, std::nullopt, {}}));
  EXPECT_TRUE(rig.doc->IsModified());
  rig.Draw();
  for (const Draggable& d : kDraggables) {
    EXPECT_LE(std::abs(CentreOffset(rig, rig.Find(d.kind, d.index)->rect)), 1) << static_cast<int>(d.kind);
  }
}

TEST(TitlePageView, TheFrameIsTheGalleryItemChosenLast) {
  Rig rig(TitlePageDocument());
  const struct {
    std::optional<long> item;
    int32_t style;
  } cases[] = {{2, 2}, {std::nullopt, 2}, {7, 2}, {-1, 2}, {3, 3}, {0, 0}};
  for (const auto& c : cases) {
    EXPECT_TRUE(rig.view.Commands().Execute({view::kTitlePageFrameCommand, c.item, {}}));
    EXPECT_EQ(rig.doc->settings.titlePage.frameStyle, c.style) << (c.item ? *c.item : -100);
  }
}

struct NoDialogs : SettingsDialogs {
  int titlePage = 0;
  bool EditTitlePage(CTitlePage& page) override {
    ++titlePage;
    page.frameStyle = 1;
    return true;
  }
};

TEST(TitlePageView, EditTitlePageOpensTheViewAndTheDocumentsCommandsRedrawIt) {
  Rig rig(TitlePageDocument());
  view::CommandTable document;
  view::RegisterTitlePageCommands(document, *rig.doc);
  view::RegisterSettingsCommands(document, *rig.doc);
  rig.doc->settings.pageSettings.zoom = 150;
  EXPECT_TRUE(document.Execute({view::kEditTitlePageCommand, std::nullopt, {}}));
  EXPECT_EQ(rig.doc->settings.pageSettings.zoom, 100);
  EXPECT_EQ(rig.panes.log, std::vector<std::string>{"title page view"});
  EXPECT_TRUE(rig.doc->IsModified());

  // The view first, the document after it: the title page settings reach the document's
  // table and the view redraws.
  NoDialogs dialogs;
  ScopedSettingsDialogs scoped(dialogs);
  view::CommandRouter router;
  router.SetRoute({&rig.view.Commands(), &document});
  rig.window.Forget();
  EXPECT_TRUE(router.Dispatch(view::kTitlePageSettingsCommand));
  EXPECT_EQ(dialogs.titlePage, 1);
  EXPECT_TRUE(rig.window.WholeInvalidated());
  EXPECT_TRUE(router.State(view::kCenterTitleElementsCommand).enabled);
}

}  // namespace
}  // namespace vornel
