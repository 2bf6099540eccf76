#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/text/CRTFTrackText.h"
#include "model/text/CTextStack.h"
#include "model/text/CTrackText.h"
#include "model/text/DIBornament.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::PrintXml;
using testing::ToHex;

// A track text's default font: "Arial", height -12, weight 400, proof quality, pitch 0x12,
// zoom 100.0f, point size 120/0, zoom scale 100/100, then colour 0 (after "6.3") and
// micro-tuning 0 (from "9.53").
constexpr const char* kDefaultFontHead =
    "F4 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 90 01 00 00"
    " 00 00 00 00 00 00 02 12"
    " FF FE FF 05 41 00 72 00 69 00 61 00 6C 00"
    " 00 00 00 00 00 00 00 00"
    " 00 00 C8 42"
    " 78 00 00 00 00 00 00 00"
    " 64 00 00 00 64 00 00 00"
    " 00 00 00 00";
constexpr const char* kFontMicroTuning = " 00 00 00 00";
const std::string kDefaultFontRecord = std::string(kDefaultFontHead) + kFontMicroTuning;
// Text "Hi", x 200, y -10, alignment 6, dx 50, dy 25.
constexpr const char* kSampleTextFields =
    " FF FE FF 02 48 00 69 00"
    " C8 00 00 00 F6 FF FF FF"
    " 06 00 00 00"
    " 32 00 00 00 19 00 00 00";
constexpr const char* kSampleFlags = " 09 00 00 00";

void SetSampleFields(CTrackText& t) {
  t.descriptor = "tp-title";
  t.text = "Hi";
  t.x = 200;
  t.y = -10;
  t.alignment = 6;
  t.dx = 50;
  t.dy = 25;
  t.flags = CTrackText::kVisible | CTrackText::kCentered;
}

CTrackText SampleText() {
  CTrackText t;
  SetSampleFields(t);
  return t;
}

TEST(TrackTextRecord, StoresFontTextPositionAlignmentOffsetsAndFlags) {
  const CTrackText fresh;
  EXPECT_EQ(fresh.flags, CTrackText::kVisible);
  EXPECT_EQ(fresh.font.logFont.lfWeight, 400);
  EXPECT_EQ(fresh.zoom, 100);

  ArchiveWriter w;
  SampleText().Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(kDefaultFontRecord + kSampleTextFields + kSampleFlags)));
}

TEST(TrackTextRecord, FlagsFromSevenFourOnOlderTextsAreVisible) {
  struct Case {
    const char* version;
    bool hasFlags;
    bool hasMicroTuning;
  };
  // "7.12" sorts before "7.4"; "7.40" after it.
  for (const Case c : {Case{"7.12", false, false}, Case{"6.9", false, false}, Case{"7.4", true, false},
                       Case{"7.40", true, false}, Case{"9.8.1.0", true, true}}) {
    std::string hex = std::string(kDefaultFontHead) + (c.hasMicroTuning ? kFontMicroTuning : "") + kSampleTextFields;
    if (c.hasFlags) hex += kSampleFlags;
    const auto bytes = HexBytes(hex);
    ArchiveReader r(bytes, c.version);
    CTrackText t;
    t.flags = 0;
    t.drawnRect = {1, 2, 3, 4};
    t.Load(r);
    EXPECT_TRUE(r.AtEnd()) << c.version;
    EXPECT_EQ(t.flags, c.hasFlags ? 9u : 1u) << c.version;
    EXPECT_EQ(t.text, "Hi");
    EXPECT_EQ(t.y, -10);
    EXPECT_EQ(t.dy, 25);
    EXPECT_EQ(t.drawnRect, Rect{});
  }
}

TEST(TrackTextRecord, ShortRecordIsAnArchiveError) {
  const auto bytes = HexBytes(kDefaultFontRecord + " FF FE FF 02 48 00 69 00 C8 00 00");
  ArchiveReader r(bytes);
  CTrackText t;
  EXPECT_THROW(t.Load(r), ArchiveError);
}

