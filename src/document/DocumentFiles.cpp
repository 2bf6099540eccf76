#include "document/DocumentFiles.h"

#include "document/SaveTarget.h"
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
  if (HasExtension(path, ".btb")) return doc.SaveBinaryTo(path);
  if (HasExtension(path, ".bttx") || HasExtension(path, ".btt")) return doc.SaveXmlTemplate(path);
  const bool xml = HasExtension(path, ".btxml");
  if (!xml && !HasExtension(path, ".btz")) {
    Prompts().ShowMessage(CVornelTabDoc::kUnknownTypeMessage, MessageKind::kError);
    return std::nullopt;
  }
  // A read-only document is replaced only when the user says so, or saved elsewhere.
  const std::optional<std::string> target = ConfirmSaveTarget(path, xml ? "*.btxml" : "*.btz");
  if (!target) return std::nullopt;
  std::string error;
  const bool saved =
      xml ? doc.SaveXmlText(*target, nullptr, &error)
          : SaveBundle(*target, [&](const std::string& documentPath) { return doc.SaveXmlText(documentPath, nullptr, &error); });
  if (!saved) Prompts().ShowMessage(SaveFailedMessage(*target, error), MessageKind::kError);
  return Saved(saved, *target);
}

}  // namespace vornel
