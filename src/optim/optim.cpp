// The optimizer's driver: psect selection, the driver sequence, the pass loop of one psect with
// its guards, reachability marking and the errata NOP pass.
#include "optim/optim.h"

#include <string_view>

#include "driver/assembly.h"
#include "output/emasm.h"

namespace {

constexpr unsigned long long PASS_LIMIT = 10;      // passes after the first
constexpr unsigned long long PHASE_LIMIT = 50000;  // walks of one phase
// Driver step 6 repeats while anything changes; rules that undo each other would never stop.
constexpr unsigned CLEANUP_ROUNDS = 100;

std::vector<Symbol *> every_psect(const Assembly &as) {
  std::vector<Symbol *> v;
  for (StatementList *l : as.list.lists)
    if (l->psect) v.push_back(l->psect);
  return v;
}

bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }

// The defining statement of a plain symbol operand, or null.
Statement *plain_target(const Statement *n) {
  const Value &v = n->op_opnd1.o_value;
  if (v.v_rtype != RT_SYM || !v.v_sym) return nullptr;
  Statement *t = v.v_sym->s_defnode;
  return t && t->op_serial && t->op_type == NAME ? t : nullptr;
}

// Moves every SET statement (but one already there) to directly after the first statement, so
// that the moved ones end up in reverse order. True when it moved any.
bool move_sets(Statement *first) {
  if (!first->op_type) return false;
  bool moved = false;
  for (Statement *n = first->op_next, *next; n->op_type; n = next) {
    next = n->op_next;
    if (n->op_type != SET || n == first->op_next || opt_untouchable(n) || (n->op_flags & NF_HIDDEN)) continue;
    list_unlink(n);
    list_insert_after(first, n);
    moved = true;
  }
  return moved;
}

// Every statement reachable from the psect's roots: its first statement, and the labels that
// are global or used somewhere.
void mark_roots(Symbol *p) {
  Statement *first = list_first(p);
  if (!first) return;
  for (Statement *n = first; n->op_type; n = n->op_next) n->op_flags &= ~NF_BARRIER;
  for (Statement *n = first; n->op_type; n = n->op_next) {
    if (n->op_type != NAME || !n->op_label || n->op_label->s_defnode != n) continue;
    const Symbol *s = n->op_label;
    if ((s->s_flags & SF_GLOBAL) || s->s_refcnt > 1) opt_mark_reachable(n);
  }
  opt_mark_reachable(first);
}

void trace_pass(Assembly &as, Symbol *p, unsigned long long pass) {
  if (!as.io.out) return;
  std::string o = fmt_str("***** Pass %llu\n", pass);
  EmasmPos pos;
  for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) emasm_statement_text(as, *n, false, pos, o);
  o += '\n';
  as.io.out->write(o.data(), static_cast<std::streamsize>(o.size()));
}

bool is_jump_kind(uint32_t k) { return k == BRA || k == BCC || k == RCALL || k == GOTO || k == CALL; }

// What the uses of the labels show, gathered once before the rules run: which labels are used
// other than as plain jump targets in their own psect, and which psects are entered at offsets.
struct UseScan {
  Assembly &as;
  std::vector<uint32_t> jumps;  // by s_serial: plain jumps to the label from its own psect
  bool const_jumps = false;     // a jump to a constant address
  static constexpr unsigned DEPTH = 1000;

  void pin(const Symbol *s) { as.optim.pinned[s->s_serial] = 1; }
  void offset_into(const Symbol *psect) {
    if (psect && (psect->s_flags & SF_PSECT)) as.optim.offset_target[psect->s_pindex] = 1;
  }
  static const Symbol *label_psect(const Symbol *s) {
    const Statement *d = s->s_defnode;
    return d && d->op_type == NAME && d->op_label == s ? d->op_psect : nullptr;
  }

