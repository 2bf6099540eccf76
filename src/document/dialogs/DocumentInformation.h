#pragma once
// The "Document information" dialog and its "Document associations" dialog as plain structs:
// the six metadata texts with their font buttons, the previews of the associated files, and
// the three association paths with the bundle's three option bits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/CDocumentSettings.h"
#include "document/dialogs/FacsimileListEditing.h"

namespace vornel {

struct DocumentInformationFields {
  // The edits in dialog order, with the metadata text each shows.
  struct Entry {
    std::string_view label;
    CDocumentSettings::TextIndex text;
  };
  static constexpr std::array<Entry, 6> kEntries = {{{"Title:", CDocumentSettings::kTitle},
                                                     {"Author:", CDocumentSettings::kAuthor},
                                                     {"Sources && Notes:", CDocumentSettings::kSource},
                                                     {"Entabulated by:", CDocumentSettings::kTranscriber},
                                                     {"Copyright:", CDocumentSettings::kCopyright},
                                                     {"Header/Comments", CDocumentSettings::kComments}}};

  std::array<std::string, kEntries.size()> texts;
  FacsimileListEdit facsimiles;  // "Facsimile list": the title page's image list

  // The metadata texts into the edits.
  void Load(const CDocumentSettings& settings);
  // OK: the edits back into the metadata texts (and the settings' edit values).
  void Store(CDocumentSettings& settings) const;
  // "..." of entry `index`: the edit into its text, the font dialog on it, the text back.
  bool EditFont(CDocumentSettings& settings, size_t index);
  // The PDF, HTML and zip buttons: the association's file opened with the desktop's program;
  // a warning beep, nothing else, when the association is empty. False when nothing opened.
  static bool OpenAssociation(const CDocumentSettings& settings, std::string_view type);
  // The image button's path, or a warning beep and nothing when there is none.
  static std::string ImageToPreview(const CDocumentSettings& settings);
};

// "Document associations": the PDF and HTML renditions and the image, and what a zip bundle
// of the document includes.
struct DocumentAssociationsFields {
  std::string pdfPath;
  std::string htmlPath;
  std::string imagePath;
  bool includeFacsimiles = false;  // bit 0
  bool includeMidiFiles = false;   // bit 1
  bool generateMidiFiles = false;  // bit 2

  void Load(const CDocumentSettings& settings);
  // OK: the three paths under their types and the bundle options exactly the three boxes.
  void Store(CDocumentSettings& settings) const;
};

}  // namespace vornel
