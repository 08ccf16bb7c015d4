// Writes a compiler-style assembler source of a given number of lines, for the benchmarks:
// equates, a macro, RAM variables, and psects of functions with labels, jumps and conditional
// branches, calls with their call-graph entries, bank selections and data tables. The source
// assembles without messages. With --gas the same program is written for the x86-64 GNU
// assembler, line for line, as the reference the benchmark table compares with.
// Usage: gen_source <lines> <output file>
#include <algorithm>
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
  bool gas = argc == 4 && std::string(argv[3]) == "--gas";
  if (argc != 3 && !gas) {
    std::fprintf(stderr, "usage: %s <lines> <output file> [--gas]\n", argv[0]);
    return 2;
  }
  long total = std::atol(argv[1]);
  std::FILE *f = std::fopen(argv[2], "wb");
  if (!f || total < 0) {
    std::perror(argv[2]);
    return 1;
  }
  Rng r;
  long lines = 0, func = 0;
  auto out = [&](const char *fmt, auto... a) {
    std::fprintf(f, fmt, a...);
    std::fputc('\n', f);
    ++lines;
  };

  // Equates, a macro, and the variables in a RAM psect of their own.
  unsigned nvars = static_cast<unsigned>(std::min<long>(5000, std::max<long>(16, total / 40)));
  out(gas ? "\t.equ\tZFLAG,2" : "ZFLAG\tequ\t2");
  out(gas ? "\t.equ\tWIDTH,8" : "WIDTH\tequ\t8");
  out(gas ? "\t.equ\tSTATUS,0xFD8" : "STATUS\tequ\t0xFD8");
  out(gas ? "\t.macro\tLDK reg,k" : "LDK\tmacro\treg,k");
  out(gas ? "\tmovl\t$\\k,%%eax" : "\tmovlw\tk");
  out(gas ? "\tmovb\t%%al,\\reg(%%rip)" : "\tmovwf\treg,b");
  out(gas ? "\t.endm" : "\tendm");
  out(gas ? "\t.bss" : "\tpsect\tbssBANK0,global,class=BANK0,space=1,delta=1,noexec");
  for (unsigned v = 0; v < nvars; ++v) {
    out(gas ? "\t.globl\t_var%u" : "\tglobal\t_var%u", v);
    out(gas ? "_var%u:\t.skip\t1" : "_var%u:\tds\t1", v);
  }
  out(gas ? "\t.section\t.text.f0,\"ax\"" : "\tpsect\ttext0,local,class=CODE,delta=1,reloc=2");
  out(gas ? "\t.globl\t_main" : "\tglobal\t_main");
  out(gas ? "\t.type\t_main,@function" : "\tfnroot\t_main");
  out(gas ? "_main:" : "_main:");
  out(gas ? "\tret" : "\treturn");

  while (lines < total) {
    // One function: psect and global header, its call-graph entries, a body, the return.
    ++func;
    out(gas ? "\t.section\t.text.f%ld,\"ax\"" : "\tpsect\ttext%ld,local,class=CODE,delta=1,reloc=2", func % 2000);
    out(gas ? "\t.globl\t_func%ld" : "\tglobal\t_func%ld", func);
    out(gas ? "\t.type\t_func%ld,@function\t# %u %u" : "\tfnsize\t_func%ld,%u,%u", func, r.next(8), r.next(4));
    out(gas ? "_func%ld:" : "_func%ld:", func);
    out(gas ? "# #line %ld \"main.c\"" : "; #line %ld \"main.c\"", func);
    // Jumps go forward to the function's next temporary label, so that the names of a
    // million-line source stay within the symbol table's limit.
    long label = 0;
    bool pending = false;  // a jump names the next label, not yet defined
    int body = 20 + static_cast<int>(r.next(40));
    for (int i = 0; i < body && lines < total; ++i) {
      // A function touches a few variables, most of them near its own.
      unsigned v = (func * 7 + r.next(64)) % nvars, w = r.next(8) ? (v + r.next(16)) % nvars : r.next(nvars);
      switch (r.next(15)) {
      case 0: out(gas ? "\tmovl\t$_var%u+%u,%%eax" : "\tmovlw\tlow(_var%u+%u)", v, r.next(8)); break;
      case 1: out(gas ? "\tmovb\t%%al,_var%u(%%rip)\t# volatile" : "\tmovwf\t((c:_var%u)),c\t;volatile", v); break;
      case 2: out(gas ? "\tmovzbl\t_var%u(%%rip),%%eax\t# _var%u" : "\tmovff\t_var%u,_var%u", v, w); break;
      case 3: {
        long callee = 1 + static_cast<long>(r.next(static_cast<unsigned>(func)));
        out(gas ? "\t.type\t_func%ld,@function\t# _func%ld" : "\tfncall\t_func%ld,_func%ld", func, callee);
        out(gas ? "\tcall\t_func%ld\t# wreg free" : "\tcall\t_func%ld\t;wreg free", callee);
        break;
      }
      case 4: out(gas ? "\ttestb\t$ZFLAG,%%al" : "\tbtfsc\tSTATUS,ZFLAG,c"); break;
      case 5: out(gas ? "\tjmp\t%ldf" : "\tgoto\t%ldf", label + 1); pending = true; break;
      case 6: out(gas ? "%ld:" : "%ld:", ++label); pending = false; break;
      case 7: out(gas ? "\tmovl\t$%u,%%ebx\t# () banked" : "\tmovlb\t%u\t; () banked", v % 16); break;
      case 8: out(gas ? "\taddb\t_var%u+%u(%%rip),%%al" : "\taddwf\t(_var%u+%u)&0ffh,w,b", v, r.next(16)); break;
      case 9: out(gas ? "\t.short\t0x%04X,%d,-1" : "\tdw\t0x%04X,%d,-1", v, static_cast<int>(w) - 2500); break;
      case 10: out(gas ? "\tmovl\t$(0x%02X+%u),%%eax" : "\tmovlw\t(0%02Xh+%u)", r.next(128), r.next(100)); break;
      case 11: out(gas ? "\tLDK\t_var%u,%u" : "\tLDK\t_var%u,%u", v, r.next(256)); break;
      case 12: out(gas ? "\tjnz\t%ldf" : "\tbnz\t%ldf", label + 1); pending = true; break;
      case 13: out(gas ? "\tleaq\t_var%u(%%rip),%%rbx" : "\tbanksel\t_var%u", w); break;
      default: out(gas ? "\t.p2align\t0\t# %ld" : "\tline\t%ld", lines); break;
      }
    }
    if (pending) out(gas ? "%ld:" : "%ld:", label + 1);
    if (lines < total) out(gas ? "\tret\t# funcret" : "\treturn\t;funcret");
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
