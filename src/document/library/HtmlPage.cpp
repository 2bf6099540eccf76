#include "document/library/HtmlPage.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/io/FileIO.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr const char* kBootstrapCss = "https://maxcdn.bootstrapcdn.com/bootstrap/3.3.5/css/bootstrap.min.css";
constexpr const char* kJQuery = "https://code.jquery.com/jquery-2.1.3.min.js";
constexpr const char* kPageAuthor = "Vornel Tablature Composer";

// Rules of our own, so that the page reads well without the network and without the script.
constexpr const char* kInlineStyle =
    "\nbody{font-family:Georgia,serif;margin:1em 2em;color:#222;background:#fdfcfa}"
    "\n.panel{border:1px solid #ccc;border-radius:4px;margin-bottom:1em}"
    "\n.panel-heading{background:#f0ebe4;padding:.5em 1em}.panel-body{padding:.5em 1em}"
    "\n.document{border-top:1px solid #ddd;padding:.5em 0}"
    "\n.list-inline{padding-left:0}.list-inline li{display:inline-block;margin-right:1em}"
    "\nol.sections li{margin:.2em 0}.popup ul{font-size:90%;color:#555}"
    "\n.document-author{display:block;color:#666}\n";

enum Name : int {
  kDocumentGroup, kSynopsis, kDocumentTitle, kDocumentAuthor, kDocuments, kDocument, kMetadata, kTrackTexts,
  kTrackText, kSections, kSection, kSectionTexts, kSectionSettings, kSignature, kTempo, kKey, kInstruments,
  kInstrument, kMidiFile, kAssociations, kAssociation, kVornelDocument, kDocumentSettings, kIdentity,
  kCopyrightStatement, kPreliminaries, kTitleElements, kRtfTrackText, kPreface, kDibImage, kRtfText, kFacsimiles,
  kImage, kDocumentStamp, kDateCreated, kLastUpdate, kSoftware, kDiv, kFont, kBold, kItalic, kParagraph, kUlayout,
  kUnderline, kNameCount
};

constexpr std::array<std::string_view, kNameCount> kNames = {
    "DocumentGroup", "synopsis", "document-title", "document-author", "documents", "document", "metadata",
    "track-texts", "track-text", "sections", "section", "section-texts", "section-settings", "signature", "tempo",
    "key", "instruments", "instrument", "midi-file", "associations", "association", "vornel-document",
    "document-settings", "identity", "copyright-statement", "preliminaries", "title-elements", "rtf-track-text",
    "preface", "dib-image", "rtf-text", "facsimiles", "image", "document-stamp", "date-created", "last-update",
    "Software", "div", "font", "b", "i", "p", "ulayout", "u"};