TEST(TrackTextXml, WritesTheAttributesInOrderAndReadsThemBack) {
  tinyxml2::XMLDocument doc;
  CTrackText sample = SampleText();
  sample.text = "Line one\n  Ärger & <co>";
  tinyxml2::XMLElement* element = sample.WriteXml(doc);
  doc.InsertEndChild(element);
  EXPECT_EQ(PrintXml(element),
            "<track-text descriptor=\"tp-title\" x=\"200\" y=\"-10\" alignment=\"6\" visibility=\"9\" dx=\"50\" "
            "dy=\"25\">Line one\n  Ärger &amp; &lt;co&gt;</track-text>");

  tinyxml2::XMLDocument parsed;
  ASSERT_EQ(parsed.Parse(PrintXml(element).c_str()), tinyxml2::XML_SUCCESS);
  CTrackText read;
  EXPECT_EQ(read.ReadXml(parsed.FirstChildElement()), nullptr);
  EXPECT_EQ(read.text, sample.text);
  EXPECT_EQ(read.descriptor, "tp-title");
  EXPECT_EQ(read.x, 200);
  EXPECT_EQ(read.y, -10);
  EXPECT_EQ(read.alignment, 6u);
  EXPECT_EQ(read.flags, 9u);
  EXPECT_EQ(read.dx, 50);
  EXPECT_EQ(read.dy, 25);
}

TEST(TrackTextXml, MissingAttributesReadZeroSoTheTextIsHidden) {
  tinyxml2::XMLDocument doc;
  doc.Parse("<track-text x=\"5\"/><next/>");
  CTrackText read = SampleText();
  EXPECT_STREQ(read.ReadXml(doc.FirstChildElement())->Name(), "next");
  EXPECT_EQ(read.flags, 0u);
  EXPECT_EQ(read.text, "");
  EXPECT_EQ(read.x, 5);
  EXPECT_EQ(read.y, 0);
  EXPECT_EQ(read.descriptor, "");
}

TEST(TrackText, AppendTextJoinsWithASeparator) {
  struct Case {
    const char* before;
    const char* added;
    const char* after;
  };
  for (const Case c : {Case{"Allemande", "  Courante", "Allemande -- Courante"}, Case{"", "  Courante", "Courante"},
                       Case{"  same", "  same", "  same"}, Case{"Allemande", "   ", "Allemande"},
                       Case{"Allemande", "", "Allemande"}}) {
    CTrackText t;
    t.text = c.before;
    t.AppendText(c.added);
    EXPECT_EQ(t.text, c.after) << '"' << c.before << "\" + \"" << c.added << '"';
  }
}