  // self: the symbol whose own value this is (its self-reference is no use).
  void value(const Value &v, const Symbol *self, unsigned depth = 0) {
    if (depth > DEPTH) return;
    if (expr_is_unary(v.v_rtype) || expr_is_binary(v.v_rtype)) {
      if (v.v_left()) value(*v.v_left(), self, depth + 1);
      if (expr_is_binary(v.v_rtype) && v.v_right()) value(*v.v_right(), self, depth + 1);
      return;
    }
    switch (v.v_rtype & ~RT_SEG) {
      case RT_SYM:
        if (!v.v_sym || v.v_sym == self || v.v_sym->s_serial >= as.optim.pinned.size()) return;
        pin(v.v_sym);
        if (v.v_offs != 0) offset_into(label_psect(v.v_sym));
        return;
      case RT_DOT:
        if (v.v_offs != 0) offset_into(v.v_sym);
        return;
      case RT_PSECT:
        offset_into(v.v_sym);
        return;
      default:
        return;
    }
  }

  void statement(const Statement *n) {
    const Value &v = n->op_opnd1.o_value;
    if (is_jump_kind(n->op_type) && v.v_rtype == RT_SYM && v.v_sym && v.v_offs == 0 &&
        v.v_sym->s_serial < jumps.size() && label_psect(v.v_sym) == n->op_psect) {
      ++jumps[v.v_sym->s_serial];
    } else {
      if (is_jump_kind(n->op_type) && v.v_rtype == RT_ABS) const_jumps = true;
      value(v, nullptr);
    }
    value(stmt_opnd2(n).o_value, nullptr);
    if (n->op_type == DATA)
      for (const DataItem *d = n->op_list; d; d = d->next) value(d->value, nullptr);
  }
};

void scan_uses(Assembly &as, const std::vector<Symbol *> &all) {
  OptimState &st = as.optim;
  st.pinned.assign(as.sym.serial + 1, 0);
  st.offset_target.assign(as.sym.psect_count + 1, 0);
  for (Symbol *p : all)
    if (st.offset_target.size() <= p->s_pindex) st.offset_target.resize(p->s_pindex + 1, 0);
  UseScan u{as, std::vector<uint32_t>(st.pinned.size(), 0)};
  for (Symbol *p : all)
    for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) u.statement(n);
  sym_for_each(as.sym, [&](Symbol *s) {
    if (!(s->s_flags & SF_NAMESPACE)) u.value(s->s_value, s);
  });
  // A label counted more often than its jumps show is used where no statement shows it.
  for (Symbol *p : all)
    for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) {
      const Symbol *s = n->op_type == NAME ? n->op_label : nullptr;
      if (s && s->s_defnode == n && s->s_serial < u.jumps.size() && s->s_refcnt > u.jumps[s->s_serial] + 1)
        u.pin(s);
    }
  if (u.const_jumps)
    for (Symbol *p : all)
      if (p->s_flags & PSF_ABS) u.offset_into(p);
}


}  // namespace

bool optim_selects(const Symbol *p) {
  if (!p || (p->s_flags & PSF_NOTE) || p->s_psect.p_noexec || !p->s_name) return false;
  std::string_view n = p->s_name;
  if (n.empty() || n.starts_with("swtext")) return false;
  return n.starts_with("intcode") || n.find("text") != std::string_view::npos;
}

void optim_select_psects(Assembly &as) {
  OptimState &o = as.optim;
  o.optimizable.clear();
  o.abstraction.clear();
  o.groups.clear();
  for (StatementList *l : as.list.lists) {
    Symbol *p = l->psect;
    if (!optim_selects(p)) continue;
    o.optimizable.push_back(p);
    if (p->s_psect.p_optim & PO_MINOCG) o.groups[p->s_psect.p_group].push_back(p);
    else o.abstraction.push_back(p);
  }
}

bool opt_is_skip(const Statement *n) { return ops_facts(n->op_type, n->op_subop).does & FX_SKIP; }

bool opt_untouchable(const Statement *n) { return n->op_flags & (NF_NOOPT | NF_SRCPOS); }

bool opt_permits(const Symbol *p, uint32_t po_bit) {
  uint32_t f = p->s_psect.p_optim;
  return !(f & PO_GIVEN) || (f & po_bit);
}

