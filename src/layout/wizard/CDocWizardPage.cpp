#include "layout/wizard/CDocWizardPage.h"

#include <algorithm>

#include "document/CBriotabDoc.h"

namespace vornel {

void CDocWizardPage::ExchangeWithDocument(CBriotabDoc& doc, bool toPage) {
  CPageDlg& page = doc.settings.pageSettings;
  CTitlePage& titlePage = doc.settings.titlePage;
  CTrackText& titleText = doc.settings.Text(CDocumentSettings::kTitle);
  CTrackText& authorText = doc.settings.Text(CDocumentSettings::kAuthor);
  if (toPage) {
    alternateMargins = page.alternateMargins;
    imagePath = titlePage.picture.path;
    firstMargin = static_cast<int32_t>(page.topMargin);
    orientation = page.landscape != 0 ? 1 : 0;
    title = titleText.text;
    author = authorText.text;
    printTitlePage = titlePage.printTitlepage & 1;
    printContents = titlePage.printContents & 1;
    frame = titlePage.frameStyle;
    secondMargin = static_cast<int32_t>(page.leftMargin);
    printAllSections = page.printAllSections;
    newPageOnSection = page.newPageOnSection;
    proportionalSpacing = page.proportionalSpacing;
    return;
  }
  page.alternateMargins = alternateMargins;
  titlePage.picture.path = imagePath;
  page.topMargin = static_cast<uint32_t>(std::max(firstMargin, 0));
  if (orientation >= 0) page.landscape = orientation;
  titleText.text = title;
  authorText.text = author;
  titlePage.printTitlepage = (titlePage.printTitlepage & ~1) | (printTitlePage != 0 ? 1 : 0);
  titlePage.printContents = (titlePage.printContents & ~1) | (printContents != 0 ? 1 : 0);
  if (frame >= 0) titlePage.frameStyle = frame;
  page.leftMargin = static_cast<uint32_t>(std::max(secondMargin, 0));
  page.printAllSections = printAllSections;
  page.newPageOnSection = newPageOnSection;
  page.proportionalSpacing = proportionalSpacing;
}

}  // namespace vornel