TEST(TrackText, SplitStringAtCharWorksFromTheEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"alone ", {"alone "}},
      {"a;b ;c", {"c", "b", "a"}},
      {" first ; second\t; ", {"", " second", " first "}},
      {"a;;", {"", "", "a"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> pieces{"kept"};
    EXPECT_EQ(SplitStringAtChar(c.text, ';', pieces), c.pieces.size() + 1) << c.text;
    pieces.erase(pieces.begin());
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
}

TEST(TrackTextPlacement, DeviceRectangleBecomesPositionAndOffsets) {
  CTrackText t;
  t.text = "Title";
  t.origin = {100, 50};
  t.zoom = 200;
  // 300 pixels right of the origin at 300 pixels per inch: 150 at zoom 100, 254 tenths of a mm.
  t.SetPlacement({400, 350, 500, 380}, 300, 300);
  EXPECT_EQ(t.x, 150);
  EXPECT_EQ(t.y, 150);
  EXPECT_EQ(t.dx, 254);
  EXPECT_EQ(t.dy, 254);
  EXPECT_EQ(t.drawnRect, (Rect{400, 350, 500, 380}));

  // A zoom and a resolution of 0 from a file never divide by zero.
  t.zoom = 0;
  t.SetPlacement({200, 150, 210, 160}, 0, 0);
  EXPECT_EQ(t.x, 100);
  EXPECT_EQ(t.dx, 254);
}

TEST(TrackTextPlacement, PlaceInBoxAlignsTheMeasuredText) {
  struct Case {
    int mode;
    int32_t x;
  };
  // The box is given reversed; it spans 100 to 500 and the text is 120 wide.
  for (const Case c : {Case{CTrackText::kPlaceLeft, 100}, Case{CTrackText::kPlaceRight, 380},
                       Case{CTrackText::kPlaceCenter, 240}, Case{9, 100}}) {
    CTrackText t;
    t.text = "Title";
    t.PlaceInBox({500, 40, 100, 10}, c.mode, 30, {120, 20}, {0, 0}, 100, 254, 254);
    EXPECT_EQ(t.x, c.x) << c.mode;
    EXPECT_EQ(t.y, 30);
    EXPECT_EQ(t.span, (SizePair{500, 40}));
    EXPECT_EQ(t.drawnRect, (Rect{c.x, 30, c.x + 120, 50}));
    EXPECT_EQ(t.dx, c.x);  // 254 pixels per inch: one pixel per tenth of a millimetre
  }
  CTrackText empty;
  empty.origin = {7, 7};
  empty.PlaceInBox({0, 0, 100, 100}, CTrackText::kPlaceLeft, std::nullopt, {0, 0}, {1, 1}, 50, 254, 254);
  EXPECT_EQ(empty.origin, (Point{7, 7}));  // an empty text keeps its anchor
  EXPECT_EQ(empty.zoom, 100);
}

TEST(TrackTextPlacement, DraggedOffsetsWaitForTheNextLayout) {
  CTrackText t;
  t.origin = {10, 20};
  t.zoom = 50;
  t.MoveTo({110, 70});
  EXPECT_EQ(t.x, 200);
  EXPECT_EQ(t.y, 100);
  EXPECT_EQ(t.dx, 100);
  EXPECT_EQ(t.dy, 50);
  EXPECT_EQ(t.flags, CTrackText::kVisible | CTrackText::kPositionPending);
  t.ConvertPendingOffsets(127, 254);
  EXPECT_EQ(t.dx, 200);
  EXPECT_EQ(t.dy, 50);
  EXPECT_EQ(t.flags, CTrackText::kVisible);
  t.ConvertPendingOffsets(127, 254);  // nothing pending: unchanged
  EXPECT_EQ(t.dx, 200);
}

// The sample text with the rectangle (10, 20, 410, 220) and the origin (3, 4).
constexpr const char* kRichTail = " 0A 00 00 00 14 00 00 00 9A 01 00 00 DC 00 00 00 03 00 00 00 04 00 00 00";

CRTFTrackText SampleRichText() {
  CRTFTrackText t;
  SetSampleFields(t);
  t.storedRect = {10, 20, 410, 220};
  t.origin = {3, 4};
  return t;
}

TEST(RichTrackTextRecord, AddsTheRectangleAndTheOriginAndRestoresTheDrawnRectangle) {
  const CRTFTrackText fresh;
  EXPECT_EQ(fresh.descriptor, "rich-text");
  EXPECT_EQ(fresh.trackerStyle, CTrackText::kTrackerDottedResize);

  ArchiveWriter w;
  SampleRichText().Store(w);
  EXPECT_EQ(ToHex(w.Bytes()),
            ToHex(HexBytes(kDefaultFontRecord + kSampleTextFields + kSampleFlags + kRichTail)));
  ArchiveReader r(w.Bytes());
  CRTFTrackText read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.drawnRect, (Rect{10, 20, 410, 220}));
  EXPECT_EQ(read.origin, (Point{3, 4}));

  const auto shortBytes = HexBytes(kDefaultFontRecord + kSampleTextFields + kSampleFlags + " 0A 00");
  ArchiveReader shortReader(shortBytes);
  EXPECT_THROW(read.Load(shortReader), ArchiveError);
}

