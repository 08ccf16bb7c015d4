// Parser benchmark: parses a source file into statement lists through the real reader and
// parser, and reports the rate and the peak memory. Usage: parsebench <source file> [device]
#include <chrono>
#include <ctime>
#include <cstdio>
#include <sstream>

#include <sys/resource.h>

#include "bench_context.h"

int main(int argc, char **argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <source file> [device]\n", argv[0]);
    return 2;
  }
  Assembly as;
  std::ostringstream err;
  if (!bench_context(as, err, argv[1], argc == 3 ? argv[2] : "ZEL18A44")) return 1;

  auto t0 = std::chrono::steady_clock::now();
  std::clock_t c0 = std::clock();
  try {
    run_parse(as);
  } catch (const AsmExit &) {
  }
  // Wall time, and processor time, which a busy machine does not stretch.
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
  long lines = as.lex.line_no;
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("%ld lines, %u statements, %zu symbols\n", lines, as.list.node_serial, static_cast<size_t>(as.sym.count));
  std::printf("wall %.3f s: %.0f lines/s; processor %.3f s: %.0f lines/s; peak memory %ld KiB\n", wall,
              lines / wall, cpu, lines / cpu, ru.ru_maxrss);
  std::fputs(err.str().c_str(), stderr);
  return as.msg.errors ? 1 : 0;
}
