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

void rebuild_references(Assembly &as, Symbol *p) {
  clear_references(as, p);
  build_references(as, p);
}

bool is_skip(const Statement *n) { return n->op_type == BTFSC || n->op_type == DECFSZ || n->op_type == CPFSEQ; }
bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }

// The defining statement of a plain symbol operand, or null.
Statement *plain_target(const Statement *n) {
  const Value &v = n->op_opnd1.o_value;
  if (v.v_rtype != RT_SYM || !v.v_sym) return nullptr;
  Statement *t = v.v_sym->s_defnode;
  return t && t->op_serial && t->op_type == NAME ? t : nullptr;
}

// Moves every SET statement (but one already there) to directly after the first statement, so
// that the moved ones end up in reverse order.
void move_sets(Statement *first) {
  if (!first->op_type) return;
  for (Statement *n = first->op_next, *next; n->op_type; n = next) {
    next = n->op_next;
    if (n->op_type != SET || n == first->op_next || opt_untouchable(n) || (n->op_flags & NF_HIDDEN)) continue;
    list_unlink(n);
    list_insert_after(first, n);
  }
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

// Stages of the driver sequence that come with later work: inlining (step 2) and procedural
// abstraction (step 7). They change nothing yet.
void inline_functions(Assembly &) {}
void abstract_procedures(Assembly &, std::vector<Symbol *> &) {}

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
      if (is_skip(n)) {
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
  emobj_size_psect(as, p);
  if (d.size() <= p->s_pindex) d.resize(p->s_pindex + 1, 1);
  d[p->s_pindex] = 0;
}

bool optimize_psect(Assembly &as, Symbol *p, bool trace) {
  Statement *first = list_first(p);
  if (!first) return false;
  move_sets(first);
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
        jump_head_cleanup(as, p);
        rebuild_references(as, p);
        bool walked = jump_walk(as, p);
        changed |= walked;
        if (!walked || !phase.step()) break;
      }
      phase.count = 0;
    }
    any |= changed;
    if (!changed || !passes.step()) break;
  }
  return any;
}

void optim_run(Assembly &as) {
  AsmOptions &o = as.opt;
  if (!o.optimize || o.xinst) return;
  OptimState &st = as.optim;
  std::vector<Symbol *> all = every_psect(as);
  const bool trace = o.verbose > 1;

  // 1. References and sizes of every psect (the name map serves inlining only).
  for (Symbol *p : all) {
    build_references(as, p);
    opt_size(as, p);
  }
  // 2. Inlining.
  if (!o.no_inline && !o.opt_debug) inline_functions(as);
  // 3. Sizes and references afresh.
  for (Symbol *p : all) {
    opt_touch(as, p);
    opt_size(as, p);
    clear_references(as, p);
  }
  for (Symbol *p : all) build_references(as, p);
  for (Symbol *p : all) rebuild_references(as, p);
  // 4. A first run over each psect.
  for (Symbol *p : st.optimizable) {
    build_references(as, p);
    optimize_psect(as, p, trace);
  }
  // 5.
  for (Symbol *p : all) clear_references(as, p);
  for (Symbol *p : all) build_references(as, p);
  // 6. Label clean-up and runs until nothing changes.
  for (unsigned round = 0; round < CLEANUP_ROUNDS; ++round) {
    bool changed = false;
    for (Symbol *p : st.optimizable) {
      rebuild_references(as, p);
      changed |= opt_remove_unused_labels(as, p) != 0;
    }
    st.labels_cleaned = true;
    for (Symbol *p : st.optimizable) changed |= optimize_psect(as, p, trace);
    if (!changed) break;
  }
  // 7. Procedural abstraction, on the abstraction list and then on each group list.
  if (o.opt_space && !o.no_pa && !o.opt_debug && !(o.errata_mask & 0x11)) {
    abstract_procedures(as, st.abstraction);
    for (auto &[group, list] : st.groups) abstract_procedures(as, list);
  }
  // 8. The final run.
  for (Symbol *p : st.optimizable) optimize_psect(as, p, false);
  // Emission lays the psects out again with the temporary labels as they now stand.
  as.emit.tlab_built = false;
}

void optim_errata_pass(Assembly &) {}

unsigned opt_remove_unused_labels(Assembly &, Symbol *) { return 0; }
