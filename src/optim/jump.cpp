// The jump phase: head clean-up, unreachable code, jumps to jumps, returns and the next
// statement, block motion, branch retargeting, skips around jumps.
//
// Every rule keeps the list a correct program: it applies only when its precondition holds,
// never touches a statement under asmopt off, and leaves jump tables (transfers behind a
// write of PCL) as they are.
#include <optional>
#include <string_view>

#include "device/sfrs.h"
#include "driver/assembly.h"
#include "optim/optim.h"

namespace {

constexpr int64_t BRANCH_BACK = -254, BRANCH_AHEAD = 256;  // reach of a conditional branch
constexpr int TABLE_SCAN = 256;  // transfers looked back over for the computed jump heading them
constexpr int CHAIN_SCAN = 64;   // jumps followed when looking for a cycle of jumps
constexpr unsigned VALUE_DEPTH = 64;

bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }
bool is_transfer(const Statement *n) { return n->op_type == GOTO || n->op_type == RETURN || n->op_type == RETLW; }
bool hidden(const Statement *n) { return n->op_flags & NF_HIDDEN; }

// Statements that give no code and do not change the flow: labels, hidden statements and the
// directives without code.
bool transparent(const Statement *n) {
  if (hidden(n)) return true;
  switch (n->op_type) {
    case NAME: case TLABEL: case SET: case EQU: case IF: case ELSIF: case ELSE: case ENDIF: case INCLUDE:
    case MESSG: case TITLE: case ENDM:
      return true;
    default:
      return false;
  }
}

// The first statement after n that gives code (or an ORG, ALIGN, DS); null at the end.
Statement *next_code(const Statement *n) {
  Statement *p = n->op_next;
  while (p && p->op_type && transparent(p)) p = p->op_next;
  return p && p->op_type ? p : nullptr;
}
Statement *prev_code(const Statement *n) {
  Statement *p = n->op_prev;
  while (p && p->op_type && transparent(p)) p = p->op_prev;
  return p && p->op_type ? p : nullptr;
}

// Whether n may be skipped: a skip instruction before it, or an ORG or ALIGN whose effect on
// that cannot be told here.
bool preceded_by_skip(const Statement *n) {
  const Statement *p = prev_code(n);
  return p && (opt_is_skip(p) || p->op_type == ORG || p->op_type == ALIGN);
}

// The defining label of a plain symbol operand (no offset), or null.
Statement *plain_target(const Statement *n) {
  const Value &v = n->op_opnd1.o_value;
  if (v.v_rtype != RT_SYM || !v.v_sym || v.v_offs != 0) return nullptr;
  Statement *t = v.v_sym->s_defnode;
  return t && t->op_serial && t->op_type == NAME && t->op_label == v.v_sym ? t : nullptr;
}

// The constant an operand value stands for: a number, or a defined symbol (not a label) whose
// value is one, plus its offset.
std::optional<int64_t> constant_of(const Value &v, unsigned depth = 0) {
  if (v.v_rtype == RT_ABS) return v.v_offs;
  if (v.v_rtype != RT_SYM || !v.v_sym || depth > VALUE_DEPTH) return std::nullopt;
  const Symbol *s = v.v_sym;
  if ((s->s_flags & (SF_UNDEF | SF_NAMESPACE)) || s->s_defnode) return std::nullopt;
  if (s->s_value.v_rtype == RT_SYM && s->s_value.v_sym == s) return std::nullopt;
  std::optional<int64_t> base = constant_of(s->s_value, depth + 1);
  if (!base) return std::nullopt;
  return static_cast<int64_t>(static_cast<uint64_t>(*base) + static_cast<uint64_t>(v.v_offs));
}

