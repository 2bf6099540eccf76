#include "document/dialogs/DocumentInformation.h"

#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"

namespace vornel {

void DocumentInformationFields::Load(const CDocumentSettings& settings) {
  for (size_t i = 0; i < kEntries.size(); ++i) texts[i] = settings.Text(kEntries[i].text).text;
  facsimiles.Load(settings.titlePage.imageList);
}

void DocumentInformationFields::Store(CDocumentSettings& settings) const {
  for (size_t i = 0; i < kEntries.size(); ++i) settings.Text(kEntries[i].text).text = texts[i];
  settings.editTexts[CDocumentSettings::kEditAuthor] = texts[1];
  settings.editTexts[CDocumentSettings::kEditTitle] = texts[0];
  settings.editTexts[CDocumentSettings::kEditSource] = texts[2];
  settings.editTexts[CDocumentSettings::kEditTranscriber] = texts[3];
  settings.editTexts[CDocumentSettings::kEditCopyright] = texts[4];
  settings.editTexts[CDocumentSettings::kEditComments] = texts[5];
  facsimiles.Store(settings.titlePage.imageList);
}

bool DocumentInformationFields::EditFont(CDocumentSettings& settings, size_t index) {
  if (index >= kEntries.size()) return false;
  CTrackText& text = settings.Text(kEntries[index].text);
  text.text = texts[index];
  const bool chosen = SectionEditors().EditTrackText(text);
  texts[index] = text.text;
  return chosen;
}

bool DocumentInformationFields::OpenAssociation(const CDocumentSettings& settings, std::string_view type) {
  const std::string path = settings.Association(type);
  if (path.empty()) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  return Programs().OpenWithDefault(path);
}

std::string DocumentInformationFields::ImageToPreview(const CDocumentSettings& settings) {
  std::string path = settings.Association(CDocumentSettings::kImagesPath);
  if (path.empty()) Prompts().Beep(BeepKind::kExclamation);
  return path;
}

void DocumentAssociationsFields::Load(const CDocumentSettings& settings) {
  pdfPath = settings.Association(CDocumentSettings::kPdfRendition);
  htmlPath = settings.Association(CDocumentSettings::kHtmlTable);
  imagePath = settings.Association(CDocumentSettings::kImagesPath);
  includeFacsimiles = (settings.bundleOptions & CDocumentSettings::kBundleFacsimiles) != 0;
  includeMidiFiles = (settings.bundleOptions & CDocumentSettings::kBundleMidiFiles) != 0;
  generateMidiFiles = (settings.bundleOptions & CDocumentSettings::kBundleGenerateMidi) != 0;
}

void DocumentAssociationsFields::Store(CDocumentSettings& settings) const {
  settings.associations[std::string(CDocumentSettings::kPdfRendition)] = pdfPath;
  settings.associations[std::string(CDocumentSettings::kHtmlTable)] = htmlPath;
  settings.associations[std::string(CDocumentSettings::kImagesPath)] = imagePath;
  settings.bundleOptions = (includeFacsimiles ? CDocumentSettings::kBundleFacsimiles : 0) |
                           (includeMidiFiles ? CDocumentSettings::kBundleMidiFiles : 0) |
                           (generateMidiFiles ? CDocumentSettings::kBundleGenerateMidi : 0);
}

}  // namespace vornel
