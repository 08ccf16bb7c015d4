// Writes a compiler-style assembler source of a given number of lines, for the lexer and parser
// benchmarks. The source assembles without messages.
// Usage: gen_source <lines> <output file>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A fixed linear congruential sequence, so every run writes the same file.
struct Rng {
  uint64_t s = 0x2545F4914F6CDD1DULL;
  unsigned next(unsigned n) {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((s >> 33) % n);
  }
};

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <lines> <output file>\n", argv[0]);
    return 2;
  }
  long total = std::atol(argv[1]);
  std::FILE *f = std::fopen(argv[2], "wb");
  if (!f || total < 0) {
    std::perror(argv[2]);
    return 1;
  }
  Rng r;
  long lines = 0, label = 0, func = 0;
  auto out = [&](const char *fmt, auto... a) {
    std::fprintf(f, fmt, a...);
    std::fputc('\n', f);
    ++lines;
  };
  while (lines < total) {
    // One function: psect and global header, a body of instruction lines, the return.
    ++func;
    out("\tpsect\ttext%ld,local,class=CODE,delta=1,reloc=2", func % 2000);
    out("\tglobal\t_func%ld", func);
    out("_func%ld:", func);
    out("; #line %ld \"main.c\"", func);
    int body = 20 + static_cast<int>(r.next(40));
    for (int i = 0; i < body && lines < total; ++i) {
      // A function touches a few variables, most of them near its own.
      unsigned v = (func * 7 + r.next(64)) % 5000, w = r.next(8) ? (v + r.next(16)) % 5000 : r.next(5000);
      switch (r.next(12)) {
      case 0: out("\tmovlw\tlow(_var%u+%u)", v, r.next(8)); break;
      case 1: out("\tmovwf\t((c:_var%u)),c\t;volatile", v); break;
      case 2: out("\tmovff\t_var%u,_var%u", v, w); break;
      case 3: out("\tcall\t_func%u\t;wreg free", v % 2000); break;
      case 4: out("\tbtfsc\tstatus,2,c"); break;
      case 5: out("\tgoto\tl%ld", (label + 1) % 20000); break;
      case 6: out("l%ld:", ++label % 20000); break;
      case 7: out("\tmovlb\t%u\t; () banked", v % 16); break;
      case 8: out("\taddwf\t(??_func%ld+%u)&0ffh,w,b", func % 2000, r.next(16)); break;
      case 9: out("\tdw\t0x%04X,%d,-1", v, static_cast<int>(w) - 2500); break;
      case 10: out("\tmovlw\t(%uh+%u)", r.next(256), r.next(100)); break;
      default: out("\tline\t%ld", lines); break;
      }
    }
    if (lines < total) out("\treturn\t;funcret");
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