// Whether a constant operand names a core register; access-bank addresses in their short form
// count with the SFR half of the access bank.
bool names_register(const Assembly &as, const Operand &o, uint32_t access, uint32_t id) {
  std::optional<int64_t> c = constant_of(o.o_value);
  uint64_t addr = sfr_addr(as, id);
  if (!c || !addr) return false;
  if (static_cast<uint64_t>(*c) == addr) return true;
  return access == ACCESS && *c >= 0x60 && *c <= 0xFF && (addr & 0xFF) == static_cast<uint64_t>(*c);
}

// A computed jump: a write of PCL, or an instruction whose effects are not known. f is the
// instruction's facts (ops_statement_facts).
bool writes_pcl_facts(const Assembly &as, const Statement *n, const InsnFacts &f) {
  if (n->op_type == CALLW || (f.does & FX_OPAQUE)) return true;
  if ((f.does & FX_WRITES_F) && names_register(as, n->op_opnd1, n->op_access, SFR_PCL)) return true;
  return (f.does & FX_WRITES_F2) && names_register(as, stmt_opnd2(n), ACCESS, SFR_PCL);
}

bool writes_pcl(const Assembly &as, const Statement *n) {
  return ops_is_instruction(n->op_type) && writes_pcl_facts(as, n, ops_statement_facts(*n));
}

// Whether a transfer belongs to a jump table: a run of transfers that a computed jump heads.
// Such entries are reached by address arithmetic, so none may go or change its size.
bool in_jump_table(const Assembly &as, const Statement *n) {
  if (!is_transfer(n) && n->op_type != BRA) return false;
  const Statement *p = n->op_prev;
  for (int i = 0; i < TABLE_SCAN; ++i, p = p->op_prev) {
    if (!p || !p->op_type) return false;
    if (hidden(p) || is_transfer(p) || p->op_type == BRA) continue;
    return writes_pcl(as, p);
  }
  return true;  // a run this long is taken for a table
}

// Whether a value refers to a temporary label: such a reference depends on the order of the
// temporary labels around it.
bool refers_to_tlab(const Value &v, unsigned depth = 0) {
  if (depth > VALUE_DEPTH) return true;
  if (v.v_rtype == RT_TLABF || v.v_rtype == RT_TLABB) return true;
  if (expr_is_unary(v.v_rtype)) return v.v_left() && refers_to_tlab(*v.v_left(), depth + 1);
  if (expr_is_binary(v.v_rtype))
    return v.v_left() && (refers_to_tlab(*v.v_left(), depth + 1) || refers_to_tlab(*v.v_right(), depth + 1));
  return false;
}

bool same_value(const Value &a, const Value &b, unsigned depth = 0) {
  if (depth > VALUE_DEPTH || a.v_rtype != b.v_rtype || a.v_flags != b.v_flags) return false;
  if (expr_is_unary(a.v_rtype)) return a.v_left() && b.v_left() && same_value(*a.v_left(), *b.v_left(), depth + 1);
  if (expr_is_binary(a.v_rtype))
    return a.v_left() && b.v_left() && same_value(*a.v_left(), *b.v_left(), depth + 1) &&
           same_value(*a.v_right(), *b.v_right(), depth + 1);
  switch (a.v_rtype) {
    case RT_ABS: case RT_TLABF: case RT_TLABB: return a.v_offs == b.v_offs;
    case RT_SYM: case RT_PSECT: case RT_DOT: return a.v_offs == b.v_offs && a.v_sym == b.v_sym;
    case RT_STRING: case RT_DEFINED: return a.v_str == b.v_str;
    default: return false;
  }
}

bool same_operand(const Operand &a, const Operand &b) {
  return a.o_mode == b.o_mode && a.o_access == b.o_access && same_value(a.o_value, b.o_value);
}

bool same_statement(const Statement *a, const Statement *b) {
  return a->op_type == b->op_type && a->op_subop == b->op_subop && a->op_dest == b->op_dest &&
         a->op_access == b->op_access && same_operand(a->op_opnd1, b->op_opnd1) && same_operand(stmt_opnd2(a), stmt_opnd2(b));
}

