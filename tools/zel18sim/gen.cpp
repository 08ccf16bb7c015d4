// Random but terminating ZEL18 programs in the style of compiler output, made from a seed, for
// running each one plain and optimized and comparing what they leave behind.
//
// A program is a main function and a few others, each in a code psect of its own (text<n>, one
// of them intcode, one in a psect the optimizer leaves alone), ending with an __end_of_ label.
// Calls go only to later functions, so the call graph has no cycle; jumps go forward except
// the back edges of loops, whose counters (one per loop) live in the access RAM and are touched
// by nothing else; the cost of every function is estimated so that a run stays short. The
// code holds what the optimizer rewrites: redundant movlw and movlb, skips over gotos, jumps
// to jumps, to returns and to the next statement, dead code after transfers, conditional
// branches on the flags just set, tail calls, retlw tables reached by a computed jump and data
// tables after returns (under asmopt off or with global labels, as a compiler protects them),
// asmopt off regions, temporary labels, repeated sequences, small and inline functions.
//
// Flags are read only where their value is defined for the optimizer too: right after the
// instruction that set them, or after a call only those a return keeps (C and OV always, Z
// when no return on the way carries ";funcret"; N never). Main ends by setting every flag and
// then sleeping in a loop.
#include "gen.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// splitmix64: the same numbers on every platform.
struct Rng {
  uint64_t s;
  uint64_t next() {
    uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  template <class T> const T &pick(const std::vector<T> &v) { return v[static_cast<size_t>(below(static_cast<int>(v.size())))]; }
};

struct Var {
  std::string name;
  int bank;  // -1: access RAM
};

enum RetStyle { RET_PLAIN, RET_FUNCRET, RET_RETLW, RET_RETFIE, RET_FAST };

struct Func {
  std::string name, psect;
  bool inline_flag = false;
  bool lookup = false;     // a retlw table reached by a computed jump; W = index
  RetStyle ret = RET_PLAIN;
  bool zclean = true;      // Z is defined after a call: no ";funcret" on any return on the way
  bool addr_flags = false; // the flags after a call may depend on where code lies (a lookup on the way)
  uint64_t cost = 0;       // instructions a call executes, at most
  std::string text;
};

std::string hex2(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFF);
  return b;
}

struct Gen;

// The statements of one function while they are made.
struct Body {
  Gen &g;
  Func &f;
  size_t index;                                // of f in the program
  std::ostringstream out;
  int bsr = -1;                                // known BSR, -1 when unknown
  std::vector<std::vector<std::string>> pending{{}};  // per loop depth: forward labels not yet placed
  bool dead = false;                           // after an unconditional transfer, before a label
  bool after_skip = false;                     // the last instruction was a skip
  uint64_t cost = 0, mult = 1;                 // estimated instructions, current loop multiplier
  int tlab = 0;                                // temporary label numbers used
  int budget;                                  // blocks left to make

  Body(Gen &gen, Func &fn, size_t i, int blocks) : g(gen), f(fn), index(i), budget(blocks) {}
  void ins(const std::string &s) {
    out << "\t" << s << "\n";
    cost += mult;
    after_skip = false;
  }
  void label(const std::string &l) {
    out << l << ":\n";
    bsr = -1;
    dead = false;
  }
  void transfer(const std::string &s) {
    ins(s);
    dead = true;
  }
  std::string new_pending();
  void place_pending();
  void select_bank(const Var &v);
  std::string operand(const Var &v) { return v.name + (v.bank < 0 ? ",c" : ",b"); }
  void alu();
  void flag_op_and_branch();
  void skip_block();
  void peephole();
  void loop();
  void call_block();
  void after_transfer();
  void table_read();
  void indirect();
  void snippet();
  void ret();
  void block();
  void finish();
};

struct Gen {
  Rng rng;
  std::vector<Var> acs, banked;
  std::vector<Func> funcs;
  std::vector<std::string> tables;    // global data tables after returns
  std::vector<std::string> snippets;  // sequences repeated in several places
  int counters = 0;                   // loop counters handed out
  int labels = 0;
  uint64_t cost_limit = 20000;        // per function

