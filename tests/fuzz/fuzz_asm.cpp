// Fuzz target: one whole assembly run in-process on a source text. The first byte selects
// options; the rest is the source, written to a file of this process.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "driver/run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const std::string dir = "/tmp/aszel18-fuzz-" + std::to_string(::getpid());
  static_cast<void>(::mkdir(dir.c_str(), 0700));
  const std::string src = dir + "/in.as";
  {
    std::ofstream f(src, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  uint8_t sel = data[0];
  std::vector<std::string> args = {"aszel18", std::string("-C") + ASZEL18_SOURCE_DIR + "/data/quillon-18.ini",
                                   "-mcpu=ZEL18A44", "-O" + dir + "/out.obj"};
  if (sel & 1) args.push_back("-O");
  if (sel & 2) args.push_back("-L" + dir + "/out.lst");
  if (sel & 4) args.push_back("-A");
  if (sel & 8) args.push_back("-H");
  if (sel & 16) args.push_back("--xinst");
  if (sel & 32) args.push_back("-mcpu=ZEL18X100");
  if (sel & 64) args.push_back("--opt=space");
  if (sel & 128) args.push_back("--errata=16385");
  args.push_back(src);
  Assembly as;
  std::ostringstream out, err;
  as.io.out = &out;
  as.io.err = &err;
  as.msg.err = &err;
  run_assembly(as, args);
  return 0;
}
