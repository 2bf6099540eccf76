// The Guitar Pro reader on hostile bytes, with its diagnostic log and the gpdump text of what
// it read. Refusing is the expected outcome for most inputs; any crash, hang or huge
// allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "import/guitarpro/GpSongDump.h"
#include "import/guitarpro/gp_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornel::gp_import reader;
  std::string log;
  if (size % 2 == 0) reader.setLog(&log);
  reader.readBytes(std::span(data, size));
  std::string dump;
  vornel::DumpGuitarProSong(reader, dump);
  return 0;
}