  explicit Gen(uint64_t seed) : rng{seed} {}
  std::string label() { return "l" + std::to_string(labels++); }
  const Var &any_var() { return rng.chance(30) ? rng.pick(acs) : rng.pick(banked); }
  std::string program();
  void make_funcs();
  void make_snippets();
};

std::string Body::new_pending() {
  std::string l = g.label();
  pending.back().push_back(l);
  return l;
}

void Body::place_pending() {
  auto &p = pending.back();
  if (p.empty()) return;
  size_t k = static_cast<size_t>(g.rng.below(static_cast<int>(p.size())));
  std::string l = p[k];
  p.erase(p.begin() + static_cast<long>(k));
  label(l);
}

void Body::select_bank(const Var &v) {
  if (v.bank < 0) return;
  if (bsr != v.bank || g.rng.chance(15)) ins(g.rng.chance(25) ? "banksel\t" + v.name : "movlb\t" + std::to_string(v.bank));
  if (g.rng.chance(10)) ins("movlb\t" + std::to_string(v.bank));  // a redundant repeat
  bsr = v.bank;
}

// One random operation on W and the variables.
void Body::alu() {
  const Var &v = g.any_var();
  select_bank(v);
  std::string f = operand(v), k = hex2(g.rng.below(256));
  static const std::vector<std::string> dfa = {"addwf", "addwfc", "subwf", "subwfb", "subfwb", "andwf", "iorwf",
                                               "xorwf", "comf",   "incf",  "decf",   "rlcf",   "rrcf",  "rlncf",
                                               "rrncf", "swapf",  "movf"};
  static const std::vector<std::string> lit = {"addlw", "sublw", "andlw", "iorlw", "xorlw", "mullw", "movlw"};
  switch (g.rng.below(10)) {
    case 0: case 1: case 2: {
      std::string d = g.rng.chance(50) ? "w," : "f,";
      ins(g.rng.pick(dfa) + "\t" + v.name + "," + d + (v.bank < 0 ? "c" : "b"));
      break;
    }
    case 3: case 4:
      ins(g.rng.pick(lit) + "\t" + k);
      break;
    case 5:
      ins("movlw\t" + k);
      ins("movwf\t" + f);
      if (g.rng.chance(40)) ins("movlw\t" + k);  // redundant
      break;
    case 6:
      ins(std::string(g.rng.chance(50) ? "clrf" : g.rng.chance(50) ? "setf" : "negf") + "\t" + f);
      break;
    case 7: {
      static const std::vector<std::string> bit = {"bsf", "bcf", "btg"};
      ins(g.rng.pick(bit) + "\t" + v.name + "," + std::to_string(g.rng.below(8)) + (v.bank < 0 ? ",c" : ",b"));
      break;
    }
    case 8: {
      const Var &w = g.any_var();
      ins(g.rng.chance(50) ? "movff\t" + v.name + "," + w.name : "mulwf\t" + f);
      break;
    }
    default:
      ins("movwf\t" + f);
      if (g.rng.chance(30)) ins("addwf\t" + v.name + ",w," + (v.bank < 0 ? "c" : "b")), ins("daw");
      break;
  }
}

// A flag set by an instruction and read by the branch right after it.
void Body::flag_op_and_branch() {
  const Var &v = g.any_var();
  select_bank(v);
  static const std::vector<std::string> ops = {"addwf", "subwf", "incf", "decf", "addwfc", "subfwb"};
  static const std::vector<std::string> br = {"bz", "bnz", "bc", "bnc", "bn", "bnn", "bov", "bnov"};
  ins(g.rng.pick(ops) + "\t" + v.name + "," + (g.rng.chance(50) ? "w," : "f,") + (v.bank < 0 ? "c" : "b"));
  if (g.rng.chance(25)) {  // a temporary label
    int n = ++tlab;
    ins(g.rng.pick(br) + "\t" + std::to_string(n) + "f");
    for (int k = g.rng.below(3); k >= 0; --k) alu();
    out << std::to_string(n) << ":\n";
    bsr = -1;
    return;
  }
  ins(g.rng.pick(br) + "\t" + new_pending());
}

