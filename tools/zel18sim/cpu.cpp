// The ZEL18 core: decoding and executing one instruction at a time.
//
// Data memory holds every register, W, STATUS and BSR included, at its address; only the
// registers with side effects (the indirect registers, PCL, the top of stack, STKPTR) and the
// ones with unimplemented bits take the slow path of read() and write(). A STATUS destination
// of an instruction that sets flags takes the flags only, as on the hardware.
#include "cpu.h"

#include <cstdio>

namespace {

// Words 0xFxxx are the second and third words of long instructions; alone they do nothing.
bool is_follow_word(unsigned w) { return (w & 0xF000) == 0xF000; }

// PLUSWn, PREINCn, POSTDECn, POSTINCn, INDFn of the three pointers.
bool is_indirect(unsigned low) {
  return (low >= R_PLUSW2 && low <= R_INDF2) || (low >= R_PLUSW1 && low <= R_INDF1) ||
         (low >= R_PLUSW0 && low <= R_INDF0);
}

}  // namespace

const char *sim_stop_name(SimStop s) {
  switch (s) {
    case STOP_NONE: return "running";
    case STOP_SLEEP: return "sleep";
    case STOP_HALT: return "halt";
    case STOP_STEP_LIMIT: return "step limit reached";
    case STOP_STACK_OVERFLOW: return "return stack overflow";
    case STOP_STACK_UNDERFLOW: return "return stack underflow";
    case STOP_UNKNOWN_OPCODE: return "unknown opcode";
    case STOP_RESET: return "reset";
    case STOP_PC_RANGE: return "execution outside program memory";
  }
  return "?";
}

Cpu::Cpu(const SimDevice &d, const std::vector<uint8_t> &program, const std::map<uint32_t, uint8_t> &beyond,
         const std::vector<uint8_t> &data)
    : dev(d), prog(program), other(beyond), mem(data) {
  mem.resize(dev.ram_size + 1, 0);  // the last byte is the sink: reads 0, keeps nothing
  page = dev.sfr_page;
  special_lo = page | R_STATUS;
}

uint32_t Cpu::fsr(int n) const {
  static constexpr uint8_t low[3] = {R_FSR0L, R_FSR1L, R_FSR2L};
  return (mem[page | (low[n] + 1)] << 8 | mem[page | low[n]]) & dev.fsr_mask();
}

void Cpu::set_fsr(int n, uint32_t v) {
  static constexpr uint8_t low[3] = {R_FSR0L, R_FSR1L, R_FSR2L};
  v &= dev.fsr_mask();
  mem[page | low[n]] = static_cast<uint8_t>(v);
  mem[page | (low[n] + 1)] = static_cast<uint8_t>(v >> 8);
}

uint32_t Cpu::tblptr() const {
  return (reg(R_TBLPTRU) & 0x3F) << 16 | reg(R_TBLPTRH) << 8 | reg(R_TBLPTRL);
}

uint8_t Cpu::table_byte(uint32_t a) const {
  if (a < prog.size()) return prog[a];
  auto it = other.find(a);
  return it == other.end() ? 0 : it->second;
}

bool Cpu::end_run(SimStop why) {
  stop = why;
  stop_pc = pc;
  return false;
}

// INDFn, POSTINCn, POSTDECn, PREINCn, PLUSWn: the effective address, with the pointer change
// before the access made and the one after it noted for finish_access().
uint32_t Cpu::resolve(uint32_t a) {
  if (a < special_lo || (a & ~0xFFu) != page) return a;
  unsigned low = a & 0xFF;
  int n;
  if (low >= R_PLUSW2 && low <= R_INDF2) n = 2;
  else if (low >= R_PLUSW1 && low <= R_INDF1) n = 1;
  else if (low >= R_PLUSW0 && low <= R_INDF0) n = 0;
  else return a;
  static constexpr uint8_t indf[3] = {R_INDF0, R_INDF1, R_INDF2};
  uint32_t p = fsr(n), mask = dev.fsr_mask();
  switch (indf[n] - low) {
    case 0: break;                                       // INDFn
    case 1: post_fsr = n, post_delta = 1; break;         // POSTINCn
    case 2: post_fsr = n, post_delta = -1; break;        // POSTDECn
    case 3: p = (p + 1) & mask, set_fsr(n, p); break;    // PREINCn
    default: p = (p + static_cast<int8_t>(reg(R_WREG))) & mask; break;  // PLUSWn
  }
  // Indirection onto an indirect register reads 0 and writes nothing.
  bool indirect = (p & ~0xFFu) == page && is_indirect(p & 0xFF);
  return indirect || p >= dev.ram_size ? dev.ram_size : p;
}

