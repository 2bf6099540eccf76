#pragma once
// "Title page & print settings" as a plain struct: the title page's texts, picture, frame and
// the options of its table of contents and preface, checked as a whole and stored on OK only.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/CTitlePage.h"
#include "document/dialogs/FacsimileListEditing.h"

namespace vornel {

struct CTitlePageDlg {
  static constexpr std::array<std::string_view, 4> kFrames = {"none", "rectangle", "double rectangle",
                                                              "triple rectangle"};
  static constexpr std::string_view kImageFilter = "PNG|*.png|JPG|*.jpg|GIF|*.gif|JPG|*.jpeg|TIF|*.tif|BMP|*.bmp|ALL|*.*||";
  static constexpr int kMinScale = 10;
  static constexpr int kMaxScale = 100;
  // Contents entries per page: the pagination of the contents divides by it.
  static constexpr int kMinItems = 1;
  static constexpr int kMaxItems = 999;

  std::string imagePath;
  int imageScale = 100;
  bool printTitlePage = false;
  bool excludeMetadata = false;
  std::string title;
  std::string author;
  std::string publisher;
  std::string contentsHeader;
  int frameStyle = 0;
  bool printContents = false;
  bool twoColumns = false;
  bool pageNumbers = false;
  bool sectionPositions = false;
  bool useRtf = false;
  bool dateStamp = false;
  int maxItems = 100;
  bool printPreface = false;
  FacsimileListEdit facsimiles;  // "Facsimile list": the title page's image list

  void Load(const CTitlePage& page);
  std::string Validate() const;
  // OK: every field into the title page (the picture taken from the path, to be loaded when
  // next drawn). False, with nothing stored, when a field is out of range.
  bool Store(CTitlePage& page) const;
  // "CLEAR": no picture, full size.
  void ClearImage();
  // The three boxes that only mean something with a table of contents.
  bool ContentsOptionsEnabled() const { return printContents; }
};

// "Add title page image": the scale that keeps a picture within 90 % of the frame's width
// (90 % of the frame width × 100 / picture width), or 100 when it already fits.
int TitlePictureScale(int pictureWidth, int frameWidth);

}  // namespace vornel
