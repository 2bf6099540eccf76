// The metafile player on hostile bytes. The first byte chooses how the data is named: even
// as a Windows metafile, odd as an enhanced metafile (which is known by its name only).

#include <string_view>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/native/PLWEMFDecoder.h"

namespace {

class NamedSource : public vornel::PLDataSource {
 public:
  NamedSource(std::string_view name, const uint8_t* data, size_t size) {
    Open(name, data, static_cast<int64_t>(size));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  NamedSource source((data[0] & 1) != 0 ? "fuzz.emf" : "fuzz.wmf", data + 1, size - 1);
  vornel::PLWEMFDecoder decoder;
  vornel::PLAnyBmp bmp;
  try {
    decoder.MakeBmp(source, bmp, 0);
  } catch (const vornel::PLTextException&) {
    // Refusing is the expected outcome for most inputs.
  }
  return 0;
}
