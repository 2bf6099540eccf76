// The drawing context: page settings and pictures reach only the device they are attached to
// (and the devices made to measure like it), for the context's lifetime; each document keeps
// its own pictures.

#include <gtest/gtest.h>

#include "document/CBriotabDoc.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/PictureText.h"

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

}  // namespace
}  // namespace vornel