void Cpu::finish_access() {
  if (post_fsr < 0) return;
  set_fsr(post_fsr, fsr(post_fsr) + static_cast<uint32_t>(post_delta));
  post_fsr = -1;
}

uint32_t Cpu::file_addr(unsigned w) {
  unsigned f = w & 0xFF;
  uint32_t a = (w & 0x100) ? (reg(R_BSR) << 8 | f) : f < dev.access_ram_end ? f : (page | f);
  return resolve(a < dev.ram_size ? a : dev.ram_size);
}

uint8_t Cpu::read(uint32_t a) {
  if (a < special_lo) return mem[a];
  if (a > (page | 0xFF)) return a < dev.ram_size ? mem[a] : 0;
  switch (a & 0xFF) {
    case R_PCL: {  // latches the upper bytes of the PC of the next instruction
      uint32_t p = pc + 2;
      mem[page | R_PCLATH] = static_cast<uint8_t>(p >> 8);
      mem[page | R_PCLATU] = static_cast<uint8_t>((p >> 16) & 0x1F);
      return static_cast<uint8_t>(p);
    }
    case R_TOSL: return static_cast<uint8_t>(stack[sp]);
    case R_TOSH: return static_cast<uint8_t>(stack[sp] >> 8);
    case R_TOSU: return static_cast<uint8_t>((stack[sp] >> 16) & 0x1F);
    case R_STKPTR: return static_cast<uint8_t>(sp);
    default: return mem[a];
  }
}

void Cpu::write(uint32_t a, uint8_t v) {
  if (a < special_lo) {
    mem[a] = v;
    return;
  }
  if (a > (page | 0xFF)) {
    if (a < dev.ram_size) mem[a] = v;
    return;
  }
  switch (a & 0xFF) {
    case R_PCL:  // a computed jump
      next_pc = ((reg(R_PCLATU) & 0x1Fu) << 16 | reg(R_PCLATH) << 8 | v) & ~1u;
      break;
    case R_TOSL: stack[sp] = (stack[sp] & ~0xFFu) | v; return;
    case R_TOSH: stack[sp] = (stack[sp] & ~0xFF00u) | v << 8; return;
    case R_TOSU: stack[sp] = (stack[sp] & 0xFFFFu) | (v & 0x1Fu) << 16; return;
    case R_STKPTR: sp = v & 0x1F; return;
    case R_STATUS: v &= 0x1F; break;
    case R_BSR: v &= static_cast<uint8_t>((1u << dev.bsr_bits) - 1); break;
    case R_FSR0H: case R_FSR1H: case R_FSR2H: v &= static_cast<uint8_t>(dev.fsr_mask() >> 8); break;
    case R_TBLPTRU: v &= 0x3F; break;
    case R_PCLATU: v &= 0x1F; break;
    default: break;
  }
  mem[a] = v;
}

// The result of a byte-oriented instruction: into W with d = 0, else into the file register,
// which takes nothing when it is STATUS and the instruction sets flags.
void Cpu::store_result(unsigned w, uint32_t a, uint8_t v, bool sets_flags) {
  if (!(w & 0x200)) mem[page | R_WREG] = v;
  else if (!(sets_flags && a == (page | R_STATUS))) write(a, v);
}

