// Register content tracking: the record the peephole walk keeps, and the liveness query.
//
// Both err on the safe side: a fact is kept only while nothing may have changed it, and a
// register counts as live wherever the scan cannot tell.
#include "optim/regtrack.h"

#include <string_view>

#include "device/chip.h"
#include "device/sfrs.h"
#include "driver/assembly.h"
#include "optim/optim.h"

namespace {

constexpr uint32_t LR_ALL = LR_W | LR_BSR | F_ALL;
constexpr unsigned LIVE_BUDGET = 40;  // statements one query examines
constexpr unsigned LIVE_DEPTH = 4;    // calls and jumps followed on one path
constexpr unsigned MAX_PATHS = 48;    // a path forks at most once per statement examined
constexpr uint16_t OPC_BTG = 0x7000, OPC_BSF = 0x8000;
constexpr uint16_t OPC_CALL_FAST = 0x100, OPC_RETURN_FAST = 0x1;

bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }

// Statements that neither give code nor change the flow.
bool passes(const Statement *n) {
  if (n->op_flags & NF_HIDDEN) return true;
  switch (n->op_type) {
    case NAME: case TLABEL: case SET: case EQU: case INCLUDE: case MESSG: case TITLE: case ENDM:
      return true;
    default:
      return false;
  }
}

// Whether a value may be remembered as a register's content: one that means the same at
// every statement ("$" and temporary-label references do not).
bool stable_value(const Value &v, unsigned depth = 0) {
  if (depth > 64) return false;
  if (expr_is_unary(v.v_rtype)) return v.v_left() && stable_value(*v.v_left(), depth + 1);
  if (expr_is_binary(v.v_rtype))
    return v.v_left() && stable_value(*v.v_left(), depth + 1) && stable_value(*v.v_right(), depth + 1);
  switch (v.v_rtype & ~RT_SEG) {
    case RT_ABS: case RT_SYM: case RT_PSECT: return true;
    default: return false;
  }
}

// The resources a register stands for: those it definitely is (`definite`) or may be.
uint32_t resources(const RegRef &r, bool definite) {
  uint32_t m = 0;
  if (definite ? r.is(SFR_WREG) : r.may_be(SFR_WREG)) m |= LR_W;
  if (definite ? r.is(SFR_BSR) : r.may_be(SFR_BSR)) m |= LR_BSR;
  if (definite ? r.is(SFR_STATUS) : r.may_be(SFR_STATUS)) m |= F_ALL;
  return m;
}

// The bit operand of a bit instruction, when it is a constant.
int bit_of(const Statement &n) {
  const Value &b = stmt_opnd2(&n).o_value;
  return b.v_rtype == RT_ABS && b.v_offs >= 0 && b.v_offs <= 7 ? static_cast<int>(b.v_offs) : -1;
}

bool full_address(const Statement &n) { return n.op_type == MOVFF || n.op_type == MOVFFL; }

struct Effect {
  uint32_t reads = LR_ALL;  // resources read (before any write)
  uint32_t writes = 0;      // resources written for certain without being read first
};

// What a statement reads and writes of the liveness resources, from the instruction table.
Effect effect_of(Assembly &as, const Statement &n) {
  InsnFacts f = ops_statement_facts(n);
  if (f.does & (FX_OPAQUE | FX_MEMORY | FX_STACK)) return {};
  Effect e{f.reads, f.writes};
  if (f.does & FX_READS_W) e.reads |= LR_W;
  if (f.does & FX_WRITES_W) e.writes |= LR_W;
  if (f.does & FX_READS_BSR) e.reads |= LR_BSR;
  if (f.does & FX_WRITES_BSR) e.writes |= LR_BSR;
  if (f.does & (FX_READS_F | FX_WRITES_F)) {
    RegRef r = reg_classify(as, n.op_opnd1, n.op_access, full_address(n));
    int bit = bit_of(n);
    if ((n.op_type == BCF || n.op_type == BTFSC) && r.is(SFR_STATUS) && bit >= 0) {
      // A bit instruction on STATUS touches one flag.
      uint32_t m = (1u << bit) & F_ALL;
      if (n.op_type == BTFSC || n.op_subop == OPC_BTG) e.reads |= m;
      else e.writes |= m;
    } else {
      if (f.does & FX_READS_F) e.reads |= resources(r, false);
      else if (f.does & FX_WRITES_F) e.writes |= resources(r, true);
    }
  }
  if (f.does & FX_WRITES_F2) e.writes |= resources(reg_classify(as, stmt_opnd2(&n), ACCESS, true), true);
  e.writes &= ~e.reads;
  return e;
}