int FindName(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string Attribute(const tinyxml2::XMLElement& element, const char* name) {
  const char* value = element.Attribute(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  ReplaceAll(text, from, to);
  return text;
}

bool HasImages(const tinyxml2::XMLElement& facsimiles) { return ReadIntAttribute(&facsimiles, "nb-images") != 0; }

bool SavePage(const tinyxml2::XMLDocument& xml, const std::string& path, const std::string& rootUrl, int closes) {
  std::string page;
  {
    HTMLPrinter printer(page);
    printer.WritePageHead(rootUrl);
    xml.Accept(&printer);
    printer.CloseOpenElements(closes);
  }
  page.push_back('\n');
  return WriteFileAtomically(path, page);
}

}  // namespace

std::string JavaScriptString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '<': out += "\\u003C"; break;
      case '>': out += "\\u003E"; break;
      case '&': out += "\\u0026"; break;
      default: out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

HTMLPrinter::HTMLPrinter(std::string& out) : XmlTextPrinter(out, 0, true) {}

void HTMLPrinter::CloseElement(bool compactMode) {
  if (_elementJustOpened && _stack.Size() > 0) {
    const std::string_view name = _stack.PeekTop();
    if (name != "meta" && name != "link" && name != "img" && name != "br") {
      SealElementIfJustOpened();
      compactMode = true;  // the end tag follows its start tag on the same line
    }
  }
  XmlTextPrinter::CloseElement(compactMode);
}

void HTMLPrinter::CloseInnermost(bool compact) {
  if (_stack.Size() > 0) CloseElement(compact);
}

void HTMLPrinter::CloseOpenElements(int count) {
  for (int i = 0; i < count; ++i) CloseInnermost(false);
}

void HTMLPrinter::OpenWithClass(const char* name, const std::string& cssClass) {
  OpenElement(name);
  PushAttribute("class", cssClass.c_str());
}

void HTMLPrinter::TextElement(const char* name, const std::string& text) {
  OpenElement(name);
  PushText(text.c_str());
  CloseElement(true);
}

void HTMLPrinter::WritePageHead(const std::string& rootUrl) {
  Print("<!DOCTYPE html>\n");
  OpenElement("html");
  OpenElement("head");
  TextElement("title", "VornelTab document group");
  OpenElement("meta");
  PushAttribute("charset", "UTF-8");
  CloseElement();
  OpenElement("meta");
  PushAttribute("name", "author");
  PushAttribute("content", kPageAuthor);
  CloseElement();
  OpenElement("link");
  PushAttribute("rel", "stylesheet");
  PushAttribute("href", kBootstrapCss);
  CloseElement();
  OpenElement("link");
  PushAttribute("rel", "stylesheet");
  PushAttribute("href", (rootUrl + "/vorneltab.css").c_str());
  CloseElement();
  OpenElement("script");
  PushAttribute("src", kJQuery);
  PushText(" ");
  CloseElement(true);
  OpenElement("script");
  PushAttribute("src", (rootUrl + "/vorneltab.js").c_str());
  PushText(" ");
  CloseElement(true);
  TextElement("style", kInlineStyle);
  CloseElement();  // head
  OpenElement("body");
  OpenElement("div");
  PushAttribute("id", "facsimile-image");
  PushText(" ");
  CloseElement(true);
  OpenElement("div");
  PushAttribute("id", "content");
  PushAttribute("class", "container-fluid");
}

bool HTMLPrinter::VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* /*attribute*/) {
  const int name = FindName(element.Name());
  switch (name) {
    case -1:
      return false;
    case kVornelDocument:
      fileName_ = Attribute(element, "filename");
      singleDocument_ = true;
      [[fallthrough]];
    case kDocumentGroup: {
      rootPath_ = Replaced(Attribute(element, "root-path"), "\\", "/");
      TextElement("script", "\nvar RootPath=" + JavaScriptString(rootPath_) + ";\nvar single_document=" +
                                (singleDocument_ ? "true" : "false") + ";\n");
      OpenWithClass("div", "panel panel-default");
      PushAttribute("id", singleDocument_ ? "document-detail" : "document-group");
      OpenWithClass("div", "panel-heading");
      break;
    }
    case kSynopsis:
      OpenWithClass("h2", "group-info");
      break;
    case kDocumentTitle:
      OpenWithClass("strong", "document-title");
      if (singleDocument_) PushAttribute("id", fileName_.c_str());
      PushText(" ");
      break;
    case kDocumentAuthor:
      OpenWithClass("small", "document-author");
      PushText(" ");
      break;
    case kDocuments:
    case kDocumentSettings:
      OpenWithClass("div", "panel-body");
      OpenWithClass("div", element.Name());
      break;
    case kDocument:
      fileName_ = Attribute(element, "name");
      subdirectory_ = Attribute(element, "subdirectory");
      if (!subdirectory_.empty()) fileName_ = subdirectory_ + "/" + fileName_;
      OpenWithClass("div", "document");
      break;
    case kCopyrightStatement:
      OpenWithClass("p", "copyright-statement");
      break;
    case kMetadata:
    case kTrackTexts:
    case kSectionTexts:
    case kIdentity:
    case kPreliminaries:
    case kTitleElements:
    case kPreface:
    case kRtfText:
      OpenWithClass("div", element.Name());
      break;
    case kTrackText:
      OpenElement("p");
      if (const char* descriptor = element.Attribute("descriptor")) {
        PushAttribute("title", descriptor);
        PushAttribute("class", descriptor);
        if (std::string_view(descriptor) == "document-title") PushAttribute("id", fileName_.c_str());
      } else {
        PushAttribute("class", "track-text");
      }
      break;
    case kSections:
      OpenWithClass("div", "details");
      OpenWithClass("h4", "sections-header");
      PushText((Attribute(element, "count") + " Sections").c_str());
      CloseElement(true);
      OpenWithClass("ol", "sections");
      break;
    case kSection: {
      char id[32];
      std::snprintf(id, sizeof id, "section_%03d", sectionCounter_++);
      OpenWithClass("li", "section");
      PushAttribute("id", id);
      std::string linkText;
      const tinyxml2::XMLNode* first = element.FirstChild() != nullptr ? element.FirstChild()->FirstChild() : nullptr;
      if (first != nullptr && first->ToElement() != nullptr && first->FirstChild() != nullptr &&
          first->FirstChild()->ToText() != nullptr) {
        linkText = first->FirstChild()->Value();
      }
      OpenElement("a");
      PushAttribute("href", "javascript:");
      PushText(linkText.c_str());
      CloseElement(true);
      OpenWithClass("div", "popup");
      break;
    }
    case kDocumentStamp:
      OpenWithClass("ul", std::string("list-inline ") + element.Name());
      break;
    case kSectionSettings:
    case kAssociations:
      OpenWithClass("ul", element.Name());
      break;
    case kFacsimiles:
      if (HasImages(element)) OpenWithClass("ol", "facsimiles");
      break;
    case kImage: {
      fileName_ = Attribute(element, "name");
      OpenWithClass("li", "facsimile");
      OpenElement("a");
      std::string path = Attribute(element, "path");
      if (path.starts_with("http")) {
        while (!path.empty() && path.back() == '\\') path.pop_back();
        PushAttribute("href", (path + fileName_).c_str());
      } else {
        path = Replaced(path, "\\", "/");
        // Relative to the page's root: only a leading root is taken off.
        if (!rootPath_.empty() && path.starts_with(rootPath_)) path.erase(0, rootPath_.size());
        PushAttribute("rel", path.c_str());
        PushAttribute("href", fileName_.c_str());
      }
      PushAttribute("alt", ("Facsimile image: " + fileName_).c_str());
      PushText(fileName_.c_str());
      CloseElement(true);
      break;
    }
    case kDateCreated:
    case kLastUpdate:
    case kSoftware:
      OpenWithClass("li", element.Name());
      break;
    case kSignature:
      OpenWithClass("li", "signature");
      PushText((Attribute(element, "numerator") + "/" + Attribute(element, "denominator")).c_str());
      break;
    case kTempo:
      OpenWithClass("li", "tempo");
      PushText((Attribute(element, "tempo") + " (" + Attribute(element, "movement-name") + ")").c_str());
      break;
    case kKey:
      OpenWithClass("li", "key");
      break;
    case kInstruments:
      OpenWithClass("ol", "list-inline instruments");
      break;
    case kInstrument:
      OpenWithClass("li", "instrument");
      break;
    case kMidiFile: {
      CloseInnermost(true);
      OpenWithClass("p", "midi-file");
      const std::string file = Attribute(element, "file-name");
      const std::string link = subdirectory_.empty() ? file : subdirectory_ + "/" + file;
      if (!file.empty()) {
        OpenElement("a");
        PushAttribute("href", link.c_str());
        PushAttribute("class", "internal");
        PushAttribute("title", file.c_str());
        PushText("MIDI");
        CloseElement(true);
      }
      break;
    }
    case kAssociation:
      OpenWithClass("li", Attribute(element, "type"));
      if (!subdirectory_.empty()) PushAttribute("rel", subdirectory_.c_str());
      break;
    case kDiv:
    case kBold:
    case kItalic:
    case kUlayout:
    case kUnderline:
      OpenElement(element.Name());
      break;
    case kFont: {
      OpenElement("p");
      const std::string style = Attribute(element, "style");
      if (!style.empty()) PushAttribute("style", Replaced(Replaced(style, " 0pt", "10pt"), " 1pt", "11pt").c_str());
      if (const char* colour = element.Attribute("color"); colour != nullptr && std::string_view(colour) != "#000000") {
        PushAttribute("color", colour);
      }
      break;
    }
    case kRtfTrackText:
    case kParagraph:
      OpenWithClass("div", element.Name());
      PushAttribute("title", "Unspecified element");
      break;
    case kDibImage:
      break;
    default:
      break;
  }
  return true;
}

bool HTMLPrinter::VisitExit(const tinyxml2::XMLElement& element) {
  const int name = FindName(element.Name());
  switch (name) {
    case -1:
      return false;
    case kSynopsis:
    case kDocuments:
    case kDocumentSettings:
    case kDocument:
      CloseInnermost(true);
      break;
    case kDibImage:
      if (const std::string image = Attribute(element, "name"); !image.empty()) {
        OpenElement("img");
        PushAttribute("src", image.c_str());
        PushAttribute("title", "Titlepage image");
        PushAttribute("alt", image.c_str());
        PushAttribute("class", "titlepage");
        CloseElement(true);
      }
      return true;
    case kFacsimiles:
      if (!HasImages(element)) return true;
      break;
    default:
      break;
  }
  CloseInnermost(true);
  return true;
}

bool SaveDocumentHtmlPage(const tinyxml2::XMLDocument& index, const std::string& path, const std::string& rootUrl) {
  return SavePage(index, path, rootUrl, 4);
}

bool SaveGroupHtmlPage(const tinyxml2::XMLDocument& group, const std::string& path, const std::string& rootUrl) {
  return SavePage(group, path, rootUrl, 3);
}

}  // namespace vornel