void opt_mark_reachable(Statement *start) {
  if (!start || !start->op_type) return;
  const Symbol *home = start->op_psect;
  std::vector<Statement *> work{start};
  while (!work.empty()) {
    Statement *n = work.back();
    work.pop_back();
    while (n && n->op_type && !(n->op_flags & NF_BARRIER)) {
      n->op_flags |= NF_BARRIER;
      if (n->op_flags & NF_HIDDEN) {
        n = n->op_next;
        continue;
      }
      if (opt_is_skip(n)) {
        Statement *skipped = n->op_next;
        while (skipped->op_type && is_label(skipped)) skipped = skipped->op_next;
        if (!skipped->op_type) break;
        work.push_back(skipped);
        n = skipped->op_next;
      } else if (n->op_type == GOTO) {
        // Marks stay within the psect: a label that another psect jumps to is used, hence a
        // root of its own psect.
        Statement *t = plain_target(n);
        n = t && t->op_psect == home ? t : nullptr;
      } else if (n->op_type == CALL) {
        Statement *t = plain_target(n);
        if (t && t->op_psect == home) work.push_back(t);
        n = n->op_next;
      } else {
        n = n->op_next;
      }
    }
  }
}

bool opt_label_pinned(const Assembly &as, const Symbol *s) {
  return s->s_serial < as.optim.pinned.size() && as.optim.pinned[s->s_serial];
}

void opt_touch(Assembly &as, const Symbol *p) {
  std::vector<uint8_t> &d = as.optim.dirty;
  if (d.size() <= p->s_pindex) d.resize(p->s_pindex + 1, 1);
  d[p->s_pindex] = 1;
}

void opt_size(Assembly &as, Symbol *p) {
  std::vector<uint8_t> &d = as.optim.dirty;
  if (d.size() > p->s_pindex && !d[p->s_pindex]) return;
  // Sizing gives a psect without a delta the delta 1; the psect's text must not show that.
  uint8_t delta = p->s_psect.p_delta;
  emobj_size_psect(as, p);
  p->s_psect.p_delta = delta;
  if (d.size() <= p->s_pindex) d.resize(p->s_pindex + 1, 1);
  d[p->s_pindex] = 0;
}

bool optimize_psect(Assembly &as, Symbol *p, bool trace) {
  Statement *first = list_first(p);
  if (!first) return false;
  bool moved = move_sets(first);
  mark_roots(p);
  LoopGuard passes{0, PASS_LIMIT}, phase{0, PHASE_LIMIT};
  bool any = false;
  for (;;) {
    if (trace) trace_pass(as, p, passes.count);
    bool changed = false;
    if (opt_permits(p, PO_PEEP)) {
      while (peep_walk(as, p)) {
        changed = true;
        if (!phase.step()) break;
      }
      phase.count = 0;
    }
    if (opt_permits(p, PO_JUMP)) {
      for (;;) {
        moved |= jump_head_cleanup(as, p);
        bool walked = jump_walk(as, p);
        changed |= walked;
        if (!walked || !phase.step()) break;
      }
      phase.count = 0;
    }
    any |= changed;
    if (!changed || !passes.step()) break;
  }
  if (any || moved) ++as.optim.busy_runs;
  return any;
}

