// "Image preview": the frame stays empty until the timer set when the dialog appears has fired
// once; then the picture fills it.

#include <gtest/gtest.h>
#include <wx/image.h>

#include <filesystem>

#include "support/ui/DialogCapture.h"
#include "view/ui/dialogs/CBitmapPreview.h"

namespace vornel {
namespace {

TEST(BitmapPreview, PictureAppearsOnceTheTimerFires) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "vornel-preview-test.png";
  EnsurePngHandler();
  wxImage red(40, 30);
  red.SetRGB(wxRect(0, 0, 40, 30), 200, 0, 0);
  ASSERT_TRUE(red.SaveFile(path.string(), wxBITMAP_TYPE_PNG));

  CBitmapPreview dialog(nullptr, path.string());
  EXPECT_EQ(dialog.GetTitle(), "Image preview");
  dialog.Show();  // the dialog's initialisation starts the timer
  EXPECT_TRUE(dialog.TimerRunning());
  EXPECT_FALSE(dialog.PictureShown());
  wxWindow* frame = dialog.FindWindow(CBitmapPreview::kFrame);
  ASSERT_NE(frame, nullptr);
  const wxPoint middle = frame->GetPosition() + wxPoint(frame->GetSize().x / 2, frame->GetSize().y / 2);
  const wxImage before = CaptureDialog(dialog);
  // Capturing runs the event loop: on a slow machine the timer may already have fired, and then
  // the capture shows the picture by right.
  if (!dialog.PictureShown()) {
    EXPECT_NE(before.GetRed(middle.x, middle.y), 200);
  }

  dialog.ShowPicture();
  EXPECT_FALSE(dialog.TimerRunning());
  const wxImage after = CaptureDialog(dialog, "image-preview");
  EXPECT_EQ(after.GetRed(middle.x, middle.y), 200);
  EXPECT_EQ(after.GetGreen(middle.x, middle.y), 0);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace vornel