// Skip instructions, over one instruction or over a goto; tests of STATUS turn into branches.
void Body::skip_block() {
  const Var &v = g.any_var();
  select_bank(v);
  std::string a = v.bank < 0 ? ",c" : ",b";
  int kind = g.rng.below(4);
  if (kind == 0) {
    ins("movf\t" + v.name + ",f" + a);
    ins(std::string(g.rng.chance(50) ? "btfsc" : "btfss") + "\tSTATUS," + (g.rng.chance(50) ? "2" : "0") + ",c");
  } else if (kind == 1) {
    ins(std::string(g.rng.chance(50) ? "btfsc" : "btfss") + "\t" + v.name + "," + std::to_string(g.rng.below(8)) + a);
  } else if (kind == 2) {
    static const std::vector<std::string> cmp = {"cpfseq", "cpfsgt", "cpfslt", "tstfsz"};
    ins(g.rng.pick(cmp) + "\t" + v.name + a);
  } else {
    static const std::vector<std::string> step = {"incfsz", "decfsz", "infsnz", "dcfsnz"};
    ins(g.rng.pick(step) + "\t" + v.name + ",f" + a);
  }
  after_skip = true;
  if (g.rng.chance(60)) {
    ins((g.rng.chance(80) ? "goto\t" : "bra\t") + new_pending());
  } else if (g.rng.chance(70)) {  // one word, in the bank already selected
    const Var &w = g.rng.chance(50) ? g.rng.pick(g.acs) : v;
    ins("incf\t" + w.name + ",f" + (w.bank < 0 ? ",c" : ",b"));
  } else {  // two words
    ins("movff\t" + v.name + "," + g.any_var().name);
  }
}

// The patterns the peephole rules look for, often with a flag read right after them.
void Body::peephole() {
  const Var &v = g.rng.pick(g.acs), &w = g.rng.pick(g.acs);
  static const std::vector<std::string> k = {"0", "1", "0xFF"};
  static const std::vector<std::string> op = {"addwf", "subwf", "andwf", "iorwf", "xorwf"};
  static const std::vector<std::string> br = {"bz", "bnz", "bc", "bnc", "bn", "bnn", "bov", "bnov"};
  switch (g.rng.below(10)) {
    case 0:  // a known W and an operation with it
      ins("movlw\t" + g.rng.pick(k));
      ins(g.rng.pick(op) + "\t" + v.name + (g.rng.chance(50) ? ",f,c" : ",w,c"));
      if (g.rng.chance(50)) ins(g.rng.pick(br) + "\t" + new_pending());
      break;
    case 1:  // a load passed on
      ins("movf\t" + v.name + ",w,c");
      if (g.rng.chance(50)) ins("movff\tWREG," + w.name);
      else if (g.rng.chance(50)) ins("xorlw\t0xFF");
      else ins(std::string(g.rng.chance(50) ? "andwf\t" : "iorwf\t") + w.name + ",w,c");
      break;
    case 2:  // moves through W and onto themselves
      ins("movff\t" + v.name + "," + (g.rng.chance(50) ? v.name : "WREG"));
      ins("movwf\t" + w.name + ",c");
      break;
    case 3:  // a constant left in W for the return
      if (index == 0) return alu();
      ins("movlw\t" + hex2(g.rng.below(256)));
      ret();
      break;
    case 4: {  // a skip around a return
      if (index == 0) return alu();
      std::string t = g.label();
      ins(std::string(g.rng.chance(50) ? "btfsc\t" : "btfss\t") + v.name + "," + std::to_string(g.rng.below(8)) + ",c");
      ins("goto\t" + t);
      ret();
      label(t);
      break;
    }
    case 5:  // the same bank twice
      ins("movlb\t1");
      ins("movf\tu" + std::to_string(g.rng.below(6)) + ",w,b");
      ins("movlb\t1");
      ins("movwf\t" + v.name + ",c");
      bsr = 1;
      break;
    case 6:  // loads and bank selections that nothing reads
      ins("movlw\t" + hex2(g.rng.below(256)));
      if (g.rng.chance(50)) ins("movlw\t" + g.rng.pick(k));
      else ins("movf\t" + w.name + ",w,c");
      ins("movlb\t" + std::to_string(g.rng.below(3)));
      bsr = g.rng.below(3);
      ins("movlb\t" + std::to_string(bsr));
      ins("movwf\t" + v.name + ",c");
      break;
    case 7: {  // W still holds a register when it is combined with another
      const Var &x = g.rng.pick(g.acs);
      static const std::vector<std::string> logic = {"andwf", "iorwf", "xorwf"};
      ins("movf\t" + v.name + ",w,c");
      if (g.rng.chance(50)) ins("movwf\t" + x.name + ",c");
      ins("movf\t" + w.name + ",w,c");
      ins(g.rng.pick(logic) + "\t" + v.name + ",w,c");
      if (g.rng.chance(50)) ins(g.rng.pick(br) + "\t" + new_pending());
      else ins("movwf\t" + x.name + ",c");
      break;
    }
    case 8:  // a known W kept through a store, then used
      ins("movlw\t" + g.rng.pick(k));
      ins("movwf\t" + w.name + ",c");
      ins(g.rng.pick(op) + "\t" + v.name + (g.rng.chance(70) ? ",f,c" : ",w,c"));
      if (g.rng.chance(40)) ins(g.rng.pick(br) + "\t" + new_pending());
      break;
    default: {  // a known W with a register reached through a pointer
      const Var &p = g.banked[g.banked.size() / 3 + static_cast<size_t>(g.rng.below(static_cast<int>(g.banked.size() * 2 / 3)))];
      std::string r = std::to_string(g.rng.below(3));
      static const std::vector<std::string> reg = {"INDF", "POSTINC", "POSTDEC", "PREINC"};
      ins("lfsr\t" + r + "," + p.name);
      ins("movlw\t" + g.rng.pick(k));
      ins(g.rng.pick(op) + "\t" + g.rng.pick(reg) + r + (g.rng.chance(70) ? ",f,c" : ",w,c"));
      if (g.rng.chance(40)) ins(g.rng.pick(br) + "\t" + new_pending());
      break;
    }
  }
}

