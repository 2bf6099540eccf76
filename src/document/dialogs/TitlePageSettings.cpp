#include "document/dialogs/TitlePageSettings.h"

#include "platform/UserPrompts.h"
#include "platform/text/FieldRanges.h"

namespace vornel {

namespace {

// A title, author or publisher written for the first time into a text never placed (at the
// frame's corner) stands centred across the page: the title a third of the way down, the
// author under it, the publisher near the foot. The page's frame as last shown gives the
// size; before it was shown, an A4 page at the screen's 96 pixels an inch.
void PlaceNewText(CTitlePage& page, CTitlePage::TextIndex index, const std::string& text) {
  CTrackText& track = page.Text(index);
  const bool unplaced = track.text.empty() && track.x == 0 && track.y == 0 &&
                        (track.flags & CTrackText::kPositionPending) == 0;
  track.text = text;
  if (!unplaced || text.empty()) return;
  const int32_t zoom = track.lastZoom > 0 ? track.lastZoom : 100;
  const bool shown = page.frameRect.Width() > 0 && page.frameRect.Height() > 0;
  const int64_t width = shown ? int64_t{page.frameRect.Width()} * 100 / zoom : 794;
  const int64_t height = shown ? int64_t{page.frameRect.Height()} * 100 / zoom : 1123;
  const int64_t down = index == CTitlePage::kTitle ? 30 : index == CTitlePage::kAuthor ? 42 : 85;
  track.x = static_cast<int32_t>(width / 2);
  track.y = static_cast<int32_t>(height * down / 100);
  track.flags |= CTrackText::kCentered;
}

}  // namespace

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
  PlaceNewText(page, CTitlePage::kTitle, title);
  PlaceNewText(page, CTitlePage::kAuthor, author);
  PlaceNewText(page, CTitlePage::kPublisher, publisher);
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
