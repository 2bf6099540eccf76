// The rich-text reader, writer, converter and layout on hostile bytes. What is read must
// write back to RTF that reads into the same model, and a second write must give the same
// bytes; the converter's fragment, when there is one, must parse as XML; laying the text out
// and drawing it must not fail. Any crash, hang, huge allocation or broken round trip is a
// fault.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "SilentPrompts.h"
#include "layout/richtext/RichTextLayout.h"
#include "platform/UserPrompts.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfToHtml.h"
#include "platform/rtf/RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  vornel::RtfReadResult read = vornel::ReadRtf(text);
  const std::string written = vornel::WriteRtf(read.document);
  const vornel::RtfReadResult again = vornel::ReadRtf(written);
  if (again.stopped || !(again.document == read.document)) std::abort();
  if (vornel::WriteRtf(again.document) != written) std::abort();

  vornel::CRTF_HTMLConverter converter;
  const std::string html = vornel::ConvertRtfToHtml(converter, text);
  if (!html.empty()) {
    tinyxml2::XMLDocument doc;
    if (doc.Parse(html.data(), html.size()) != tinyxml2::XML_SUCCESS) std::abort();
  }

  // Narrow, so that words are cut and lines many; measured by the fixed engine.
  auto content = std::make_shared<const vornel::RichTextContent>(std::move(read.document), read.stopped);
  const vornel::RichTextLayout layout(content, 1440, vornel::FixedTextEngine::Shared());
  vornel::RecordingDevice dc(96);
  dc.SetRecording(false);
  layout.Draw(dc, vornel::Point{}, 50);
  return 0;
}