void Cpu::set_zn(uint8_t v) {
  uint8_t &st = mem[page | R_STATUS];
  st = static_cast<uint8_t>((st & ~(ST_Z | ST_N)) | (v ? 0 : ST_Z) | (v & 0x80 ? ST_N : 0));
}

// a + b + carry with all five flags; subtraction is a + ~b + carry.
uint8_t Cpu::add_flags(unsigned a, unsigned b, unsigned carry) {
  unsigned r = a + b + carry;
  uint8_t f = 0;
  if (r > 0xFF) f |= ST_C;
  if ((a & 0xF) + (b & 0xF) + carry > 0xF) f |= ST_DC;
  if (~(a ^ b) & (a ^ r) & 0x80) f |= ST_OV;
  if (!(r & 0xFF)) f |= ST_Z;
  if (r & 0x80) f |= ST_N;
  mem[page | R_STATUS] = f;
  return static_cast<uint8_t>(r);
}

unsigned Cpu::word_at(uint32_t a) const {
  return a + 1 < prog.size() ? static_cast<unsigned>(prog[a] | prog[a + 1] << 8) : 0;
}

unsigned Cpu::length_at(uint32_t a) const {
  unsigned w = word_at(a);
  if ((w & 0xF000) == 0xC000 || (w & 0xFE00) == 0xEC00 || (w & 0xFE00) == 0xEE00) return 4;  // movff call lfsr goto
  if (dev.extended && (w & 0xFFF0) == 0x0060) return 6;                                     // movffl
  return 2;
}

void Cpu::skip() { next_pc += length_at(next_pc); }

bool Cpu::push(uint32_t addr) {
  if (sp >= dev.stack_depth || sp >= 31) return end_run(STOP_STACK_OVERFLOW);
  stack[++sp] = addr & 0x1FFFFF;
  return true;
}

bool Cpu::pop(uint32_t &addr) {
  if (sp == 0) return end_run(STOP_STACK_UNDERFLOW);
  addr = stack[sp--];
  return true;
}

bool Cpu::step() {
  if (pc + 2 > prog.size()) return end_run(STOP_PC_RANGE);
  ++steps;
  unsigned w = word_at(pc);
  next_pc = pc + 2;
  if (trace) {
    char line[64];
    std::snprintf(line, sizeof line, "%06X: %04X  W=%02X STATUS=%02X BSR=%02X\n", static_cast<unsigned>(pc), w,
                  reg(R_WREG), reg(R_STATUS), reg(R_BSR));
    *trace << line;
  }
  bool ok;
  if (w < 0x1000) ok = exec_low(w);
  else if (w < 0x6000) ok = exec_byte_op(w);
  else if (w < 0xC000) ok = exec_file_op(w);
  else ok = exec_high(w);
  if (!ok) return false;
  finish_access();
  pc = next_pc;
  return true;
}

void Cpu::run(uint64_t limit) {
  while (stop == STOP_NONE) {
    if (steps >= limit) {
      end_run(STOP_STEP_LIMIT);
      return;
    }
    step();
  }
}

