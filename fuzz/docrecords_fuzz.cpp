// The readers of the document records on hostile bytes. The first byte picks the record and
// the reading version; the rest is read as that record's archive form or, for the XML forms,
// parsed and read as its element (and written back when it was read). Refusing is the
// expected outcome for most inputs; any crash, hang or huge allocation is a fault.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "SilentPrompts.h"
#include "document/CMIDIExportDlg.h"
#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "model/text/CFacsimileListDlg.h"
#include "model/text/CRTFPreface.h"
#include "model/text/CTextStack.h"
#include "model/text/RtfText.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/xml/XmlHelpers.h"

namespace {

void ReadBinary(int record, std::span<const uint8_t> data, const char* version) {
  vornel::ArchiveReader reader(data, version);
  switch (record) {
    case 0: {
      vornel::CPageDlg page;
      page.Load(reader);
      break;
    }
    case 1: {
      vornel::CTitlePage title;
      title.Load(reader);
      break;
    }
    case 2: {
      vornel::CFacsimileListDlg list;
      list.Load(reader);
      break;
    }
    case 3: {
      vornel::CMIDIExportDlg settings;
      settings.Load(reader);
      break;
    }
    default: {
      // Texts of every kind, read by reference as arrays hold them.
      while (!reader.AtEnd()) (void)reader.ReadOwnedObject<vornel::CTrackText>();
      break;
    }
  }
}

void ReadXml(int record, std::string_view text) {
  tinyxml2::XMLDocument doc;
  if (doc.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return;
  const tinyxml2::XMLElement* root = doc.FirstChildElement();
  tinyxml2::XMLDocument out;
  switch (record) {
    case 0: {
      vornel::CPageDlg page;
      page.ReadXml(root);
      out.InsertEndChild(page.WriteXml(out));
      break;
    }
    case 1: {
      vornel::CTitlePage title;
      title.ReadXml(root);
      out.InsertEndChild(title.WriteXml(out));
      break;
    }
    case 2: {
      vornel::CFacsimileListDlg list;
      list.ReadXml(root);
      out.InsertEndChild(list.WriteXml(out));
      break;
    }
    default: {
      vornel::CTextStack stack;
      for (int i = 0; i < 3; ++i) stack.push_back(std::make_unique<vornel::DIBornament>());
      stack.ReadFontsXml(stack.ReadXml(root));
      out.InsertEndChild(stack.WriteXml(out));
      break;
    }
  }
}

void BuildRtf(std::string_view text) {
  const size_t cut = text.size() / 2;
  vornel::CRTFPreface block;
  block.TextToRtf(text.substr(0, cut), text.substr(cut));
  vornel::CRTFPreface contents;
  contents.AppendRtfBulletItem(text, 1, text.substr(cut));
  contents.AppendRtfBulletItem(block.text, 2, text.substr(0, cut));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kVersions[] = {"9.8.1.0", "9.7.2.0", "9.6.5.7", "9.16", "7.4", "6.3", "6.1", "10.0"};
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::span<const uint8_t> rest(data + 1, size - 1);
  const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());
  const int record = selector & 0x7;
  try {
    switch ((selector >> 3) & 0x3) {
      case 0:
        ReadBinary(record, rest, kVersions[(selector >> 5) & 0x7]);
        break;
      case 1:
        ReadXml(record & 0x3, text);
        break;
      case 2:
        BuildRtf(text);
        break;
      default:
        if (rest.size() >= 8) {
          const auto word = [&](size_t i) { return static_cast<int32_t>(rest[i] | (rest[i + 1] << 8)) - 0x100; };
          (void)vornel::LayoutFacsimile(word(0) * 997, word(2) * 991,
                                        {word(4) * 30, word(6) * 30, 600, 300, 96, 96, static_cast<int32_t>(rest[0])});
        }
        break;
    }
  } catch (const vornel::ArchiveError&) {
  } catch (const vornel::XmlTagMismatch&) {
  } catch (const std::out_of_range&) {
  }
  return 0;
}