TEST(RichTrackTextXml, NamedElementWithTheTextPartAndTheTracker) {
  tinyxml2::XMLDocument doc;
  const tinyxml2::XMLElement* element = SampleRichText().WriteXml(doc, "rtf-title");
  EXPECT_EQ(PrintXml(element),
            "<rtf-track-text name=\"rtf-title\"><track-text descriptor=\"tp-title\" x=\"200\" y=\"-10\" "
            "alignment=\"6\" visibility=\"9\" dx=\"50\" dy=\"25\">Hi</track-text>"
            "<tracker l=\"10\" r=\"410\" t=\"20\" b=\"220\" offet-cx=\"3\" offet-cy=\"4\"/></rtf-track-text>");

  tinyxml2::XMLDocument parsed;
  parsed.Parse((PrintXml(element) + "<after/>").c_str());
  CRTFTrackText read;
  EXPECT_STREQ(read.ReadXml(parsed.FirstChildElement())->Name(), "after");
  EXPECT_EQ(read.text, "Hi");
  EXPECT_EQ(read.storedRect, (Rect{10, 20, 410, 220}));
  EXPECT_EQ(read.drawnRect, read.storedRect);
  EXPECT_EQ(read.origin, (Point{3, 4}));
}

TEST(RichTrackText, DefaultRectangleAndCentring) {
  CRTFTrackText t;
  t.SetDefaultRect(200, 200, 400, 200);
  EXPECT_EQ(t.drawnRect, (Rect{200, 200, 600, 300}));
  EXPECT_EQ(t.storedRect, t.drawnRect);
  EXPECT_EQ(t.x, 200);
  t.drawnRect.bottom = 900;  // a rectangle with a bottom keeps it
  t.SetDefaultRect(0, 0, 10, 10);
  EXPECT_EQ(t.drawnRect, (Rect{0, 0, 10, 900}));

  t.drawnRect = {0, 0, 100, 50};
  t.CenterBetween(1000, 2000);
  EXPECT_EQ(t.drawnRect, (Rect{1450, 0, 1550, 50}));
  EXPECT_EQ(t.storedRect, t.drawnRect);
  EXPECT_EQ(t.x, 1450);
}

DIBornament SamplePicture() {
  DIBornament p;
  p.path = "C:\\Scans\\f12r.jpg";
  p.sizePercent = 80;
  p.active = 1;
  p.indentations = 2;
  p.indentedStaves = 3;
  p.autoIndent = 1;
  p.captionPlacement = 2;
  return p;
}

TEST(PictureRecord, TrackTextPartThenThePictureFields) {
  const DIBornament fresh;
  EXPECT_EQ(fresh.text, "Caption");
  EXPECT_EQ(fresh.dx, 50);
  EXPECT_EQ(fresh.dy, 50);
  EXPECT_EQ(fresh.sizePercent, 100u);
  EXPECT_EQ(fresh.mode, DIBornament::kModeNew);

  ArchiveWriter w;
  SamplePicture().Store(w);
  const std::string expected = kDefaultFontRecord +
                               " FF FE FF 07 43 00 61 00 70 00 74 00 69 00 6F 00 6E 00"  // "Caption"
                               " 00 00 00 00 00 00 00 00 00 00 00 00 32 00 00 00 32 00 00 00 01 00 00 00"
                               " 01 00 00 00 01 00 00 00"  // active, caption placement (below, as read)
                               " FF FE FF 11 43 00 3A 00 5C 00 53 00 63 00 61 00 6E 00 73 00 5C 00"
                               " 66 00 31 00 32 00 72 00 2E 00 6A 00 70 00 67 00"
                               " 50 00 00 00 02 00 00 00 03 00 00 00 01 00 00 00";
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(expected)));

  ArchiveReader r(w.Bytes());
  DIBornament read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.path, "C:\\Scans\\f12r.jpg");
  EXPECT_EQ(read.sizePercent, 80u);
  EXPECT_EQ(read.indentedStaves, 3u);
  EXPECT_EQ(read.captionPlacement, DIBornament::kCaptionBelow);  // always below after a load
}