// The first label of the run of labels that holds label t.
Statement *first_of_run(Statement *t) {
  Statement *f = t;
  for (Statement *p = t->op_prev; p && p->op_type == NAME && p->op_label && p->op_label->s_defnode == p; p = p->op_prev)
    f = p;
  return f;
}

// Whether label t is one of the run of labels that begins right after n.
bool run_starts_after(const Statement *n, const Statement *t) {
  for (const Statement *p = n->op_next; p && p->op_type && is_label(p); p = p->op_next)
    if (p == t) return true;
  return false;
}

// Whether following the jumps from label t (each label's first statement being a goto to the
// next) comes back to t: retargeting into such a cycle would go round it forever.
bool jump_cycle(Statement *t) {
  Statement *at = t;
  for (int i = 0; i < CHAIN_SCAN; ++i) {
    Statement *g = next_code(at);
    if (!g || g->op_type != GOTO) return false;
    at = plain_target(g);
    if (!at) return false;
    if (at == t) return true;
  }
  return true;
}

struct Walk {
  Assembly &as;
  Symbol *p;
  bool changed = false;

  void touch() {
    changed = true;
    opt_touch(as, p);
  }

  // Deletes a statement; the caller has made sure that it may go.
  void remove(Statement *n) {
    if (n->op_type == NAME) list_delete_label(as, n);
    else list_delete(as, n);
    touch();
  }

  // Makes the jump n refer to label `to` (a symbol s when no label defines it). Reference
  // lists are not kept while the optimizer runs: no rule reads them (the label clean-up looks
  // at the jumps' targets themselves), and the errata pass builds them afresh.
  void retarget(Statement *n, Symbol *s) {
    Value &v = n->op_opnd1.o_value;
    v = Value{};
    v.v_rtype = RT_SYM;
    v.v_sym = s;
    if (s->s_refcnt < 0xFFFF) ++s->s_refcnt;
    touch();
  }

  Statement *unreachable_after(Statement *n);
  Statement *jump(Statement *n);
  bool move_block(Statement *n, Statement *t);
  Statement *branch(Statement *n);
  Statement *skip_to_next(Statement *n);
};

// Deletes the code after an unconditional transfer up to the next label, ORG, data or
// directive; statements under asmopt off, and hidden ones, are passed over and kept.
Statement *Walk::unreachable_after(Statement *n) {
  if (!is_transfer(n) || preceded_by_skip(n)) return n->op_next;
  Statement *m = n->op_next;
  while (m->op_type && !is_label(m)) {
    Statement *next = m->op_next;
    if (opt_untouchable(m) || hidden(m)) {
      m = next;
      continue;
    }
    // Directives stay: their effects (messages, layout, conditional structure) are not code.
    if (!ops_is_instruction(m->op_type)) break;
    remove(m);
    m = next;
  }
  return n->op_next;
}

Statement *Walk::jump(Statement *n) {
  Statement *next = n->op_next;
  // Duplicate jump.
  if (Statement *m = next_code(n); m && same_statement(n, m) && !preceded_by_skip(n)) {
    remove(n);
    return next;
  }
  Statement *t = plain_target(n);
  if (!t) return next;
  // Redundant label: refer to the first label of the run. Only within the psect: the label
  // clean-up sees the references of a label's own psect.
  if (!(t->op_label->s_flags & SF_KEEP) && t->op_psect == n->op_psect) {
    Statement *f = first_of_run(t);
    if (f != t) {
      retarget(n, f->op_label);
      t = f;
    }
  }
  Statement *r = next_code(t);
  // Jump to return: the return itself. The errata work-around needs the jump.
  if (r && (r->op_type == RETURN || r->op_type == RETLW) && !(as.opt.errata_mask & 0x4001)) {
    Operand o = r->op_opnd1;
    copyexpr(as, o.o_value, r->op_opnd1.o_value);
    n->op_type = r->op_type;
    n->op_subop = r->op_subop;
    n->op_dest = r->op_dest;
    n->op_access = r->op_access;
    n->op_opnd1 = o;
    n->op_opnd2 = nullptr;  // a return has no second operand
    touch();
    return n->op_next;
  }
  // Jump to jump, within the psect.
  if (r && r->op_type == GOTO && r->op_psect == n->op_psect) {
    const Value &u = r->op_opnd1.o_value;
    if (u.v_rtype == RT_SYM && u.v_sym && u.v_offs == 0 && u.v_sym != t->op_label && !jump_cycle(t)) {
      retarget(n, u.v_sym);
      return n->op_next;
    }
  }
  // Jump to the next statement.
  if (t == n->op_next && !preceded_by_skip(n)) {
    remove(n);
    return next;
  }
  if (!preceded_by_skip(n) && t->op_psect == n->op_psect && move_block(n, t)) return next;
  return n->op_next;
}