// 0x0000-0x00FF: control, table access and the returns.
bool Cpu::exec_control(unsigned w) {
  uint8_t &st = mem[page | R_STATUS];
  switch (w) {
    case 0x0000: case 0x0004: return true;  // nop, clrwdt
    case 0x0001: return end_run(STOP_HALT);
    case 0x0003: return end_run(STOP_SLEEP);
    case 0x0005: return push(pc + 2);       // push
    case 0x0006: {                          // pop
      uint32_t discard;
      return pop(discard);
    }
    case 0x0007: {  // daw
      unsigned t = reg(R_WREG);
      if ((t & 0xF) > 9 || (st & ST_DC)) t += 0x06;
      if (t > 0x9F || (st & ST_C)) t += 0x60;
      if (t > 0xFF) st |= ST_C;
      mem[page | R_WREG] = static_cast<uint8_t>(t);
      return true;
    }
    case 0x0008: case 0x0009: case 0x000A: case 0x000B:    // tblrd *, *+, *-, +*
    case 0x000C: case 0x000D: case 0x000E: case 0x000F: {  // tblwt: the holding register only
      uint32_t p = tblptr();
      unsigned mode = w & 3;
      if (mode == 3) p = (p + 1) & 0x3FFFFF;
      if (w < 0x000C) mem[page | R_TABLAT] = table_byte(p);
      if (mode == 1) p = (p + 1) & 0x3FFFFF;
      if (mode == 2) p = (p - 1) & 0x3FFFFF;
      mem[page | R_TBLPTRU] = static_cast<uint8_t>(p >> 16);
      mem[page | R_TBLPTRH] = static_cast<uint8_t>(p >> 8);
      mem[page | R_TBLPTRL] = static_cast<uint8_t>(p);
      return true;
    }
    case 0x0010: case 0x0011: case 0x0012: case 0x0013: {  // retfie, return [fast]
      if (!pop(next_pc)) return false;
      if (w & 1) {
        mem[page | R_WREG] = shadow_w, st = shadow_status;
        mem[page | R_BSR] = shadow_bsr;
      }
      if (w < 0x0012 && dev.intcon) mem[dev.intcon] |= 0x80;  // retfie enables interrupts
      return true;
    }
    case 0x0014:  // callw
      if (!dev.extended) break;
      if (!push(pc + 2)) return false;
      next_pc = (reg(R_PCLATU) & 0x1Fu) << 16 | reg(R_PCLATH) << 8 | reg(R_WREG);
      return true;
    case 0x00FF: return end_run(STOP_RESET);
    default:
      if (dev.extended && (w & 0xFFF0) == 0x0060) {  // movffl
        unsigned w2 = word_at(pc + 2), w3 = word_at(pc + 4);
        if (!is_follow_word(w2) || !is_follow_word(w3)) break;
        uint32_t s = (w & 0xF) << 10 | ((w2 >> 2) & 0x3FF), d = (w2 & 3) << 12 | (w3 & 0xFFF);
        uint8_t v = read(resolve(s));
        finish_access();
        write(resolve(d), v);
        next_pc = pc + 6;
        return true;
      }
      break;
  }
  return end_run(STOP_UNKNOWN_OPCODE);
}

// 0x0000-0x0FFF: control, MOVLB, MULWF, DECF and the literal instructions.
bool Cpu::exec_low(unsigned w) {
  if (w < 0x0100) return exec_control(w);
  if (w < 0x0200) {  // movlb
    unsigned k = w & 0xFF;
    if (k >> dev.bsr_bits) return end_run(STOP_UNKNOWN_OPCODE);
    mem[page | R_BSR] = static_cast<uint8_t>(k);
    return true;
  }
  if (w < 0x0800) return exec_byte_op(w);
  uint8_t &wreg = mem[page | R_WREG];
  unsigned k = w & 0xFF;
  switch (w >> 8) {
    case 0x08: wreg = add_flags(k, ~wreg & 0xFFu, 1); break;  // sublw: k - W
    case 0x09: wreg = static_cast<uint8_t>(wreg | k), set_zn(wreg); break;
    case 0x0A: wreg = static_cast<uint8_t>(wreg ^ k), set_zn(wreg); break;
    case 0x0B: wreg = static_cast<uint8_t>(wreg & k), set_zn(wreg); break;
    case 0x0C: wreg = static_cast<uint8_t>(k); return pop(next_pc);  // retlw
    case 0x0D: {                                                     // mullw
      unsigned p = wreg * k;
      mem[page | R_PRODH] = static_cast<uint8_t>(p >> 8), mem[page | R_PRODL] = static_cast<uint8_t>(p);
      break;
    }
    case 0x0E: wreg = static_cast<uint8_t>(k); break;
    default: wreg = add_flags(wreg, k, 0); break;                    // addlw
  }
  return true;
}

