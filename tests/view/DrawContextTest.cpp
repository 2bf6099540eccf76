// The drawing context: page settings and pictures reach only the device they are attached to
// (and the devices made to measure like it), for the context's lifetime; each document keeps
// its own pictures and the screen resolution its view recorded.

#include <gtest/gtest.h>

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "model/text/CTrackText.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/PictureText.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {
namespace {

// A screen marker is drawn only where the page settings ask for markers.
bool DrawsMarker(DeviceContext& dc) {
  GraphicUtil(dc, 100).DrawScreenMarker(0x00FF00, 20, 20);
  auto* recording = dynamic_cast<RecordingDevice*>(&dc);
  const bool drawn = recording != nullptr && !recording->Log().empty();
  if (recording != nullptr) recording->ClearLog();
  return drawn;
}

TEST(DrawContext, SettingsReachOnlyTheDeviceTheyAreAttachedTo) {
  PageDrawSettings markers;
  markers.showMarkers = true;
  PageDrawSettings plain;
  RecordingDevice first(96, false);
  RecordingDevice second(96, false);
  {
    // Two drawings side by side, each with its own settings.
    const DrawContext withMarkers(first, markers);
    const DrawContext without(second, plain);
    EXPECT_TRUE(DrawsMarker(first));
    EXPECT_FALSE(DrawsMarker(second));
    EXPECT_EQ(PageSettingsOf(first), &markers);
    EXPECT_EQ(PageSettingsOf(second), &plain);
    // A device made to measure like the first finds its settings.
    const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&first);
    EXPECT_EQ(PageSettingsOf(*measuring), &markers);
    {
      // A nested drawing on the same device, then the outer one's settings again.
      const DrawContext nested(first, plain);
      EXPECT_FALSE(DrawsMarker(first));
    }
    EXPECT_TRUE(DrawsMarker(first));
  }
  // Gone with the context: nothing is left behind for the next drawing.
  EXPECT_EQ(PageSettingsOf(first), nullptr);
  EXPECT_FALSE(DrawsMarker(first));
}

TEST(DrawContext, EachDocumentKeepsItsOwnPictures) {
  CBriotabDoc one;
  CBriotabDoc other;
  PictureCache& pictures = PicturesOf(one);
  EXPECT_EQ(&PicturesOf(one), &pictures);
  EXPECT_NE(&PicturesOf(other), &pictures);
  RecordingDevice dc(96, false);
  const PageDrawSettings settings;
  const DrawContext context(dc, settings, &pictures);
  EXPECT_EQ(DrawContextOf(dc)->Pictures(), &pictures);
}

// A text's offset is kept in pixels of the screen the view drew on; printing scales it by the
// printer's resolution over that screen's, which each document's settings carry.
TEST(DrawContext, PrintedOffsetsScaleFromTheScreenTheDocumentsViewRecorded) {
  CTrackText text;
  text.x = 120;
  text.y = 48;
  RecordingDevice printer(300, true);
  // Without a context, or before a view recorded one, the screen counts as 96 dpi.
  EXPECT_EQ(TrackTextPosition(text, printer, 100), (Point{375, 150}));

  struct Case {
    Size recorded;
    Point printed;
  };
  const Case cases[] = {
      {{144, 120}, {250, 120}},
      {{96, 96}, {375, 150}},
      {{0, 120}, {375, 150}},   // not a resolution: the one before stays
      {{-5, -5}, {375, 150}},
  };
  for (const Case& c : cases) {
    CPageDlg page;
    RecordScreenDpi(page, c.recorded);
    const PageDrawSettings settings = DrawSettingsOf(page, 100, false);
    const DrawContext context(printer, settings);
    EXPECT_EQ(TrackTextPosition(text, printer, 100), c.printed) << c.recorded.cx << "x" << c.recorded.cy;
  }

  // Two documents whose views drew on different screens print side by side, each from its own.
  CPageDlg wide;
  CPageDlg narrow;
  RecordScreenDpi(wide, {144, 144});
  RecordScreenDpi(narrow, {72, 72});
  const PageDrawSettings wideSettings = DrawSettingsOf(wide, 100, false);
  const PageDrawSettings narrowSettings = DrawSettingsOf(narrow, 100, false);
  RecordingDevice otherPrinter(300, true);
  const DrawContext first(printer, wideSettings);
  const DrawContext second(otherPrinter, narrowSettings);
  EXPECT_EQ(TrackTextPosition(text, printer, 100), (Point{250, 100}));
  EXPECT_EQ(TrackTextPosition(text, otherPrinter, 100), (Point{500, 200}));
}

}  // namespace
}  // namespace vornel