TEST(PictureXml, WritesNameFolderAndFormatAndReadsThePathBack) {
  tinyxml2::XMLDocument doc;
  const tinyxml2::XMLElement* element = SamplePicture().WriteXml(doc);
  EXPECT_EQ(PrintXml(element),
            "<dib-image name=\"f12r.jpg\" path=\"C:\\Scans\\\" size=\"80\" active=\"1\">"
            "<track-text descriptor=\"\" x=\"0\" y=\"0\" alignment=\"0\" visibility=\"1\" dx=\"50\" dy=\"50\">"
            "Caption</track-text>"
            "<format active=\"1\" indentations=\"2\" indented-staves=\"3\" auto-indent=\"1\"/></dib-image>");

  tinyxml2::XMLDocument parsed;
  parsed.Parse(PrintXml(element).c_str());
  DIBornament read;
  read.autoIndent = 0;
  EXPECT_EQ(read.ReadXml(parsed.FirstChildElement()), nullptr);
  EXPECT_EQ(read.path, "C:\\Scans\\f12r.jpg");
  EXPECT_EQ(read.sizePercent, 80u);
  EXPECT_EQ(read.active, 1u);
  EXPECT_EQ(read.indentations, 2u);
  EXPECT_EQ(read.indentedStaves, 3u);
  EXPECT_EQ(read.autoIndent, 1u);
  EXPECT_EQ(read.dx, 50);
}

TEST(PictureXml, EmptyPictureAndBooleanForms) {
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(PrintXml(DIBornament().WriteXml(doc)), "<dib-image empty=\"1\"/>");

  doc.Parse(
      "<dib-image empty=\"1\"/>"
      "<dib-image name=\"a.png\" path=\"/home/u/\" active=\"true\"><track-text visibility=\"1\">c</track-text>"
      "<format auto-indent=\"false\" indentations=\"4\"/></dib-image>");
  DIBornament picture;
  const tinyxml2::XMLElement* second = picture.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(picture.path, "");
  EXPECT_EQ(picture.text, "Caption");  // nothing read without a file name
  picture.ReadXml(second);
  EXPECT_EQ(picture.path, "/home/u/a.png");
  EXPECT_EQ(picture.active, 0u);  // the format element's "active" is missing
  EXPECT_EQ(picture.autoIndent, 0u);
  EXPECT_EQ(picture.indentations, 4u);
  EXPECT_EQ(picture.sizePercent, 0u);
  EXPECT_EQ(picture.text, "c");
}

TEST(TrackTextFamily, CreatedByClassNameAndClonedWithTheirKind) {
  for (const std::string_view name : {"CTrackText", "CRTFTrackText", "DIBornament"}) {
    const auto created = CTrackText::CreateByClassName(name);
    ASSERT_NE(created, nullptr) << name;
    EXPECT_EQ(created->ClassName(), name);
    EXPECT_EQ(created->Clone()->ClassName(), name);
  }
  EXPECT_EQ(CTrackText::CreateByClassName("CObject"), nullptr);

  // Written by reference in an array, each text is read back as its own kind.
  std::vector<std::unique_ptr<CTrackText>> texts;
  texts.push_back(std::make_unique<CTrackText>(SampleText()));
  texts.push_back(std::make_unique<CRTFTrackText>(SampleRichText()));
  texts.push_back(std::make_unique<DIBornament>(SamplePicture()));
  ArchiveWriter w;
  w.WriteObjectArray(texts);
  ArchiveReader r(w.Bytes());
  std::vector<std::unique_ptr<CTrackText>> read;
  r.ReadOwnedObjectArray<CTrackText>(read);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[1]->ClassName(), "CRTFTrackText");
  EXPECT_EQ(static_cast<DIBornament*>(read[2].get())->path, "C:\\Scans\\f12r.jpg");
}

CTextStack FourTexts() {
  CTextStack stack;
  for (const char* d : {"tp-title", "tp-author", "tp-publisher", "contents-table"}) {
    stack.push_back(std::make_unique<CTrackText>(d));
  }
  return stack;
}