// A counted loop; its counter belongs to it alone.
void Body::loop() {
  int n = 2 + g.rng.below(3);
  std::string c = "c" + std::to_string(g.counters++), head = g.label();
  ins("movlw\t" + std::to_string(n));
  ins("movwf\t" + c + ",c");
  label(head);
  uint64_t saved = mult;
  mult *= static_cast<uint64_t>(n);
  pending.emplace_back();
  for (int k = 1 + g.rng.below(4); k > 0 && budget > 0; --k) block();
  while (!pending.back().empty()) place_pending();
  pending.pop_back();
  switch (g.rng.below(3)) {
    case 0: ins("decfsz\t" + c + ",f,c"), ins("goto\t" + head); break;
    case 1: ins("decf\t" + c + ",f,c"), ins("bnz\t" + head); break;
    default: {
      std::string out_l = g.label();
      ins("dcfsnz\t" + c + ",f,c");
      ins("bra\t" + out_l);
      ins("bra\t" + head);
      label(out_l);
    }
  }
  mult = saved;
}

// A call of a later function, with its W result or a flag it keeps put to use.
void Body::call_block() {
  if (index + 1 >= g.funcs.size()) return alu();
  size_t j = index + 1 + static_cast<size_t>(g.rng.below(static_cast<int>(g.funcs.size() - index - 1)));
  Func &callee = g.funcs[j];
  if (cost + mult * (callee.cost + 2) > g.cost_limit) return alu();
  if (callee.lookup) ins("movlw\t" + std::to_string(g.rng.below(4)));
  if (callee.ret == RET_FAST) {
    ins("call\t" + callee.name + ",f");
  } else {
    static const std::vector<std::string> how = {"call", "call", "call", "fcall", "rcall"};
    ins(g.rng.pick(how) + "\t" + callee.name);
  }
  cost += mult * callee.cost;
  if (!callee.zclean) f.zclean = false;
  bsr = -1;
  int use = g.rng.below(4);
  // A lookup adds the table's address to W: every flag it leaves depends on where code lies.
  if (callee.lookup || callee.addr_flags) f.addr_flags = true;
  if (use == 1 && (callee.lookup || callee.addr_flags)) use = 0;
  if (use == 0) {
    const Var &v = g.rng.pick(g.acs);
    ins("movwf\t" + v.name + ",c");
  } else if (use == 1) {
    static const std::vector<std::string> kept = {"bc", "bnc", "bov", "bnov"}, zkept = {"bz", "bnz"};
    ins((callee.zclean && g.rng.chance(50) ? g.rng.pick(zkept) : g.rng.pick(kept)) + "\t" + new_pending());
  } else if (use == 2 && index > 0 && !dead && pending.size() == 1 && f.ret != RET_FAST && f.ret != RET_RETFIE &&
             callee.ret != RET_FAST) {
    ret();  // a tail call
  }
}

