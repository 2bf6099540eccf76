#pragma once
// The document as the editor keeps it on disk: opened and saved by its file's extension as an
// XML document (".btxml"), a zip bundle holding one (".btz"), an XML template (".bttx") or an
// older binary document (".btb", ".btt"), which a save converts to XML after a warning.

#include <optional>
#include <string>
#include <string_view>

#include "document/CBriotabDoc.h"

namespace vornel {

class CVornelTabDoc : public CBriotabDoc {
 public:
  static constexpr std::string_view kUnknownTypeMessage = "Not a recognized Vornel file type";
  static constexpr std::string_view kUnzipFailedMessage = "Fatal error: Unable to unzip this file";
  static constexpr std::string_view kNotInBundleMessage = "Fatal error: btxml file not included in compressed btz file!";
  static constexpr std::string_view kSaveFailedMessage = "Unable to save this btxml file..";
  static constexpr std::string_view kTemplateFailedMessage = "Unable to open this template";
  static constexpr std::string_view kConversionQuestion =
      "This file will be saved in the new Vornel XML format.\nIf you do not want to do this, press Cancel and use the "
      "\nSave as function to preserve the old binary (*.btb) file format.";
  static constexpr std::string_view kDefaultName = "unnamed.btz";

  CVornelTabDoc();

  // True while the document came from a bundle.
  bool OpenedFromBundle() const { return openedFromBundle_; }

  // A new document of one section, the first section active.
  bool OnNewDocument();
  // Opens any document file by its extension. A ".btxml" that is missing is looked for as the
  // ".btz" of the same name. A bundle's document is unpacked in memory. False, after the
  // system's message and with nothing changed, when the file is not opened.
  bool OnOpenDocument(const std::string& path) override;
  // Saves the document as XML under `path` (or its own path name; a document that never had
  // one goes to "unnamed.btz" in the default folder). A binary document is converted only
  // after the user agreed. False, after the system's message, when nothing was saved.
  bool OnSaveDocument(const std::string& path = {});
  // Asks for a template name and writes the template there; nothing when cancelled.
  std::optional<std::string> SaveAsXmlTemplate();
  // The XML template: the settings and a copy of the active section only. A name ending in
  // ".btt" is written as ".bttx". Returns the path written; nothing, after a message, when it
  // could not be written.
  std::optional<std::string> WriteXmlTemplate(const std::string& path);
  // WriteXmlTemplate as the user saves a template: a read-only file is replaced only when the
  // user says so, or the template goes to the file the user chose instead; nothing when cancelled.
  std::optional<std::string> SaveXmlTemplate(const std::string& path);
  // Opens a file of the data folder (a template, a sample) without taking its name, so that a
  // plain save never overwrites it.
  bool OpenDocumentInFolder(const std::string& name);
  // Takes the settings of a template and its first section's fonts, layout and instruments
  // into every section.
  bool ApplyTemplate(const std::string& path);

 private:
  // The bundle's or the XML file's document read into this one; false after a message.
  bool ReadDocumentFile(const std::string& path, DocumentFileType kind);
  bool OpenXmlFile(const std::string& xmlPath);

  bool openedFromBundle_ = false;
};

// Converts a binary document to the bundle beside it (".btb" becomes ".btz"); false, after
// the system's message, when it could not be read or written.
bool ConvertBinaryToXml(const std::string& path);

// "Unable to save this btxml file.." with the path and, when known, the system's reason.
std::string SaveFailedMessage(const std::string& path, const std::string& error);

}  // namespace vornel