TEST(TextStackXml, WritesTheTextsAndReadsThemIntoTheTextsHeld) {
  CTextStack stack = FourTexts();
  stack[0]->text = "Pièces";
  stack[3]->text = "Table of Contents";
  stack[1]->font.pointSize.cx = 240;
  tinyxml2::XMLDocument doc;
  const tinyxml2::XMLElement* texts = stack.WriteXml(doc);
  EXPECT_STREQ(texts->Attribute("count"), "4");
  EXPECT_STREQ(texts->LastChildElement()->GetText(), "Table of Contents");
  const tinyxml2::XMLElement* fonts = stack.WriteFontsXml(doc, "titlepage-fonts");
  EXPECT_STREQ(fonts->Name(), "titlepage-fonts");
  EXPECT_STREQ(fonts->Attribute("count"), "4");
  EXPECT_STREQ(fonts->FirstChildElement()->Name(), "track-font");
  EXPECT_STREQ(fonts->FirstChildElement()->Attribute("descriptor"), "tp-title");

  tinyxml2::XMLDocument parsed;
  parsed.Parse((PrintXml(texts) + PrintXml(fonts)).c_str());
  CTextStack read = FourTexts();
  const tinyxml2::XMLElement* next = read.ReadXml(parsed.FirstChildElement());
  EXPECT_STREQ(next->Name(), "titlepage-fonts");
  EXPECT_EQ(read.ReadFontsXml(next), nullptr);
  EXPECT_EQ(read[0]->text, "Pièces");
  EXPECT_EQ(read[3]->text, "Table of Contents");
  EXPECT_EQ(read[1]->font.pointSize.cx, 240);
}

TEST(TextStackXml, CountsAreCheckedAgainstTheTextsAndTheElements) {
  tinyxml2::XMLDocument doc;
  // More elements announced than present: reading stops at the last one.
  doc.Parse("<track-texts count=\"3\"><track-text>a</track-text></track-texts>");
  CTextStack stack = FourTexts();
  stack[1]->text = "kept";
  stack.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(stack[0]->text, "a");
  EXPECT_EQ(stack[1]->text, "kept");

  // More texts announced than the stack holds is refused.
  doc.Parse("<track-texts count=\"5\"/>");
  EXPECT_THROW(stack.ReadXml(doc.FirstChildElement()), std::out_of_range);

  testing::ScriptedPrompts prompts;
  doc.Parse("<texts count=\"1\"/>");
  EXPECT_THROW(stack.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
  EXPECT_EQ(prompts.messages.at(0), "Mismatch error on tag: <texts> should be <track-texts>");

  // A font list longer than the stack or than its elements stops at what is there.
  doc.Parse("<fonts count=\"9\"><track-font pointsize-cx=\"77\"><mlf/></track-font></fonts>");
  EXPECT_EQ(stack.ReadFontsXml(doc.FirstChildElement()), nullptr);
  EXPECT_EQ(stack[0]->font.pointSize.cx, 77);
  EXPECT_EQ(stack[1]->font.pointSize.cx, 120);
}

TEST(TextStack, CentringClearingAndFormatCopy) {
  CTextStack stack = FourTexts();
  stack[1]->flags = 0;  // hidden texts are left alone
  stack.push_back(std::make_unique<DIBornament>());
  stack.CalcTextRects(1000, 500, 0, 100, [](const CTrackText& t) { return SizePair{static_cast<int32_t>(100 * t.descriptor.size()), 10}; });
  EXPECT_EQ(stack[0]->x, 1000 - 500 - 400);  // "tp-title": 800 wide, centred between 1000 and 0
  EXPECT_EQ(stack[0]->span, (SizePair{1000, 500}));
  EXPECT_EQ(stack[1]->x, 0);
  EXPECT_EQ(stack[4]->x, 0);  // a picture is not measured as text

  CTextStack other = FourTexts();
  other[2]->font.pointSize.cx = 333;
  other[2]->text = "not copied";
  stack[2]->text = "x";
  stack.CopyFormatFrom(other);
  EXPECT_EQ(stack[2]->font.pointSize.cx, 333);
  EXPECT_EQ(stack[2]->text, "x");
  stack.ClearTexts();
  EXPECT_EQ(stack[2]->text, "");
  EXPECT_EQ(stack[4]->text, "");
}

}  // namespace
}  // namespace vornel
