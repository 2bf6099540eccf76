#pragma once
// What documents take from the application: the undo depth, the section buffer shared by all
// open documents, the data and default folders, the web folder of listed images and the XML
// version numbers this program writes. The application sets them at start-up; tools and tests keep the defaults.

#include <cstdint>
#include <string>

#include "model/undo/CUndoSectionArray.h"

namespace vornel {

struct DocumentEnvironment {
  // The session option "Maximum Undo:"; a document's redo stack keeps half of it.
  int32_t undoDepth = 24;
  // Sections copied from any document, pasted into any other; it outlives documents.
  CUndoSectionArray sectionBuffer{12};
  // The data folder (templates, images): "Images" beneath it is searched for facsimiles.
  std::string dataFolder;
  // Where a document that never had a name is saved.
  std::string defaultFolder;
  // The instrument base file named by the profile (".btix", or an older ".btbi").
  std::string instrumentBasePath;
  // The web folder the image-list import puts before each image name (empty: the names stay
  // as the list gives them).
  std::string imageListPrefix;
  // The XML version numbers written into every document.
  uint16_t xmlMajor = 6;
  uint16_t xmlMinor = 0;
  // Section list lines carry their number ("%d. %s").
  bool numberSections = true;
};

DocumentEnvironment& Environment();

}  // namespace vornel
