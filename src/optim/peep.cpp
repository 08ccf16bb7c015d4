// The peephole walk: removes loads, stores and operations whose effect is already present or
// never used, and replaces pairs of instructions by one, keeping the register-content record up
// to date as it goes.
//
// A rule applies only when the record or the liveness scan establishes its precondition. No
// rule touches a statement under asmopt off, deletes a statement that a skip may skip, or
// looks across a label (a label may be reached with other register contents).
#include "device/sfrs.h"
#include "driver/assembly.h"
#include "optim/optim.h"
#include "optim/regtrack.h"

namespace {

// Opcodes of the forms the rules make or match.
constexpr uint16_t OPC_BTFSC = 0xB000, OPC_BTFSS = 0xA000, OPC_BZ = 0xE000, OPC_BC = 0xE200, BCC_INVERT = 0x100;
constexpr uint16_t OPC_ADDWF = 0x2400, OPC_SUBWF = 0x5C00, OPC_ANDWF = 0x1400, OPC_IORWF = 0x1000,
                   OPC_XORWF = 0x1800, OPC_INCF = 0x2800, OPC_DECF = 0x0400, OPC_COMF = 0x1C00,
                   OPC_MOVF = 0x5000, OPC_CLRF = 0x6A00, OPC_BCF = 0x9000, OPC_BSF = 0x8000,
                   OPC_XORLW = 0x0A00, OPC_RETURN = 0x0012, OPC_RETLW = 0x0C00, OPC_CALL = 0xEC00,
                   OPC_GOTO = 0xEF00;

constexpr unsigned STACK_SCAN = 40;  // statements of a callee looked at for stack accesses

bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }
bool hidden(const Statement *n) { return n->op_flags & NF_HIDDEN; }
// Under asmopt off, ";#", or with the preserve-access mark.
bool untouchable(const Statement *n) { return opt_untouchable(n) || (n->op_flags & NF_VOLATILE); }

bool is_abs(const Value &v, int64_t k) { return v.v_rtype == RT_ABS && v.v_offs == k; }

// The statement after n (hidden ones passed over) when it is an instruction: what always runs
// right after n. Null at a label or directive.
Statement *next_insn(const Statement *n) {
  Statement *m = n->op_next;
  while (m->op_type && hidden(m)) m = m->op_next;
  return m->op_type && ops_is_instruction(m->op_type) ? m : nullptr;
}

// Whether a psect may be entered from `from` by a call turned into a jump: both without
// "minocg", or both with it and in the same group.
bool compatible(const Symbol *from, const Symbol *to) {
  if (!from || !to) return false;
  bool a = from->s_psect.p_optim & PO_MINOCG, b = to->s_psect.p_optim & PO_MINOCG;
  return a == b && (!a || from->s_psect.p_group == to->s_psect.p_group);
}

struct Peep {
  Assembly &as;
  Symbol *p;
  RegTrack reg;
  bool changed = false;
  bool prev_skip = false;  // the statement before may skip this one

  void touch() {
    changed = true;
    opt_touch(as, p);
  }
  void remove(Statement *n) {
    list_delete(as, n);
    touch();
  }
  void rewrite(Statement *n, uint8_t kind, uint16_t subop) {
    n->op_type = kind;
    n->op_subop = subop;
    touch();
  }

  RegRef reg_of(const Statement *n) { return reg_classify(as, n->op_opnd1, n->op_access, false, reg.bank()); }
  // An operand that may reach an indirect-access register (a banked constant may, by BSR).
  bool maybe_indirect(const Statement *n) {
    uint8_t k = reg_of(n).kind;
    return k == RK_INDIRECT || k == RK_UNKNOWN;
  }
  // Whether a short-form file operand, read as a whole address (movff), names the same
  // register: a symbol, a whole address, or a low access-bank address.
  bool same_as_long(const Operand &o, uint8_t access) {
    std::optional<int64_t> c = opt_constant_of(o.o_value);
    if (!c) return o.o_value.v_rtype == RT_SYM && o.o_value.v_sym;
    return *c > 0xFF || (access == ACCESS && *c >= 0 && *c < 0x60);
  }
  bool dead(uint32_t mask, const Statement *after) { return !is_live(as, mask, after->op_next, after); }

  Statement *movlw(Statement *n);
  Statement *movlb(Statement *n);
  Statement *logic(Statement *n);
  Statement *add_sub(Statement *n);
  Statement *movf(Statement *n);
  Statement *movff(Statement *n);
  bool reads_stack(const Statement *t);
  Statement *call(Statement *n);
  Statement *ret(Statement *n);
  Statement *skip(Statement *n);
  Statement *rule(Statement *n);
};

