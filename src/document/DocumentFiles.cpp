#include "document/DocumentFiles.h"

#include "document/zip/ZipBundle.h"
#include "platform/MessageCollector.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace {

bool HasExtension(const std::string& path, const std::string& extension) {
  return ReplaceFinalExtension(path, extension, "") != path;
}

std::optional<std::string> Saved(bool saved, const std::string& path) {
  if (saved) return path;
  return std::nullopt;
}

}  // namespace

OpenedDocument OpenDocumentFile(const std::string& path) {
  OpenedDocument opened;
  MessageCollector collector;
  auto doc = std::make_unique<CVornelTabDoc>();
  if (doc->OnOpenDocument(path)) opened.document = std::move(doc);
  opened.message = std::move(collector.messages);
  return opened;
}

std::optional<std::string> SaveDocumentFile(CVornelTabDoc& doc, const std::string& path) {
  if (HasExtension(path, ".btb")) return Saved(doc.SaveBinary(path), path);
  if (HasExtension(path, ".bttx") || HasExtension(path, ".btt")) return doc.WriteXmlTemplate(path);
  bool saved = false;
  std::string error;
  if (HasExtension(path, ".btxml")) {
    saved = doc.SaveXmlText(path, nullptr, &error);
  } else if (HasExtension(path, ".btz")) {
    saved = SaveBundle(path, [&](const std::string& documentPath) { return doc.SaveXmlText(documentPath, nullptr, &error); });
  } else {
    Prompts().ShowMessage(CVornelTabDoc::kUnknownTypeMessage, MessageKind::kError);
    return std::nullopt;
  }
  if (!saved) Prompts().ShowMessage(SaveFailedMessage(path, error), MessageKind::kError);
  return Saved(saved, path);
}

}  // namespace vornel