bool name_starts(const Statement *n, std::string_view prefix) {
  return n && n->op_type == NAME && n->op_label && n->op_label->s_name &&
         std::string_view(n->op_label->s_name).starts_with(prefix);
}

// Block motion: an interrupt function's block (from its first label up to a "save" label) is
// moved to the place of the only jump that enters it. Only a block that nothing falls into and
// that falls into nothing moves; its statements must all be movable.
bool Walk::move_block(Statement *n, Statement *t) {
  Statement *b = first_of_run(t);
  if (is_label(b->op_prev)) return false;  // a temporary label there would change its place
  Statement *prev = b->op_prev;
  while (prev->op_type && is_label(prev)) prev = prev->op_prev;
  if (!prev->op_type || prev == n) return false;
  Statement *after_b = b->op_next;
  bool named = name_starts(b, "int_fun") || name_starts(after_b, "int_fun");
  // Nothing may fall into the block: the statement before it must be a transfer no skip guards.
  auto ends_flow = [&](const Statement *s) {
    return s->op_type && !hidden(s) && (is_transfer(s)) && !preceded_by_skip(s);
  };
  if (!named || !ends_flow(prev)) return false;
  // The block's end: the statement before the first "save" label after B's run that follows a
  // transfer, else the psect's last statement.
  Statement *s = b;
  while (s->op_next->op_type && is_label(s->op_next)) s = s->op_next;
  Statement *end = nullptr;
  for (Statement *m = s->op_next; m->op_type; m = m->op_next) {
    if (m == n || opt_untouchable(m)) return false;
    switch (m->op_type) {
      case TLABEL: case IF: case ELSIF: case ELSE: case ENDIF: case ORG: case ALIGN: case SET:
        if (!hidden(m)) return false;
        break;
      default:
        break;
    }
    if (refers_to_tlab(m->op_opnd1.o_value) || refers_to_tlab(stmt_opnd2(m).o_value)) return false;
    if (name_starts(m, "save")) {
      Statement *before = m->op_prev;
      if (before->op_type && is_transfer(before)) {
        end = before;
        break;
      }
    }
  }
  if (!end) end = p->s_stmts->tail.op_prev;
  if (end == n || !ends_flow(end)) return false;
  for (Statement *m = b; m != s->op_next; m = m->op_next)
    if (opt_untouchable(m)) return false;
  // Unlink B .. end and put it after the jump, which then goes.
  Statement *before = b->op_prev, *after = end->op_next;
  before->op_next = after;
  after->op_prev = before;
  Statement *at = n->op_next;
  n->op_next = b;
  b->op_prev = n;
  end->op_next = at;
  at->op_prev = end;
  remove(n);
  return true;
}

// A conditional branch to a label whose first statement is a goto: the branch goes to the
// goto's target directly when that lies within its reach.
Statement *Walk::branch(Statement *n) {
  Statement *t = plain_target(n);
  if (!t) return n->op_next;
  Statement *g = next_code(t);
  if (!g || g->op_type != GOTO) return n->op_next;
  Statement *u = plain_target(g);
  if (!u || u == t || u->op_psect != n->op_psect || jump_cycle(t)) return n->op_next;
  opt_size(as, p);
  int64_t d = static_cast<int64_t>(u->op_addr) - static_cast<int64_t>(n->op_addr);
  if (d >= BRANCH_BACK && d <= BRANCH_AHEAD) retarget(n, u->op_label);
  return n->op_next;
}