// Each rule returns the statement to visit next when it deleted n, else null (n stays, perhaps
// rewritten).

Statement *Peep::movlw(Statement *n) {
  const Value &k = n->op_opnd1.o_value;
  if (reg.w_known && opt_same_value(reg.w_value, k)) {
    Statement *next = n->op_next;
    remove(n);
    return next;
  }
  // Add one: "movlw 1; addwf f,d" adds with incf.
  Statement *a = next_insn(n);
  if (is_abs(k, 1) && a && a->op_type == ADDWF && a->op_subop == OPC_ADDWF && !untouchable(a))
    rewrite(a, COMF, OPC_INCF);
  if (dead(LR_W, n)) {
    Statement *next = n->op_next;
    remove(n);
    return next;
  }
  return nullptr;
}

Statement *Peep::movlb(Statement *n) {
  bool redundant = reg.bsr_known && opt_same_value(reg.bsr, n->op_opnd1.o_value);
  if (!redundant && !dead(LR_BSR, n)) return nullptr;
  Statement *next = n->op_next;
  remove(n);
  // A dead selection leaves the bank that was selected before, which is not known here.
  if (!redundant) reg.bsr_known = false;
  return next;
}

// andwf, iorwf, xorwf with W known to be 0 or 0xFF.
Statement *Peep::logic(Statement *n) {
  if (!reg.w_known_constant()) return nullptr;
  int64_t w = reg.w_const();
  if (w != 0 && w != 0xFF) return nullptr;
  const uint16_t op = n->op_subop;
  const bool to_w = n->op_dest == W, ind = maybe_indirect(n);
  auto zn_dead = [&] { return !prev_skip && dead(F_Z | F_N, n); };
  Statement *next = n->op_next;
  if (to_w) {
    if (ind) return nullptr;
    // W & 0xFF, W | 0 and W ^ 0 give f: a load.
    if ((op == OPC_ANDWF && w == 0xFF) || (op != OPC_ANDWF && w == 0)) {
      rewrite(n, MOVF, OPC_MOVF);
      return nullptr;
    }
    // W & 0 leaves W 0: only the flags would change.
    if (op == OPC_ANDWF && zn_dead()) {
      remove(n);
      return next;
    }
    return nullptr;
  }
  if (op != OPC_ANDWF) {
    if (ind) return nullptr;
    if (w == 0 && zn_dead()) {  // f | 0, f ^ 0: f stays
      remove(n);
      return next;
    }
    if (op == OPC_XORWF && w == 0xFF) rewrite(n, COMF, OPC_COMF);
    return nullptr;
  }
  if (!zn_dead()) return nullptr;
  if (w == 0) {
    rewrite(n, CLRF, OPC_CLRF);
    n->op_dest = 0;
    return nullptr;
  }
  // f & 0xFF: f stays; an access through a pointer must still happen (it steps the pointer).
  if (ind) {
    rewrite(n, MOVF, OPC_MOVF);
    return nullptr;
  }
  remove(n);
  return next;
}

// addwf f,f and subwf f,f with W known to be 1, 0xFF or 0.
Statement *Peep::add_sub(Statement *n) {
  if (n->op_dest != F || !reg.w_known_constant()) return nullptr;
  const bool add = n->op_subop == OPC_ADDWF;
  if (!add && n->op_subop != OPC_SUBWF) return nullptr;
  const int64_t w = reg.w_const();
  // Adding 1 or subtracting 0xFF is incf, the other way round decf: same result and flags.
  if (w == 1 || w == 0xFF) {
    rewrite(n, COMF, (w == 1) == add ? OPC_INCF : OPC_DECF);
    return nullptr;
  }
  // Adding or subtracting 0 leaves f; of the flags only the carry is certain (0 after an add,
  // 1 after a subtraction). DC and OV change too, so they must be as dead as Z and N.
  if (w != 0 || (n->op_flags & NF_VOLATILE) || maybe_indirect(n) || prev_skip ||
      !dead(F_Z | F_N | F_DC | F_OV, n))
    return nullptr;
  rewrite(n, BCF, add ? OPC_BCF : OPC_BSF);
  n->op_dest = 0;
  n->op_access = ACCESS;
  n->op_opnd1 = Operand{expr_abs(static_cast<int64_t>(sfr_addr(as, SFR_STATUS))), OM_FILE, ACCESS};
  list_opnd2(as, n) = Operand{expr_abs(0), OM_BIT, 0};
  return nullptr;
}

