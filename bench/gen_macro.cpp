// Writes a macro-heavy assembler source for the macro benchmark: a few definitions, then calls,
// REPT, IRP and IRPC blocks that expand to about fifty lines per source line.
// Usage: gen_macro <lines> <output file>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A fixed linear congruential sequence, so every run writes the same file.
struct Rng {
  uint64_t s = 0x9E3779B97F4A7C15ULL;
  unsigned next(unsigned n) {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((s >> 33) % n);
  }
};

const char *const DEFS[] = {
    "load\tmacro\treg,val",   "\tmovlw\tval\t;; set W",  "\tmovwf\treg,c", "\tendm",
    "add16\tmacro\tdst,src",  "\tmovf\tsrc,w,c",        "\taddwf\tdst,f,c", "\tmovf\tsrc+1,w,c",
    "\taddwfc\tdst+1,f,c",    "\tendm",
    "clr32\tmacro\tr",        "\tirp\tk,0,1,2,3",        "\tclrf\tr+k,c", "\tendm", "\tendm",
    "delay\tmacro\tn",        "\tlocal\tagain",          "\tmovlw\tn", "again:\tdecfsz\twreg,f,c",
    "\tbra\tagain",           "\tendm",
    "block\tmacro\ta,b",      "\tload\ta,b",             "\tadd16\ta,a&2",  "\tclr32\ta",
    "\trept\t3",              "\tnop\t; padding",        "\tendm",          "\tendm",
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
  long lines = 0, delays = 0;
  auto out = [&](const char *fmt, auto... a) {
    std::fprintf(f, fmt, a...);
    std::fputc('\n', f);
    ++lines;
  };
  for (const char *d : DEFS) out("%s", d);
  while (lines < total) {
    unsigned v = r.next(4000);
    switch (r.next(8)) {
    case 0: out("\tblock\t_v%u,%u", v, r.next(256)); break;
    case 1: out("\tload\t_v%u,%u", v, r.next(256)); break;
    case 2:
      out("\trept\t%u", 105 + r.next(70));
      out("\tadd16\t_v%u,_v%u", v, r.next(4000));
      out("\tendm");
      break;
    case 3:
      out("\tirpc\tc,0123456789");
      out("\tblock\t_w&c,c");
      out("\tendm");
      break;
    case 4:
      out("\tirp\tx,<_v%u>,<_v%u>,<_v%u>,_v%u", v, v + 1, v + 2, v + 3);
      out("\trept\t8");
      out("\tload\tx,%u", r.next(256));
      out("\tendm");
      out("\tendm");
      break;
    case 5:
      if (delays++ < 20000) out("\tdelay\t%u", r.next(256));
      else out("\tnop");
      break;
    default: out("\tmovlw\t%u\t; plain line", r.next(256)); break;
    }
  }
  std::fclose(f);
  std::printf("%ld lines\n", lines);
  return 0;
}