void optim_run(Assembly &as) {
  AsmOptions &o = as.opt;
  if (!o.optimize || o.xinst) return;
  OptimState &st = as.optim;
  std::vector<Symbol *> all = every_psect(as);
  const bool trace = o.verbose > 1;
  scan_uses(as, all);

  // The reference lists are not kept here: the rules never read them, and the label clean-up
  // of step 6 asks which labels the psect's own statements jump to. Of what a build of them
  // does only the SF_KEEP mark of global labels counts.
  // 1. Sizes of every psect (the name map serves inlining only).
  for (Symbol *p : all) {
    keep_global_labels(p);
    opt_size(as, p);
  }
  // 2. Inlining.
  if (!o.no_inline && !o.opt_debug) inline_functions(as, all);
  // 3. Sizes afresh. No label becomes global after this point but with SF_KEEP (the procedures
  // of step 7), so the mark needs no renewal later.
  for (Symbol *p : all) {
    opt_touch(as, p);
    opt_size(as, p);
    keep_global_labels(p);
  }
  // 4. A first run over each psect.
  for (Symbol *p : st.optimizable) optimize_psect(as, p, trace);
  // 6. Label clean-up and runs until nothing changes.
  bool settled = false;  // the last round changed nothing at all
  for (unsigned round = 0; round < CLEANUP_ROUNDS; ++round) {
    bool changed = false;
    const uint64_t busy = st.busy_runs;
    for (Symbol *p : st.optimizable) changed |= opt_remove_unused_labels(as, p) != 0;
    st.labels_cleaned = true;
    for (Symbol *p : st.optimizable) changed |= optimize_psect(as, p, trace);
    settled = !changed && st.busy_runs == busy;
    if (!changed) break;
  }
  // 7. Procedural abstraction, on the abstraction list and then on each group list.
  const bool abstracting = o.opt_space && !o.no_pa && !o.opt_debug && !(o.errata_mask & 0x11);
  if (abstracting) {
    std::vector<Symbol *> made;
    abstract_procedures(as, st.abstraction, made);
    for (auto &[group, list] : st.groups) abstract_procedures(as, list, made);
    st.optimizable.insert(st.optimizable.end(), made.begin(), made.end());
  }
  // 8. The final run. After a round of step 6 that changed nothing it would change nothing
  // either: every run of that round left its psect as it found it (the marks of mark_roots
  // aside, which a run recomputes from the same statements and labels), so each run here would
  // start from the state its run there started from. The program-wide guard cannot make a
  // difference: past its limit a jump walk stops early, and a walk that changes nothing changes
  // nothing when it stops early.
  if (abstracting || !settled)
    for (Symbol *p : st.optimizable) optimize_psect(as, p, false);
  // Emission lays the psects out again with the temporary labels as they now stand.
  as.emit.tlab_built = false;
}

// ---- the errata NOP pass ----

namespace {

constexpr const char *ERRATA_NOP_COMMENT = "; assembler added errata NOP";
constexpr uint16_t OPC_BRA = 0xD000;

bool is_errata_nop(const Statement *n) {
  const DataItem *d = n->op_type == DATA && n->op_subop == 2 ? n->op_list : nullptr;
  return d && !d->next && d->value.v_rtype == RT_ABS && d->value.v_offs == 0xFFFF;
}

// The first statement after n that is not a label, SET or EQU; the tail when there is none.
Statement *after_labels(Statement *n) {
  Statement *p = n->op_next;
  while (p->op_type && (is_label(p) || p->op_type == SET || p->op_type == EQU)) p = p->op_next;
  return p;
}

}  // namespace

Statement *opt_new_statement(Assembly &as, uint8_t kind, const Statement *near) {
  Statement *n = list_new_statement(as);
  n->op_flags = 0;  // the reader's marks of its last line belong to no new statement
  n->op_type = kind;
  n->op_place = near->op_place;
  n->op_asmline = near->op_asmline;
  n->op_srcline = near->op_srcline;
  return n;
}