// movf f,w followed by movff from W, xorlw 0xFF, or a logic operation with the W copy.
Statement *Peep::movf(Statement *n) {
  Statement *x = n->op_dest == W ? next_insn(n) : nullptr;
  if (!x || untouchable(x)) return nullptr;
  Statement *next = n->op_next;
  // Load then movff from W: movff takes f itself.
  if (x->op_type == MOVFF && reg_classify(as, x->op_opnd1, 0, true).is(SFR_WREG) &&
      same_as_long(n->op_opnd1, n->op_access) && !maybe_indirect(n) && !opt_writes_pcl(as, x) &&
      dead(F_Z | F_N, n) && dead(LR_W, x)) {
    x->op_opnd1 = n->op_opnd1;
    x->op_opnd1.o_access = 0;
    remove(n);
    return next;
  }
  // Load then complement: comf f,w.
  if (x->op_type == ADDLW && x->op_subop == OPC_XORLW && is_abs(x->op_opnd1.o_value, 0xFF)) {
    rewrite(n, COMF, OPC_COMF);
    remove(x);
    return nullptr;
  }
  // W held g: "movf f,w; andwf g,w" is "andwf f,w" (likewise iorwf, xorwf).
  if (x->op_type == ANDWF && x->op_dest == W && !maybe_indirect(n) && !maybe_indirect(x) &&
      reg.w_copy_is(x->op_opnd1, x->op_access)) {
    x->op_opnd1 = n->op_opnd1;
    x->op_access = n->op_access;
    remove(n);
    return next;
  }
  return nullptr;
}

Statement *Peep::movff(Statement *n) {
  Statement *next = n->op_next;
  RegRef from = reg_classify(as, n->op_opnd1, 0, true);
  // movff f,f of data memory does nothing (an SFR may differ between reading and writing).
  if (from.kind == RK_MEMORY && opt_same_value(n->op_opnd1.o_value, stmt_opnd2(n).o_value)) {
    remove(n);
    return next;
  }
  // movff f,wreg then movwf g: movff f,g.
  Statement *x = next_insn(n);
  if (x && x->op_type == MOVWF && !untouchable(x) && reg_classify(as, stmt_opnd2(n), 0, true).is(SFR_WREG) &&
      (from.kind == RK_MEMORY || from.kind == RK_SFR || from.kind == RK_CORE) &&
      same_as_long(x->op_opnd1, x->op_access) && !opt_writes_pcl(as, x) && dead(LR_W, x)) {
    Operand &to = list_opnd2(as, n);
    to = x->op_opnd1;
    to.o_access = 0;
    remove(x);
    return nullptr;
  }
  return nullptr;
}

// Whether the function at label t looks at the return stack (STKPTR, TOS, push, pop) before
// its first return, within a few statements: a tail call would change what it sees.
bool Peep::reads_stack(const Statement *t) {
  const Statement *m = t;
  for (unsigned i = 0; i < STACK_SCAN && m->op_type; ++i, m = m->op_next) {
    if (hidden(m) || !ops_is_instruction(m->op_type)) continue;
    InsnFacts f = ops_statement_facts(*m);
    if (f.does & (FX_STACK | FX_OPAQUE | FX_MEMORY)) return true;
    if (f.does & FX_RETURN) return false;
    RegRef a = reg_classify(as, m->op_opnd1, m->op_access, m->op_type == MOVFF, -1);
    RegRef b = m->op_type == MOVFF ? reg_classify(as, stmt_opnd2(m), 0, true, -1) : RegRef{RK_MEMORY};
    for (const RegRef &r : {a, b})
      if ((f.does & (FX_READS_F | FX_WRITES_F | FX_WRITES_F2)) &&
          r.kind == RK_CORE && r.sfr <= SFR_STKPTR)
        return true;
  }
  return false;
}

// Tail call: "call F; return" jumps to F, whose return then returns for both.
Statement *Peep::call(Statement *n) {
  Statement *r = next_insn(n);
  if (n->op_subop != OPC_CALL || !r || r->op_type != RETURN || r->op_subop != OPC_RETURN || untouchable(r) ||
      opt_in_jump_table(as, n) || opt_in_jump_table(as, r))
    return nullptr;
  const Statement *t = opt_jump_label(n);
  if (!t || !compatible(n->op_psect, t->op_psect) || reads_stack(t)) return nullptr;
  rewrite(n, GOTO, OPC_GOTO);
  remove(r);
  return nullptr;
}

