#include "document/dialogs/TitlePageSettings.h"

#include "platform/UserPrompts.h"
#include "platform/text/FieldRanges.h"

namespace vornel {

void CTitlePageDlg::Load(const CTitlePage& page) {
  printTitlePage = (page.printTitlepage & 1) != 0;
  excludeMetadata = (page.printTitlepage & CTitlePage::kExcludeMetadataBit) != 0;
  title = page.Text(CTitlePage::kTitle).text;
  author = page.Text(CTitlePage::kAuthor).text;
  publisher = page.Text(CTitlePage::kPublisher).text;
  contentsHeader = page.Text(CTitlePage::kContentsHeader).text;
  frameStyle = page.frameStyle;
  twoColumns = page.columns != 0;
  maxItems = page.maxLines;
  printPreface = page.printPreface != 0;
  printContents = (page.printContents & 1) != 0;
  useRtf = page.useRtf != 0;
  dateStamp = page.dateStamp != 0;
  sectionPositions = page.sectionPosition != 0;
  pageNumbers = page.pageNumbers != 0;
  imagePath = page.picture.path;
  imageScale = static_cast<int>(page.picture.sizePercent);
  facsimiles.Load(page.imageList);
}

std::string CTitlePageDlg::Validate() const {
  return CheckFieldRanges({{"Percentage of original size:", imageScale, kMinScale, kMaxScale},
                           {"Title page frame", frameStyle, 0, static_cast<long>(kFrames.size()) - 1},
                           {"Maximum items per page", maxItems, kMinItems, kMaxItems}});
}

bool CTitlePageDlg::Store(CTitlePage& page) const {
  const std::string message = Validate();
  if (!message.empty()) {
    Prompts().ShowMessage(message, MessageKind::kWarning);
    return false;
  }
  page.printTitlepage = (printTitlePage ? 1 : 0) | (excludeMetadata ? CTitlePage::kExcludeMetadataBit : 0);
  page.useRtf = useRtf;
  page.printContents = (page.printContents & ~1) | (printContents ? 1 : 0);
  page.dateStamp = dateStamp;
  page.sectionPosition = sectionPositions;
  page.pageNumbers = pageNumbers;
  page.Text(CTitlePage::kTitle).text = title;
  page.Text(CTitlePage::kAuthor).text = author;
  page.Text(CTitlePage::kPublisher).text = publisher;
  page.Text(CTitlePage::kContentsHeader).text = contentsHeader;
  page.columns = twoColumns;
  page.maxLines = maxItems;
  page.frameStyle = frameStyle;
  page.printPreface = printPreface;
  page.picture.sizePercent = static_cast<uint32_t>(imageScale);
  if (page.picture.path != imagePath) page.picture.active = 0;  // drawing loads the new file first
  page.picture.path = imagePath;
  page.picture.mode = DIBornament::kModeLoaded;
  facsimiles.Store(page.imageList);
  return true;
}

void CTitlePageDlg::ClearImage() {
  imagePath.clear();
  imageScale = 100;
}

int TitlePictureScale(int pictureWidth, int frameWidth) {
  if (pictureWidth <= 0 || frameWidth <= 0) return 100;
  const long limit = static_cast<long>(frameWidth) * 9 / 10;
  if (pictureWidth <= limit) return 100;
  return static_cast<int>(limit * 100 / pictureWidth);
}

}  // namespace vornel