// Byte-oriented file-register instructions "oooo ooda ffff ffff" (and MULWF, "0000 001a").
bool Cpu::exec_byte_op(unsigned w) {
  uint32_t a = file_addr(w);
  uint8_t f = read(a);
  uint8_t &st = mem[page | R_STATUS];
  unsigned wreg = reg(R_WREG), c = st & ST_C, r;
  switch (w >> 10) {
    case 0x00: {  // mulwf
      unsigned p = wreg * f;
      mem[page | R_PRODH] = static_cast<uint8_t>(p >> 8), mem[page | R_PRODL] = static_cast<uint8_t>(p);
      return true;
    }
    case 0x01: store_result(w, a, add_flags(f, 0xFE, 1), true); return true;  // decf
    case 0x04: r = wreg | f; break;                                            // iorwf
    case 0x05: r = wreg & f; break;                                            // andwf
    case 0x06: r = wreg ^ f; break;                                            // xorwf
    case 0x07: r = ~f & 0xFFu; break;                                          // comf
    case 0x08: store_result(w, a, add_flags(wreg, f, c), true); return true;   // addwfc
    case 0x09: store_result(w, a, add_flags(wreg, f, 0), true); return true;   // addwf
    case 0x0A: store_result(w, a, add_flags(f, 1, 0), true); return true;      // incf
    case 0x0B: case 0x13:                                                      // decfsz, dcfsnz
      r = (f - 1u) & 0xFF;
      store_result(w, a, static_cast<uint8_t>(r), false);
      if ((r == 0) == ((w >> 10) == 0x0B)) skip();
      return true;
    case 0x0F: case 0x12:                                                      // incfsz, infsnz
      r = (f + 1u) & 0xFF;
      store_result(w, a, static_cast<uint8_t>(r), false);
      if ((r == 0) == ((w >> 10) == 0x0F)) skip();
      return true;
    case 0x0C: case 0x0D: {                                                    // rrcf, rlcf
      bool right = (w >> 10) == 0x0C;
      r = right ? (f >> 1 | c << 7) : ((f << 1 | c) & 0xFF);
      store_result(w, a, static_cast<uint8_t>(r), true);
      st = static_cast<uint8_t>((st & ~ST_C) | (right ? f & 1 : f >> 7));
      set_zn(static_cast<uint8_t>(r));
      return true;
    }
    case 0x0E: store_result(w, a, static_cast<uint8_t>(f << 4 | f >> 4), false); return true;  // swapf
    case 0x10: r = (f >> 1 | f << 7) & 0xFF; break;                            // rrncf
    case 0x11: r = (f << 1 | f >> 7) & 0xFF; break;                            // rlncf
    case 0x14: r = f; break;                                                   // movf
    case 0x15: store_result(w, a, add_flags(wreg, ~f & 0xFFu, c), true); return true;   // subfwb: W - f - !C
    case 0x16: store_result(w, a, add_flags(f, ~wreg & 0xFFu, c), true); return true;   // subwfb: f - W - !C
    case 0x17: store_result(w, a, add_flags(f, ~wreg & 0xFFu, 1), true); return true;   // subwf: f - W
    default: return end_run(STOP_UNKNOWN_OPCODE);
  }
  store_result(w, a, static_cast<uint8_t>(r), true);  // the logic group: Z and N
  set_zn(static_cast<uint8_t>(r));
  return true;
}

