// The shell's own pictures, as the recording device logs them: the blank page of a document's
// tab (A4 in proportion under the document's name) and the splash picture.

#include <gtest/gtest.h>

#include <string>

#include "platform/draw/RecordingDevice.h"
#include "shell/frame/ShellPictures.h"

namespace vornel {
namespace {

TEST(ShellPictures, PlaceholderPageUnderTheDocumentsName) {
  RecordingDevice dc;
  DrawDocumentPlaceholder(dc, Size{400, 300}, "Suite.btz", RGB(245, 245, 245), RGB(255, 255, 255));
  // 232 pixels high leave a page 164 wide (210 / 297), centred below the title band.
  EXPECT_EQ(dc.Log(),
            "FillSolidRect 0 0 400 300 0xF5F5F5\n"
            "SetBkMode transparent\n"
            "SetTextColor 0x282828\n"
            "SelectFont \"Times New Roman\" height=-16 weight=700 italic=0 underline=0 escapement=0\n"
            "SetTextAlign 0x1E\n"
            "TextOut 200 28 \"Suite.btz\"\n"
            "FillSolidRect 122 56 286 288 0xA0A0A0\n"
            "FillSolidRect 118 52 282 284 0xFFFFFF\n"
            "SelectPen style=0x0 width=1 colour=0x787878\n"
            "SelectBrush null\n"
            "Rectangle 118 52 282 284\n");
}

TEST(ShellPictures, APaneTooSmallForAPageShowsTheNameAlone) {
  RecordingDevice dc;
  DrawDocumentPlaceholder(dc, Size{20, 40}, "Suite.btz", 0, 0xFFFFFF);
  EXPECT_EQ(dc.Log().find("Rectangle"), std::string::npos);
  EXPECT_NE(dc.Log().find("TextOut 10 28 \"Suite.btz\""), std::string::npos);
}

TEST(ShellPictures, SplashHasTheNameAndSixCourses) {
  RecordingDevice dc;
  DrawSplashPicture(dc);
  const std::string& log = dc.Log();
  EXPECT_NE(log.find("\"Vornel Tablature Composer\""), std::string::npos);
  size_t courses = 0;
  for (size_t at = log.find("LineTo 420 "); at != std::string::npos; at = log.find("LineTo 420 ", at + 1)) ++courses;
  EXPECT_EQ(courses, 6u);
}

}  // namespace
}  // namespace vornel
