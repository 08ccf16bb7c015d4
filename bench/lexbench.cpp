// Lexer benchmark: reads and tokenizes a source file through the real reader and reports the
// rate. Usage: lexbench <source file>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <sstream>

#include "bench_context.h"
#include "input/lexutil.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <source file>\n", argv[0]);
    return 2;
  }
  Assembly as;
  std::ostringstream err;
  if (!bench_context(as, err, argv[1], "ZEL18A44", 0)) return 1;

  // Two readings: the first enters every name into the symbol table, the second finds them all.
  for (int pass = 1; pass <= 2; ++pass) {
    if (pass == 2) {
      as.lex.ended = false;
      lex_open_source(as, argv[1]);
    }
    auto t0 = std::chrono::steady_clock::now();
    std::clock_t c0 = std::clock();
    unsigned long long tokens = 0;
    try {
      for (uint16_t k; (k = lex_next_token(as)) != TK_EOF; ++tokens)
        if (k == TK_COMMENT) lex_skip_line(as);
    } catch (const AsmExit &) {
    }
    // Wall time, and processor time, which a busy machine does not stretch.
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    long lines = as.lex.line_no;
    std::printf("reading %d: %ld lines, %llu tokens, %zu symbols\n", pass, lines, tokens,
                static_cast<size_t>(as.sym.count));
    std::printf("  wall %.3f s: %.0f lines/s; processor %.3f s: %.0f lines/s, %.0f tokens/s\n", wall, lines / wall,
                cpu, lines / cpu, tokens / cpu);
  }
  std::fputs(err.str().c_str(), stderr);
  return as.msg.errors ? 1 : 0;
}
