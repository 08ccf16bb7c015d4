// Macro benchmark: tokenizes a source through the reader with its macros expanded, starting
// definitions on the directive tokens as the parser does, and reports the rate of expanded
// lines. Usage: macrobench <source file>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>

#include "bench_context.h"
#include "input/lexutil.h"
#include "input/macro.h"
#include "isa/ops.h"
#include "lang/sym.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <source file>\n", argv[0]);
    return 2;
  }
  Assembly as;
  std::ostringstream err;
  if (!bench_context(as, err, argv[1], "ZEL18A44", 0)) return 1;

  auto t0 = std::chrono::steady_clock::now();
  std::clock_t c0 = std::clock();
  unsigned long long tokens = 0, lines = 0;
  try {
    bool first = true;
    for (uint16_t k; (k = lex_next_token(as)) != TK_EOF; ++tokens) {
      bool start = first;
      first = k == TK_EOL;
      if (k == TK_EOL) ++lines;
      else if (k == TK_COMMENT) lex_skip_line(as), ++lines, first = true;
      else if (start && k == TK_NAME) {
        Symbol *s = as.lex.tok.sym;
        if (lex_next_token(as) == K_MACRO) {
          sym_define_macro(as, s);
          macro_define(as, s);
        } else {
          lex_unget_token(as, as.lex.tok);
        }
      } else if (start && k == K_REPT) {
        lex_next_token(as);
        macro_define_rept(as, as.lex.tok.num);
      } else if (start && k == K_IRP) {
        macro_define_irp(as);
      } else if (start && k == K_IRPC) {
        macro_define_irpc(as);
      }
    }
  } catch (const AsmExit &) {
  }
  // Wall time, and processor time, which a busy machine does not stretch.
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
  std::printf("%ld source lines, %llu expanded lines, %llu tokens, %zu symbols\n", as.lex.line_no, lines, tokens,
              static_cast<size_t>(as.sym.count));
  std::printf("wall %.3f s: %.0f lines/s; processor %.3f s: %.0f expanded lines/s\n", wall, lines / wall, cpu,
              lines / cpu);
  std::fputs(err.str().c_str(), stderr);
  return as.msg.errors ? 1 : 0;
}