// 0x6000-0xBFFF: compares, single-operand file instructions "0110 ooa" and bit instructions
// "oooo bbba".
bool Cpu::exec_file_op(unsigned w) {
  uint32_t a = file_addr(w);
  unsigned wreg = reg(R_WREG);
  if (w >= 0x7000) {
    uint8_t bit = static_cast<uint8_t>(1u << ((w >> 9) & 7));
    switch (w >> 12) {
      case 0x7: write(a, read(a) ^ bit); break;                               // btg
      case 0x8: write(a, read(a) | bit); break;                               // bsf
      case 0x9: write(a, read(a) & ~bit); break;                              // bcf
      case 0xA: if (read(a) & bit) skip(); break;                             // btfss
      default: if (!(read(a) & bit)) skip(); break;                           // btfsc
    }
    return true;
  }
  switch ((w >> 9) & 7) {
    case 0: if (read(a) < wreg) skip(); break;                                // cpfslt
    case 1: if (read(a) == wreg) skip(); break;                               // cpfseq
    case 2: if (read(a) > wreg) skip(); break;                                // cpfsgt
    case 3: if (read(a) == 0) skip(); break;                                  // tstfsz
    case 4: write(a, 0xFF); break;                                            // setf
    case 5:                                                                   // clrf
      if (a != (page | R_STATUS)) write(a, 0);
      mem[page | R_STATUS] |= ST_Z;
      break;
    case 6: {                                                                 // negf
      uint8_t f = read(a);
      uint8_t r = add_flags(0, ~f & 0xFFu, 1);
      if (a != (page | R_STATUS)) write(a, r);
      break;
    }
    default: write(a, static_cast<uint8_t>(wreg)); break;                     // movwf
  }
  return true;
}

// 0xC000-0xFFFF: MOVFF, the branches, calls and jumps, LFSR, ADDFSR/SUBFSR.
bool Cpu::exec_high(unsigned w) {
  if (w >= 0xF000) return true;  // a follow word on its own: nop
  if (w < 0xD000) {              // movff
    unsigned w2 = word_at(pc + 2);
    if (!is_follow_word(w2)) return end_run(STOP_UNKNOWN_OPCODE);
    uint8_t v = read(resolve(w & 0xFFF));
    finish_access();
    write(resolve(w2 & 0xFFF), v);
    next_pc = pc + 4;
    return true;
  }
  if (w < 0xE000) {  // bra, rcall
    int n = static_cast<int>(w & 0x7FF) - ((w & 0x400) ? 0x800 : 0);
    if ((w & 0x800) && !push(pc + 2)) return false;
    next_pc = pc + 2 + static_cast<uint32_t>(2 * n);
    return true;
  }
  if (w < 0xE800) {  // bz bnz bc bnc bov bnov bn bnn
    static constexpr uint8_t flag[4] = {ST_Z, ST_C, ST_OV, ST_N};
    bool set = reg(R_STATUS) & flag[(w >> 9) & 3];
    if (set != static_cast<bool>(w & 0x100)) next_pc = pc + 2 + static_cast<uint32_t>(2 * static_cast<int8_t>(w & 0xFF));
    return true;
  }
  unsigned hi = w >> 8;
  if (hi == 0xE8 || hi == 0xE9) {  // addfsr, subfsr
    int n = (w >> 6) & 3;
    if (!dev.extended || n == 3) return end_run(STOP_UNKNOWN_OPCODE);
    set_fsr(n, hi == 0xE8 ? fsr(n) + (w & 0x3F) : fsr(n) - (w & 0x3F));
    return true;
  }
  if (hi < 0xEC) return end_run(STOP_UNKNOWN_OPCODE);  // extended instruction set
  unsigned w2 = word_at(pc + 2);
  if (!is_follow_word(w2)) return end_run(STOP_UNKNOWN_OPCODE);
  if (hi == 0xEE) {  // lfsr
    int n = (w >> 4) & 3;
    if ((w & 0xC0) || n == 3) return end_run(STOP_UNKNOWN_OPCODE);
    set_fsr(n, dev.extended ? (w & 0xF) << 10 | (w2 & 0x3FF) : (w & 0xF) << 8 | (w2 & 0xFF));
    next_pc = pc + 4;
    return true;
  }
  uint32_t target = ((w & 0xFF) | (w2 & 0xFFF) << 8) << 1;
  if (hi != 0xEF) {  // call [fast]
    if (!push(pc + 4)) return false;
    if (w & 0x100) shadow_w = reg(R_WREG), shadow_status = reg(R_STATUS), shadow_bsr = reg(R_BSR);
  }
  next_pc = target;
  return true;
}
