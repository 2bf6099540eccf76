#include "document/library/DocumentAssociations.h"

#include <filesystem>

#include "document/CBriotabDoc.h"
#include "document/CDocumentSettings.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "associations editor";

AssociationsEditor g_defaultEditor;
ObjectSlot<AssociationsEditor> g_editor(kServiceName, g_defaultEditor);

void StorePath(CDocumentSettings& settings, std::string_view type, const std::string& path) {
  // A cleared path is stored empty; a type the document never had is not added empty.
  const auto found = settings.associations.find(std::string(type));
  if (found != settings.associations.end()) {
    found->second = path;
  } else if (!path.empty()) {
    settings.associations.emplace(std::string(type), path);
  }
}

}  // namespace

DocumentAssociationFields AssociationFieldsOf(const CDocumentSettings& settings) {
  DocumentAssociationFields fields;
  fields.imagePath = settings.Association(CDocumentSettings::kImagesPath);
  fields.pdfPath = settings.Association(CDocumentSettings::kPdfRendition);
  fields.htmlPath = settings.Association(CDocumentSettings::kHtmlTable);
  fields.includeFacsimiles = (settings.bundleOptions & CDocumentSettings::kBundleFacsimiles) != 0;
  fields.includeMidiFiles = (settings.bundleOptions & CDocumentSettings::kBundleMidiFiles) != 0;
  fields.autoGenerateMidi = (settings.bundleOptions & CDocumentSettings::kBundleGenerateMidi) != 0;
  return fields;
}

void StoreAssociationFields(const DocumentAssociationFields& fields, CDocumentSettings& settings) {
  StorePath(settings, CDocumentSettings::kImagesPath, fields.imagePath);
  StorePath(settings, CDocumentSettings::kPdfRendition, fields.pdfPath);
  StorePath(settings, CDocumentSettings::kHtmlTable, fields.htmlPath);
  settings.bundleOptions = (fields.includeFacsimiles ? CDocumentSettings::kBundleFacsimiles : 0) |
                           (fields.includeMidiFiles ? CDocumentSettings::kBundleMidiFiles : 0) |
                           (fields.autoGenerateMidi ? CDocumentSettings::kBundleGenerateMidi : 0);
}

bool AssociationsEditor::Edit(DocumentAssociationFields&, const std::string&) { return true; }

AssociationsEditor& AssociationsEditors() { return g_editor.Get(); }

ScopedAssociationsEditor::ScopedAssociationsEditor(AssociationsEditor& editor) : previous_(g_editor.Exchange(&editor)) {}

ScopedAssociationsEditor::~ScopedAssociationsEditor() { g_editor.Exchange(previous_); }

bool EditDocumentAssociations(CBriotabDoc& doc) {
  DocumentAssociationFields fields = AssociationFieldsOf(doc.settings);
  const std::string& path = doc.GetPathName();
  const std::string folder = path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
  if (!AssociationsEditors().Edit(fields, folder)) return false;
  StoreAssociationFields(fields, doc.settings);
  doc.SetModifiedFlag(true);
  return true;
}

}  // namespace vornel