// btfsc/btfss over a goto to the statement after the goto: neither is needed (the bit test
// has no effect of its own).
Statement *Walk::skip_to_next(Statement *n) {
  Statement *g = next_code(n);
  if (!g || g->op_type != GOTO || opt_untouchable(g) || (n->op_flags & NF_VOLATILE)) return n->op_next;
  Statement *t = plain_target(g);
  if (!t || (t->op_label->s_flags & SF_GLOBAL) || !run_starts_after(g, t)) return n->op_next;
  std::optional<int64_t> f = constant_of(n->op_opnd1.o_value);
  if (f && sfr_fsr_number(as, *f) != 0) return n->op_next;
  if (preceded_by_skip(n)) {
    Statement *next = n->op_next;
    remove(n);
    return next;
  }
  Statement *next = g->op_next;
  remove(g);
  remove(n);
  return next;
}

}  // namespace

bool opt_keeps_shape(const Assembly &as, const Symbol *p) {
  const std::vector<uint8_t> &o = as.optim.offset_target;
  return p->s_pindex < o.size() && o[p->s_pindex];
}

bool jump_head_cleanup(Assembly &as, Symbol *p) {
  if (opt_keeps_shape(as, p)) return false;
  bool deleted = false;
  for (;;) {
    Statement *n = list_first(p);
    if (!n || !n->op_type || (n->op_flags & NF_BARRIER)) return deleted;
    if (n->op_type == ORG) {
      opt_mark_reachable(n);
      continue;
    }
    // Only unreachable code and unused labels go; an untouchable statement ends the clean-up.
    if (opt_untouchable(n) || (!ops_is_instruction(n->op_type) && n->op_type != NAME)) return deleted;
    if (n->op_type == NAME) {
      if (!n->op_label || !list_delete_label(as, n)) return deleted;
    } else {
      list_delete(as, n);
    }
    deleted = true;
    opt_touch(as, p);
  }
}

bool jump_walk(Assembly &as, Symbol *p) {
  if (opt_keeps_shape(as, p)) return false;
  Walk w{as, p};
  Statement *n = list_first(p);
  DriverState &d = as.drv;
  while (n && n->op_type) {
    if (++d.loop_guard_count > d.loop_guard_limit) break;
    if (opt_untouchable(n) || hidden(n) || in_jump_table(as, n)) {
      n = n->op_next;
      continue;
    }
    switch (n->op_type) {
      case GOTO:
        w.unreachable_after(n);
        n = w.jump(n);
        break;
      case RETURN:
      case RETLW: n = w.unreachable_after(n); break;
      case BCC: n = w.branch(n); break;
      case BTFSC: n = w.skip_to_next(n); break;
      default: n = n->op_next; break;
    }
  }
  return w.changed;
}

bool opt_transparent(const Statement *n) { return transparent(n); }
Statement *opt_next_code(const Statement *n) { return next_code(n); }
Statement *opt_jump_label(const Statement *n) { return plain_target(n); }
bool opt_writes_pcl(const Assembly &as, const Statement *n) { return writes_pcl(as, n); }
bool opt_writes_pcl_facts(const Assembly &as, const Statement *n, const InsnFacts &f) {
  return writes_pcl_facts(as, n, f);
}
bool opt_in_jump_table(const Assembly &as, const Statement *n) { return in_jump_table(as, n); }
bool opt_run_starts_after(const Statement *n, const Statement *t) { return run_starts_after(n, t); }
std::optional<int64_t> opt_constant_of(const Value &v) { return constant_of(v); }
bool opt_same_value(const Value &a, const Value &b) { return same_value(a, b); }