// Return with constant: W is known, so retlw gives it.
Statement *Peep::ret(Statement *n) {
  if (n->op_subop != OPC_RETURN || !reg.w_known_constant() || reg.w_const() < 0 || reg.w_const() > 0xFF)
    return nullptr;
  rewrite(n, RETLW, OPC_RETLW);
  n->op_opnd1 = Operand{expr_abs(reg.w_const()), OM_VALUE, 0};
  return nullptr;
}

// btfsc/btfss before a goto: around a retlw, or on Z or C.
Statement *Peep::skip(Statement *n) {
  Statement *g = next_insn(n);
  if (!g || g->op_type != GOTO || untouchable(g) || opt_in_jump_table(as, g)) return nullptr;
  // Skip around a return: "btfsc; goto T; retlw k; T:" tests the other way round.
  Statement *t = opt_jump_label(g);
  Statement *r = opt_next_code(g);
  if (t && r && r->op_type == RETLW && opt_run_starts_after(r, t) && !opt_untouchable(r)) {
    n->op_subop = n->op_subop == OPC_BTFSC ? OPC_BTFSS : OPC_BTFSC;
    remove(g);
    return nullptr;
  }
  // Skip over jump on Z or C: a conditional branch.
  const Value &bit = stmt_opnd2(n).o_value;
  if (as.optim.labels_cleaned && n->op_access == ACCESS && reg_of(n).is(SFR_STATUS) && bit.v_rtype == RT_ABS &&
      (bit.v_offs == 0 || bit.v_offs == 2)) {
    uint16_t code = bit.v_offs == 2 ? OPC_BZ : OPC_BC;
    if (n->op_subop == OPC_BTFSS) code |= BCC_INVERT;
    rewrite(g, BCC, code);
    remove(n);
    return g;
  }
  return nullptr;
}

// The first rule that applies to n.
Statement *Peep::rule(Statement *n) {
  if (opt_untouchable(n)) return nullptr;
  const bool vol = n->op_flags & NF_VOLATILE;
  switch (n->op_type) {
    case MOVLW: return prev_skip || vol ? nullptr : movlw(n);
    case MOVLB: return prev_skip || vol ? nullptr : movlb(n);
    case RETURN: return vol ? nullptr : ret(n);
    case CALL: return prev_skip || vol ? nullptr : call(n);
    case ANDWF: return vol ? nullptr : logic(n);
    case ADDWF:
    case SUBWF: return add_sub(n);
    case MOVF: return prev_skip || vol ? nullptr : movf(n);
    case MOVFF: return prev_skip || vol ? nullptr : movff(n);
    case BTFSC: return prev_skip || vol || opt_in_jump_table(as, n) ? nullptr : skip(n);
    default: return nullptr;
  }
}

// The fields of a statement that its facts (ops_statement_facts) are read from: equal keys,
// equal facts.
struct FactsKey {
  uint16_t type, subop, flags;
  uint8_t dest, access;
  bool operator==(const FactsKey &) const = default;
};
FactsKey facts_key(const Statement &n) {
  return {n.op_type, n.op_subop, static_cast<uint16_t>(n.op_flags & NF_INDEXED), n.op_dest, n.op_access};
}

}  // namespace

bool peep_walk(Assembly &as, Symbol *p) {
  if (opt_keeps_shape(as, p)) return false;
  Peep w{as, p, RegTrack{as}};
  w.reg.forget_all();
  bool table = false;  // past a computed jump: what follows is reached by offsets
  for (Statement *n = list_first(p); n && n->op_type;) {
    if (hidden(n)) {
      n = n->op_next;
      continue;
    }
    if (!ops_is_instruction(n->op_type)) {
      // A label forgets what is known; data and layout directives also end what a skip skips.
      if (!opt_transparent(n) || n->op_type == IF || n->op_type == ELSIF || n->op_type == ELSE ||
          n->op_type == ENDIF) {
        w.prev_skip = true;
        w.reg.forget_all();
      } else if (is_label(n)) {
        w.reg.forget_all();
      }
      n = n->op_next;
      continue;
    }
    // The facts are asked for once: a rule that keeps n but rewrites it changes one of the
    // fields they come from, and they are asked for again.
    InsnFacts f = ops_statement_facts(*n);
    const FactsKey key = facts_key(*n);
    if (opt_writes_pcl_facts(as, n, f)) table = true;
    if (!table) {
      if (Statement *next = w.rule(n)) {
        n = next;
        continue;
      }
      if (facts_key(*n) != key) f = ops_statement_facts(*n);
    }
    w.reg.update(*n, w.prev_skip, &f);
    w.prev_skip = f.does & FX_SKIP;
    n = n->op_next;
  }
  return w.changed;
}