namespace {

// Puts an errata NOP before `at` (the tail: at the end) unless one is there already. Not
// between two statements under asmopt off, whose code must stay as written.
void nop_before(Assembly &as, Statement *at) {
  if (is_errata_nop(at)) return;
  Statement *prev = at->op_prev;
  if (opt_untouchable(prev) && at->op_type && opt_untouchable(at)) return;
  Statement *nop = opt_new_statement(as, DATA, at->op_type ? at : prev);
  nop->op_subop = 2;
  nop->op_list = list_new_data_item(as);
  nop->op_list->value = expr_abs(0xFFFF);
  nop->op_flags |= NF_BARRIER;
  list_notes(as, nop).op_eolcomment = ERRATA_NOP_COMMENT;
  list_insert_after(prev, nop);
}

// A "bra" to a label, inserted after `pos`.
void bra_after(Assembly &as, Statement *pos, Statement *label) {
  Statement *b = opt_new_statement(as, BRA, pos);
  b->op_subop = OPC_BRA;
  b->op_opnd1.o_mode = OM_PROG;
  b->op_opnd1.o_value.v_rtype = RT_SYM;
  b->op_opnd1.o_value.v_sym = label->op_label;
  if (label->op_label->s_refcnt < 0xFFFF) ++label->op_label->s_refcnt;
  b->op_flags |= pos->op_flags & NF_BARRIER;
  list_insert_after(pos, b);
  list_add_reference(as, b, label);
}

// The skip's opposite, or 0 when it has none (cpfseq, cpfsgt, cpfslt, tstfsz).
uint16_t inverse_skip(const Statement *n) {
  switch (n->op_subop) {
    case 0xB000: return 0xA000;  // btfsc, btfss
    case 0xA000: return 0xB000;
    case 0x2C00: return 0x4C00;  // decfsz, dcfsnz
    case 0x4C00: return 0x2C00;
    case 0x3C00: return 0x4800;  // incfsz, infsnz
    case 0x4800: return 0x3C00;
    default: return 0;
  }
}

// The label directly before n, made when there is none; a made label counts its definition as
// labels read from the source do.
Statement *label_at(Assembly &as, Statement *n) {
  Statement *l = list_label_before(as, n);
  if (l && l->op_label && l->op_label->s_refcnt == 0) l->op_label->s_refcnt = 1;
  if (l) l->op_flags |= n->op_flags & NF_BARRIER;
  return l;
}

// No skip instruction may skip the two-word jump: the skip jumps around it with "bra" instead.
void unskip_jump(Assembly &as, Statement *skip, Statement *jump) {
  Statement *after = jump->op_next;
  while (after->op_type && is_label(after)) after = after->op_next;
  Statement *past = label_at(as, after);
  uint16_t inv = inverse_skip(skip);
  if (inv && !opt_untouchable(skip)) {
    skip->op_subop = inv;
    bra_after(as, skip, past);
    return;
  }
  // No opposite (or a skip that must stay as written): skip one "bra" into another.
  Statement *at = label_at(as, jump);
  bra_after(as, skip, past);
  bra_after(as, skip, at);
}

void errata_walk(Assembly &as, Symbol *p) {
  Statement *first = list_first(p);
  if (!first) return;
  for (Statement *n = first; n->op_type; n = n->op_next) {
    if (n->op_flags & NF_HIDDEN) continue;
    switch (n->op_type) {
      case NAME:
        if (n->op_label && (n->op_label->s_flags & SF_GLOBAL) && (!stmt_refs(n) || stmt_refs(n)->empty()))
          nop_before(as, after_labels(n));
        break;
      case RETURN:
      case RETLW:
        nop_before(as, after_labels(n));
        break;
      case GOTO:
      case CALL: {
        Statement *t = plain_target(n);
        if (!t) break;
        nop_before(as, after_labels(t));
        if (n->op_type != GOTO) break;
        Statement *prev = n->op_prev;
        while (prev->op_type && is_label(prev)) prev = prev->op_prev;
        if (prev->op_type && opt_is_skip(prev) && !(prev->op_flags & NF_HIDDEN)) unskip_jump(as, prev, n);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

void optim_errata_pass(Assembly &as) {
  std::vector<Symbol *> all = every_psect(as);
  for (Symbol *p : all) clear_references(as, p);
  for (Symbol *p : all) build_references(as, p);
  for (Symbol *p : as.optim.optimizable) errata_walk(as, p);
  // The count covers the NOPs of every optimizable psect as they stand at the end, also those
  // put into a psect that had been walked already.
  int64_t nops = 0;
  for (Symbol *p : as.optim.optimizable)
    for (Statement *n = list_first(p); n && n->op_type; n = n->op_next)
      if (is_errata_nop(n) && !(n->op_flags & NF_HIDDEN)) ++nops;
  std::string name = "__cntErrataNOP_" + as.drv.output_name;
  Symbol *s = sym_find(as, name);
  if (!s) s = sym_lookup(as, name);
  s->s_value = expr_abs(nops);
  s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_GLOBAL | SF_EQU;
  as.emit.tlab_built = false;
}

unsigned opt_remove_unused_labels(Assembly &as, Symbol *p) {
  return remove_unused_labels(as, p, [&as](const Symbol *s) { return opt_label_pinned(as, s); });
}
