// Emission benchmark: parses a source file, then times sizing and writing the object file (to
// memory), and reports the rates and the number of sizing passes.
// Usage: emitbench <source file> [device]
#include <chrono>
#include <cstdio>
#include <sstream>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "driver/assembly.h"
#include "driver/run.h"
#include "input/lexutil.h"
#include "input/macro.h"
#include "lang/parser.h"
#include "output/emobj.h"

int main(int argc, char **argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <source file> [device]\n", argv[0]);
    return 2;
  }
  Assembly as;
  std::ostringstream err;
  as.io.err = &err;
  as.msg.err = &err;
  msg_init(as.msg, nullptr);
  msg_set_error_limit(as.msg, 1 << 30);
  run_set_message_hook(as);
  as.opt.device_name = argc == 3 ? argv[2] : "ZEL18A44";
  try {
    chipinfo_load(as, as.opt.device_name, ASZEL18_CHIPINFO);
    sfr_init(as);
    sym_init(as);
    as.opt.source_files = {argv[1]};
    lex_init(as);
    macro_init(as);
    tlab_init(as.tlab);
    parse(as);
    list_if_pass_all(as);
  } catch (const AsmExit &) {
    std::fputs(err.str().c_str(), stderr);
    return 1;
  }
  using clock = std::chrono::steady_clock;
  std::ostringstream obj;
  auto t0 = clock::now();
  try {
    emobj_size_all(as);
  } catch (const AsmExit &) {
  }
  auto t1 = clock::now();
  try {
    emobj_write_object(as, obj);
  } catch (const AsmExit &) {
  }
  auto t2 = clock::now();
  double size_s = std::chrono::duration<double>(t1 - t0).count();
  double write_s = std::chrono::duration<double>(t2 - t1).count();
  double n = as.list.node_serial;
  std::printf("%u statements in %zu psects; sizing %.3f s (%.0f statements/s), most passes %u, %llu in all\n",
              as.list.node_serial, as.list.lists.size(), size_s, n / size_s, as.emit.max_passes,
              as.emit.total_passes);
  std::printf("object file %.3f s (%.0f statements/s), %zu bytes\n", write_s, n / write_s, obj.str().size());
  return 0;
}