// The unreachable stretch after a goto or return: trampolines for forward labels, dead code,
// then a label that makes the code reachable again.
void Body::after_transfer() {
  while (dead) {
    auto &p = pending.back();
    int what = g.rng.below(4);
    if (what == 0 && !p.empty()) {
      std::string t = p.back();
      p.pop_back();
      label(t);
      if (g.rng.chance(50)) transfer("goto\t" + new_pending());                 // jump to jump
      else if (index > 0 && (pending.size() == 1 || g.rng.chance(50))) ret();   // jump to return
      else transfer("goto\t" + new_pending());
    } else if (what == 1) {
      for (int k = g.rng.below(3); k >= 0; --k) ins(g.rng.chance(50) ? "movlw\t" + hex2(g.rng.below(256)) : "clrf\ta0,c");
      dead = true;
    } else if (!p.empty()) {
      place_pending();
    } else {
      label(g.label());  // reachable from nowhere, so its code is dead; harmless
    }
  }
}

// A repeated sequence, mostly ended by a call or a return as compiled code ends such runs (so
// that procedural abstraction finds the same sequence in several places).
void Body::snippet() {
  out << g.rng.pick(g.snippets);
  cost += 8 * mult;
  bsr = -1;
  after_skip = false;
  int end = g.rng.below(100);
  if (end < 45) call_block();
  else if (end < 65 && index > 0) ret();
}

void Body::table_read() {
  if (g.tables.empty()) return alu();
  const std::string &t = g.rng.pick(g.tables);
  ins("movlw\tlow(" + t + ")");
  ins("movwf\tTBLPTRL,c");
  ins("movlw\thigh(" + t + ")");
  ins("movwf\tTBLPTRH,c");
  ins("clrf\tTBLPTRU,c");
  for (int k = g.rng.below(3); k >= 0; --k) {
    ins(g.rng.chance(50) ? "tblrd*+" : "tblrd+*");
    const Var &v = g.any_var();
    ins("movff\tTABLAT," + v.name);
  }
  ins("movf\tTABLAT,w,c");  // W must not keep an address of code
}

// Pointer accesses near a variable of bank 1 or 2: away from the loop counters, and PLUSW
// (W added as a signed byte) only reads RAM, never registers that hold code addresses.
void Body::indirect() {
  const Var &v = g.banked[g.banked.size() / 3 + static_cast<size_t>(g.rng.below(static_cast<int>(g.banked.size() * 2 / 3)))];
  std::string r = std::to_string(g.rng.below(3));
  ins("lfsr\t" + r + "," + v.name);
  static const std::vector<std::string> reg = {"INDF", "POSTINC", "POSTDEC", "PREINC"};
  for (int k = g.rng.below(4); k >= 0; --k) {
    if (g.rng.chance(20)) {
      ins("movf\tPLUSW" + r + ",w,c");
      continue;
    }
    std::string x = g.rng.pick(reg) + r;
    if (g.rng.chance(40)) ins("movf\t" + x + ",w,c");
    else if (g.rng.chance(50)) ins("movwf\t" + x + ",c");
    else ins("incf\t" + x + ",f,c");
  }
}

void Body::ret() {
  switch (f.ret) {
    case RET_PLAIN: transfer("return"); break;
    case RET_FUNCRET: transfer("return\t;funcret"); break;
    case RET_RETLW: transfer("retlw\t" + hex2(g.rng.below(256))); break;
    case RET_RETFIE: transfer("retfie"); break;
    case RET_FAST: transfer("return\tf"); break;
  }
}

