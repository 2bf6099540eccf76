// gpdump FILE [--log LOG]: what the Guitar Pro reader reads of a file. A file it cannot read
// gives the reader's failure text, its step and byte offset, and exit code 1.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "import/guitarpro/GpSongDump.h"
#include "import/guitarpro/gp_import.h"
#include "platform/io/FileIO.h"

namespace vornel::tool {

namespace {

int GpDump(const CommandArguments& args) {
  std::string file;
  std::string logPath;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--log" && i + 1 < args.size()) {
      logPath = args[++i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      return PrintUsage("gpdump");
    }
  }
  if (file.empty()) return PrintUsage("gpdump");

  gp_import reader;
  std::string log;
  if (!logPath.empty()) reader.setLog(&log);
  const bool ok = reader.read(file.c_str());
  if (!logPath.empty()) {
    std::string error;
    if (!WriteFileAtomically(logPath, log, &error)) {
      std::fprintf(stderr, "%s: %s\n", logPath.c_str(), error.c_str());
    }
  }
  if (!ok) {
    std::printf("failed in %.*s at offset %zu: %s\n", static_cast<int>(reader.failureStep().size()),
                reader.failureStep().data(), reader.failureOffset(), reader.failure().c_str());
    return 1;
  }
  std::string out;
  DumpGuitarProSong(reader, out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const ToolCommand registration("gpdump", "gpdump FILE.gp3|FILE.gp4|FILE.gp5 [--log LOG]",
                               "print what the Guitar Pro reader reads of a file", GpDump);

}  // namespace

}  // namespace vornel::tool