bool funcret(const Statement *n) {
  const char *c = stmt_eolcomment(n);
  if (!c) return false;
  std::string_view s(c);
  while (!s.empty() && (s.front() == ';' || s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s.starts_with("funcret");
}

// The label a transfer's operand names (a plain symbol defined by a label), or null.
const Statement *target_label(const Statement *n) { return opt_jump_label(n); }

// Whether a call from the psect `from` into the psect `to` may be followed: both without
// "minocg", or both with it and in the same group.
bool compatible(const Symbol *from, const Symbol *to) {
  if (!from || !to) return false;
  bool a = from->s_psect.p_optim & PO_MINOCG, b = to->s_psect.p_optim & PO_MINOCG;
  return a == b && (!a || from->s_psect.p_group == to->s_psect.p_group);
}

struct Path {
  const Statement *n;
  uint32_t mask;  // resources not yet decided on this path
  uint8_t depth;  // transfers followed
  uint8_t nret;   // return points of the calls followed
  std::array<const Statement *, LIVE_DEPTH> ret;
};

}  // namespace

namespace {

// The SFR address an undefined symbol stands for when the device has an SFR of that name (the
// linker resolves it so), else 0. Remembered per symbol.
uint64_t sfr_symbol_addr(Assembly &as, const Symbol *s) {
  std::vector<uint32_t> &memo = as.optim.sym_sfr;
  if (memo.size() <= s->s_serial) memo.resize(s->s_serial + 1, 0);
  uint32_t &m = memo[s->s_serial];
  if (!m) {
    const ChipSfr *r = as.dev.chip && s->s_name ? chip_find_sfr(*as.dev.chip, s->s_name) : nullptr;
    m = r ? r->addr + 2 : 1;
  }
  return m - 1 ? m - 2 : 0;
}

}  // namespace

RegRef reg_classify(Assembly &as, const Operand &o, uint8_t access, bool full, int bank) {
  RegRef r;
  const Value &v = o.o_value;
  std::optional<int64_t> c = opt_constant_of(v);
  if (!c) {
    if (v.v_rtype != RT_SYM || !v.v_sym) return r;
    // A symbol names data memory, unless it is no label here and the device's SFR of that name.
    const Symbol *s = v.v_sym;
    uint64_t sfr = s->s_defnode ? 0 : sfr_symbol_addr(as, s);
    if (!sfr) {
      r.kind = RK_MEMORY;
      return r;
    }
    c = static_cast<int64_t>(sfr) + v.v_offs;
    full = true;
  }
  if (*c < 0) return r;
  uint64_t addr = static_cast<uint64_t>(*c);
  if (!full && addr <= 0xFF) {
    // The short form: the access bank reads it as low RAM or an SFR; banked, BSR decides.
    uint64_t wreg = sfr_addr(as, SFR_WREG);
    if (access == BANKED && bank >= 0) addr |= static_cast<uint64_t>(bank) << 8;
    else if (access != ACCESS || !wreg) return r;
    else if (addr >= 0x60) addr |= wreg & ~uint64_t{0xFF};
  }
  if (uint32_t id = sfr_id_at(as.dev.sfr, addr)) {
    unsigned fsr = sfr_fsr_number(as, static_cast<long long>(addr));
    r.kind = fsr ? RK_INDIRECT : RK_CORE;
    r.fsr = static_cast<uint8_t>(fsr ? fsr - 1 : 0);
    r.sfr = id;
    return r;
  }
  r.kind = as.dev.chip && chip_in_sfr_area(as, addr) ? RK_SFR : RK_MEMORY;
  return r;
}

bool is_live(Assembly &as, uint32_t mask, const Statement *from, const Statement *origin) {
  std::array<Path, MAX_PATHS> paths;
  unsigned npaths = 0, budget = LIVE_BUDGET;
  paths[npaths++] = Path{from, mask, 0, 0, {}};
  while (npaths) {
    Path p = paths[--npaths];
    for (;;) {
      const Statement *n = p.n;
      if (!n || !n->op_type || budget == 0) return true;
      --budget;
      if (n == origin) break;
      if (passes(n)) {
        p.n = n->op_next;
        continue;
      }
      if (!ops_is_instruction(n->op_type) || n->op_type == CALLW || opt_writes_pcl(as, n)) return true;
      Effect e = effect_of(as, *n);
      if (e.reads & p.mask) return true;
      p.mask &= ~e.writes;
      if (!p.mask) break;
      uint32_t does = ops_facts(n->op_type, n->op_subop).does;
      if (does & FX_RETURN) {
        if (n->op_type != RETURN && n->op_type != RETLW) return true;
        if (n->op_type == RETURN && (n->op_subop & OPC_RETURN_FAST)) return true;
        if (p.nret) {
          p.n = p.ret[--p.nret];
          continue;
        }
        // Leaving the function: N is never a result, Z is one unless ";funcret".
        uint32_t live = LR_W | LR_BSR | F_C | F_DC | F_OV | (funcret(n) ? 0 : F_Z);
        if (p.mask & live) return true;
        break;
      }
      if (does & FX_CALL) {
        const Statement *t = target_label(n);
        if ((p.mask & LR_BSR) || (n->op_subop & OPC_CALL_FAST & ops_class(n->op_type).fast) || !t ||
            !compatible(n->op_psect, t->op_psect) || p.depth >= LIVE_DEPTH || p.nret >= LIVE_DEPTH)
          return true;
        p.ret[p.nret++] = n->op_next;
        ++p.depth;
        p.n = t;
        continue;
      }
      if (does & FX_JUMP) {
        const Value &v = n->op_opnd1.o_value;
        if (v.v_rtype == RT_SYM && v.v_sym && v.v_offs == 0 && v.v_sym->s_name &&
            std::string_view(v.v_sym->s_name) == "start")
          break;
        const Statement *t = target_label(n);
        if (!t || p.depth >= LIVE_DEPTH) return true;
        ++p.depth;
        p.n = t;
        continue;
      }
      if (does & FX_BRANCH) {
        const Statement *t = target_label(n);
        if (!t || p.depth >= LIVE_DEPTH || npaths >= MAX_PATHS) return true;
        Path q = p;
        q.n = t;
        ++q.depth;
        paths[npaths++] = q;
      } else if (does & FX_SKIP) {
        const Statement *m = n->op_next;
        while (m->op_type && passes(m)) m = m->op_next;
        if (!m->op_type || !ops_is_instruction(m->op_type) || npaths >= MAX_PATHS) return true;
        Path q = p;
        q.n = m->op_next;
        paths[npaths++] = q;
      }
      p.n = n->op_next;
    }
  }
  return false;
}

// ---- the record ----

void RegTrack::forget_all() {
  w_known = copy_known = bsr_known = false;
  ptr_known.fill(false);
  carry = -1;
}

void RegTrack::forget_w(bool also_value) {
  copy_known = false;
  if (also_value) w_known = false;
}

void RegTrack::set_w(const Operand &v, uint8_t access, bool forget_copy) {
  if (v.o_mode != OM_FILE) {
    copy_known = false;
    w_known = stable_value(v.o_value);
    if (w_known) w_value = v.o_value;
    return;
  }
  // Only plain data memory is remembered: an SFR may change by itself, and an indirect or
  // banked constant operand names no fixed register.
  if (forget_copy) w_known = false;
  RegRef r = reg_classify(as, v, access, false, bank());
  copy_known = r.kind == RK_MEMORY && stable_value(v.o_value) && (access == ACCESS || access == BANKED);
  if (copy_known) {
    w_copy = v;
    copy_access = access;
  }
}

int RegTrack::bank() const {
  return bsr_known && bsr.v_rtype == RT_ABS && bsr.v_offs >= 0 && bsr.v_offs <= 0x3F ? static_cast<int>(bsr.v_offs) : -1;
}

bool RegTrack::w_copy_is(const Operand &o, uint8_t access) const {
  return copy_known && access == copy_access && opt_same_value(o.o_value, w_copy.o_value);
}

namespace {

// Whether two operands, with their access selectors, surely name different registers: the
// same base with offsets that differ in the low byte (the byte an instruction encodes).
bool surely_distinct(const Operand &a, uint8_t acc_a, const Operand &b, uint8_t acc_b) {
  const Value &x = a.o_value, &y = b.o_value;
  if (acc_a != acc_b || x.v_rtype != y.v_rtype) return false;
  if (x.v_rtype == RT_SYM && x.v_sym != y.v_sym) return false;
  if (x.v_rtype != RT_SYM && x.v_rtype != RT_ABS) return false;
  return ((x.v_offs - y.v_offs) & 0xFF) != 0;
}

}  // namespace

void RegTrack::note_write(const Operand &f, uint8_t access, bool full) {
  RegRef r = reg_classify(as, f, access, full, bank());
  switch (r.kind) {
    case RK_MEMORY:
    case RK_SFR:
      if (copy_known && !surely_distinct(f, access, w_copy, copy_access)) copy_known = false;
      return;
    case RK_CORE:
      if (r.sfr == SFR_WREG) forget_w(true);
      if (r.sfr == SFR_STATUS) carry = -1;
      if (r.sfr == SFR_BSR) bsr_known = false;
      for (unsigned i = 0; i < 3; ++i)
        if (r.sfr == SFR_FSR0H + 8 * i || r.sfr == SFR_FSR0L + 8 * i) ptr_known[i] = false;
      if (r.sfr == SFR_STATUS || r.sfr == SFR_BSR) copy_known = false;
      return;
    case RK_INDIRECT: {
      // Through a pointer the write may reach any register: W, BSR, STATUS, the pointers.
      // Only a pointer known to hold a data-memory symbol limits it to data memory.
      unsigned n = r.fsr;
      bool memory = ptr_known[n] && ptr[n].v_rtype == RT_SYM;
      copy_known = false;
      if (!memory) forget_all();
      if (ptr_known[n]) {
        if (r.sfr == SFR_POSTINC0 + 8 * n || r.sfr == SFR_PREINC0 + 8 * n) ++ptr[n].v_offs;
        else if (r.sfr == SFR_POSTDEC0 + 8 * n) --ptr[n].v_offs;
      }
      return;
    }
    default:
      forget_all();
      return;
  }
}

void RegTrack::update(const Statement &n, bool after_skip, const InsnFacts *facts) {
  if (passes(&n)) {
    if (is_label(&n) && !(n.op_flags & NF_HIDDEN)) forget_all();
    return;
  }
  if (!ops_is_instruction(n.op_type)) {
    forget_all();
    return;
  }
  InsnFacts f = facts ? *facts : ops_statement_facts(n);
  if (f.does & (FX_OPAQUE | FX_MEMORY | FX_CALL | FX_JUMP | FX_RETURN) || opt_writes_pcl_facts(as, &n, f)) {
    forget_all();
    return;
  }
  // Reads through a pointer step it as writes do.
  if (f.does & FX_READS_F) {
    RegRef r = reg_classify(as, n.op_opnd1, n.op_access, full_address(n), bank());
    if (r.kind == RK_INDIRECT && ptr_known[r.fsr] && !(f.does & FX_WRITES_F)) {
      unsigned i = r.fsr;
      if (r.sfr == SFR_POSTINC0 + 8 * i || r.sfr == SFR_PREINC0 + 8 * i) ++ptr[i].v_offs;
      else if (r.sfr == SFR_POSTDEC0 + 8 * i) --ptr[i].v_offs;
    }
  }
  if (f.does & FX_WRITES_F) note_write(n.op_opnd1, n.op_access, full_address(n));
  if (f.does & FX_WRITES_F2) note_write(stmt_opnd2(&n), ACCESS, true);
  if (f.writes & F_C) carry = -1;
  if (f.does & FX_WRITES_FSR) {
    if (n.op_type == LFSR) {
      unsigned i = (n.op_subop >> 4) & 3;
      if (i < 3) {
        ptr_known[i] = !after_skip && stable_value(stmt_opnd2(&n).o_value);
        if (ptr_known[i]) ptr[i] = stmt_opnd2(&n).o_value;
      }
    } else {
      ptr_known.fill(false);
    }
  }
  if (f.does & FX_WRITES_BSR) {
    bsr_known = n.op_type == MOVLB && !after_skip && stable_value(n.op_opnd1.o_value);
    if (bsr_known) bsr = n.op_opnd1.o_value;
    // A banked copy named a register of the old bank.
    if (copy_known && copy_access == BANKED) copy_known = false;
  }
  if (f.does & FX_WRITES_W) {
    if (after_skip) forget_w(true);
    else if (n.op_type == MOVLW) set_w(n.op_opnd1, 0, true);
    else if (n.op_type == MOVF) set_w(n.op_opnd1, n.op_access, true);
    else forget_w(true);
  }
  if (n.op_type == BCF && n.op_subop != OPC_BTG && bit_of(n) == 0 &&
      reg_classify(as, n.op_opnd1, n.op_access, false, bank()).is(SFR_STATUS))
    carry = after_skip ? -1 : n.op_subop == OPC_BSF ? 1 : 0;
  else if (n.op_type == BCF && reg_classify(as, n.op_opnd1, n.op_access, false, bank()).may_be(SFR_STATUS))
    carry = -1;
  if (f.does & FX_SKIP) carry = -1;
}