void Body::block() {
  --budget;
  int what = g.rng.below(100);
  if (what < 20) alu();
  else if (what < 32) peephole();
  else if (what < 40) flag_op_and_branch();
  else if (what < 50) skip_block();
  else if (what < 58 && pending.size() < 3 && cost < g.cost_limit / 8) loop();
  else if (what < 76) call_block();
  else if (what < 80) transfer("goto\t" + new_pending());
  else if (what < 82) {  // a jump to the next statement
    std::string l = g.label();
    transfer("goto\t" + l);
    label(l);
  }
  else if (what < 88 && !g.snippets.empty()) snippet();
  else if (what < 90) table_read();
  else if (what < 92) indirect();
  else if (what < 94) {
    out << "\tasmopt\toff\n";
    alu();
    alu();
    out << "\tasmopt\ton\n";
  } else if (what < 96 && index > 0) ret();
  else if (!pending.back().empty()) place_pending();
  else alu();
  if (dead) after_transfer();
}

void Body::finish() {
  while (!pending.back().empty()) {
    if (!dead && g.rng.chance(30)) transfer("goto\t" + pending.back().front());  // a jump to the next label
    place_pending();
  }
  if (index == 0) {  // main: every flag defined, then sleep for good
    ins("movlw\t" + hex2(g.rng.below(256)));
    ins("addlw\t" + hex2(g.rng.below(256)));
    label("done");
    ins("sleep");
    ins("bra\tdone");
    return;
  }
  if (!dead) ret();
  if (g.rng.chance(30) && f.ret != RET_FAST) {  // a data table after the return
    std::string t = "tbl" + std::to_string(g.tables.size());
    g.tables.push_back(t);
    out << "\tglobal\t" << t << "\n" << t << ":\tdb\t";
    for (int k = 0; k < 4; ++k) out << (k ? "," : "") << hex2(g.rng.below(256));
    out << "\n";
  }
}

// A function reached by a computed jump into a table of retlw: W = the index (0 to 3).
std::string lookup_body(Gen &g, Func &f) {
  std::string t = "lt" + std::to_string(g.labels++);
  std::ostringstream o;
  o << "\tandlw\t3\n\trlncf\tWREG,w,c\n\tmovwf\ttidx,c\n\tmovlw\thigh(" << t << ")\n\tmovwf\tPCLATH,c\n"
    << "\tmovlw\tlow(" << t << ")\n\taddwf\ttidx,w,c\n\tbtfsc\tSTATUS,0,c\n\tincf\tPCLATH,f,c\n"
    << "\tmovwf\tPCL,c\n\tasmopt\tpush\n\tasmopt\toff\n" << t << ":\n";
  for (int k = 0; k < 4; ++k) o << "\tretlw\t" << hex2(g.rng.below(256)) << "\n";
  o << "\tasmopt\tpop\n";
  f.cost = 11;
  return o.str();
}

void Gen::make_snippets() {
  for (int n = 0; n < 4; ++n) {
    const Var &a = rng.pick(banked), &b = rng.pick(acs);
    std::ostringstream o;
    o << "\tmovlb\t" << a.bank << "\n\tmovf\t" << a.name << ",w,b\n";
    o << (rng.chance(50) ? "\taddwf\t" : "\txorwf\t") << b.name << ",f,c\n";
    if (n & 1) o << "\tbtfsc\t" << b.name << ",0,c\n\tincf\t" << a.name << ",f,b\n";  // a skip inside
    o << "\tmovwf\t" << a.name << ",b\n";
    // Long enough that two or three copies pay for a call.
    for (const Var &c : banked)
      if (c.bank == a.bank && &c != &a) {
        o << "\tmovf\t" << c.name << ",w,b\n\tiorwf\t" << b.name << ",f,c\n\tmovwf\t" << c.name << ",b\n";
        break;
      }
    snippets.push_back(o.str());
  }
}

