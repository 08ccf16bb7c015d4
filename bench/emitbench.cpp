// Emission benchmark: parses a source file, then times sizing and writing the object file (to
// memory), and reports the rates and the number of sizing passes.
// Usage: emitbench <source file> [device]
#include <chrono>
#include <cstdio>
#include <sstream>

#include "bench_context.h"
#include "output/emobj.h"

int main(int argc, char **argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <source file> [device]\n", argv[0]);
    return 2;
  }
  Assembly as;
  std::ostringstream err;
  if (!bench_context(as, err, argv[1], argc == 3 ? argv[2] : "ZEL18A44")) return 1;
  try {
    run_parse(as);
    run_finish_lists(as);
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