void Gen::make_funcs() {
  int n = 3 + rng.below(6);
  funcs.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    Func &f = funcs[static_cast<size_t>(i)];
    f.name = i ? "_f" + std::to_string(i) : "_main";
    f.psect = "text" + std::to_string(i);
    if (i == 0) continue;
    int r = rng.below(100);
    f.ret = r < 45 ? RET_PLAIN : r < 70 ? RET_FUNCRET : r < 92 ? RET_RETLW : RET_FAST;
    f.inline_flag = rng.chance(12);
  }
  if (n > 2) funcs[static_cast<size_t>(n - 1)].psect = "intcode", funcs[static_cast<size_t>(n - 1)].ret = RET_RETFIE;
  if (n > 3 && rng.chance(50)) funcs[static_cast<size_t>(n - 2)].psect = "mycode";
  if (n > 4 && rng.chance(60)) funcs[static_cast<size_t>(n - 3)].lookup = true, funcs[static_cast<size_t>(n - 3)].ret = RET_RETLW;
  for (size_t i = funcs.size(); i-- > 0;) {  // callees first
    Func &f = funcs[i];
    f.zclean = f.ret != RET_FUNCRET;
    if (f.lookup) {
      f.text = lookup_body(*this, f);
      continue;
    }
    bool tiny = i > 0 && rng.chance(25);
    Body b(*this, f, i, tiny ? 0 : i ? 4 + rng.below(14) : 15 + rng.below(25));
    if (tiny) {
      b.ins("incf\t" + rng.pick(acs).name + ",f,c");
      if (rng.chance(50)) b.ins("movlw\t" + hex2(rng.below(256)));
    }
    while (b.budget > 0) b.block();
    b.finish();
    f.cost = b.cost + 2;
    f.text = b.out.str();
  }
}

std::string Gen::program() {
  for (int k = 0; k < 8; ++k) acs.push_back({"a" + std::to_string(k), -1});
  for (int bank = 0; bank < 3; ++bank)
    for (int k = 0; k < 6; ++k) banked.push_back({std::string(1, "vuw"[bank]) + std::to_string(k), bank});
  make_snippets();
  make_funcs();
  std::ostringstream o;
  o << "\tprocessor\tZEL18A44\n";
  static const char *equs[][2] = {{"STATUS", "0xFD8"}, {"WREG", "0xFF3"}, {"PCL", "0xFF9"}, {"PCLATH", "0xFFA"},
                                  {"TABLAT", "0xFF5"}, {"TBLPTRL", "0xFF6"}, {"TBLPTRH", "0xFF7"}, {"TBLPTRU", "0xFF8"},
                                  {"INDF0", "0xFEF"}, {"POSTINC0", "0xFEE"}, {"POSTDEC0", "0xFED"}, {"PREINC0", "0xFEC"},
                                  {"PLUSW0", "0xFEB"}, {"INDF1", "0xFE7"}, {"POSTINC1", "0xFE6"}, {"POSTDEC1", "0xFE5"},
                                  {"PREINC1", "0xFE4"}, {"PLUSW1", "0xFE3"}, {"INDF2", "0xFDF"}, {"POSTINC2", "0xFDE"},
                                  {"POSTDEC2", "0xFDD"}, {"PREINC2", "0xFDC"}, {"PLUSW2", "0xFDB"}};
  for (auto &e : equs) o << e[0] << "\tequ\t" << e[1] << "\n";
  o << "\tpsect\tacs,class=COMRAM,space=1\n";
  for (const Var &v : acs) o << v.name << ":\tds\t1\n";
  o << "tidx:\tds\t1\n";
  for (int c = 0; c < counters; ++c) o << "c" << c << ":\tds\t1\n";
  for (int bank = 0; bank < 3; ++bank) {
    o << "\tpsect\tbank" << bank << "v,class=BANK" << bank << ",space=1\n";
    for (const Var &v : banked)
      if (v.bank == bank) o << v.name << ":\tds\t1\n";
  }
  for (const Func &f : funcs) {
    o << "\n\tpsect\t" << f.psect << ",class=CODE,reloc=2" << (f.inline_flag ? ",inline" : "") << "\n";
    o << "\tglobal\t" << f.name << "\n" << f.name << ":\n" << f.text << "__end_of" << f.name << ":\n";
  }
  o << "\tend\t_main\n";
  return o.str();
}

}  // namespace

std::string gen_program(uint64_t seed) { return "; gen_prog " + std::to_string(seed) + "\n" + Gen(seed).program(); }
