// Function inlining: calls of functions whose psects ask for it (and, with -auto_inline, of very
// small functions) are replaced by a copy of the function's body; bodies that nothing else
// uses any more are deleted afterwards.
//
// A function is only copied when the copy behaves as the call did. Beyond the stops of the
// verdict walk, these make a function no candidate: code that reads or changes the return
// stack or the program counter (its layout or return address would differ), a fast return
// (it restores what the last fast call saved), a "retlw" right after a skip (its copy is two
// statements), jumps that are not to plain labels, relative jumps leaving the function, labels
// used as values, conditional assembly, messages, SET/EQU and temporary labels (they would be
// duplicated), statements under asmopt off, a last statement that can fall out of the function,
// and a function that calls itself through any chain of calls.
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "device/sfrs.h"
#include "driver/assembly.h"
#include "optim/optim.h"

namespace {

constexpr unsigned AUTO_INLINE_MAX = 7;  // bytes of a function that -auto_inline expands
constexpr unsigned EXPAND_ROUNDS = 64;    // walks of one caller; nesting ends far earlier
constexpr uint16_t LABEL_KEPT = 32767;    // reference count of labels that must stay
constexpr unsigned VALUE_DEPTH = 64;

enum Verdict : uint8_t { V_UNKNOWN, V_YES, V_NO };

bool starts(const Symbol *s, std::string_view prefix) {
  return s && s->s_name && std::string_view(s->s_name).starts_with(prefix);
}

bool is_end_label(const Statement *n) { return n->op_type == NAME && starts(n->op_label, "__end_of"); }

// Labels defined in psects of the set `in` that a value refers to (other than `self`).
template <class Fn>
void each_label(const Value &v, Fn &&fn, unsigned depth = 0) {
  if (depth > VALUE_DEPTH) return;
  if (expr_is_unary(v.v_rtype) || expr_is_binary(v.v_rtype)) {
    if (v.v_left()) each_label(*v.v_left(), fn, depth + 1);
    if (expr_is_binary(v.v_rtype) && v.v_right()) each_label(*v.v_right(), fn, depth + 1);
    return;
  }
  if ((v.v_rtype & ~RT_SEG) == RT_SYM && v.v_sym) fn(v.v_sym);
}

bool is_code_psect(const Symbol *p) {
  const Symbol *cls = p->s_psect.p_class;
  return cls && cls->s_name && std::string_view(cls->s_name) == "CODE" && optim_selects(p);
}

bool absolute(const Symbol *p) { return p->s_flags & PSF_ABS; }

struct Inliner {
  Assembly &as;
  std::vector<uint8_t> as_caller, as_callee;  // Verdict by s_pindex
  std::vector<uint8_t> recursive;             // by s_pindex: on a cycle of calls
  std::vector<uint8_t> listed;                // by s_pindex: on the inlined list
  std::vector<Symbol *> inlined;              // the inlined-psect list
  std::vector<std::pair<const char *, Symbol *>> expanded;  // function name, its psect
  uint64_t instance = 0;
  uint16_t opc_goto = 0, opc_movlw = 0;

  explicit Inliner(Assembly &a) : as(a) {
    size_t n = as.sym.psect_count + 1;
    as_caller.assign(n, V_UNKNOWN);
    as_callee.assign(n, V_UNKNOWN);
    listed.assign(n, 0);
    const Keyword *g = ops_find("goto"), *m = ops_find("movlw");
    opc_goto = g ? g->value : 0;
    opc_movlw = m ? m->value : 0;
  }

  bool in_range(const Symbol *p) const { return p->s_pindex < as_caller.size(); }

  bool verdict(Symbol *p, bool for_callee, const Symbol *function);
  void find_recursion();
  void expand(Statement *k, Symbol *c);
  void inline_psect(Symbol *p);
  Statement *copy_of(const Statement *src, Statement *after);
};

// Walks the psect once per role: as a caller it must end its function with an "__end_of"
// label; as a callee its code must also be one that a copy reproduces (see the file comment).
bool Inliner::verdict(Symbol *p, bool for_callee, const Symbol *function) {
  uint8_t &v = (for_callee ? as_callee : as_caller)[p->s_pindex];
  if (v != V_UNKNOWN) return v == V_YES;
  bool ok = false;
  const Statement *last_code = nullptr, *before_last = nullptr;
  for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) {
    if (n->op_type == NAME && n->op_label && n->op_label->s_name &&
        as.opt.call_exclusions.count(n->op_label->s_name))
      p->s_psect.p_keep = 1;
    if (is_end_label(n)) {
      ok = !for_callee || (is_code_psect(p) && last_code && (ops_facts(last_code->op_type, last_code->op_subop).does &
                                                             (FX_JUMP | FX_RETURN)) &&
                           !(before_last && opt_is_skip(before_last)));
      break;
    }
    if (!for_callee) continue;
    if (opt_untouchable(n) || (n->op_flags & NF_HIDDEN)) break;
    const uint32_t k = n->op_type;
    if (k == NAME) {
      // Labels used as values, with offsets or from other psects other than by jumps.
      if (n->op_label != function && opt_label_pinned(as, n->op_label)) break;
      continue;
    }
    if (k == ENDM || k == TITLE || k == INCLUDE) continue;
    if (!ops_is_instruction(k)) {
      // Data: only the errata NOP.
      const DataItem *d = k == DATA && n->op_subop == 2 ? n->op_list : nullptr;
      if (!(d && !d->next && d->value.v_rtype == RT_ABS && d->value.v_offs == 0xFFFF)) break;
      before_last = last_code;
      last_code = n;
      continue;
    }
    InsnFacts f = ops_statement_facts(*n);
    if ((f.does & (FX_STACK | FX_RETFIE)) || opt_touches_pc(as, n)) break;
    if ((f.does & FX_RETURN) && (n->op_subop & ops_class(k).fast)) break;
    if (k == RETLW && last_code && opt_is_skip(last_code)) break;
    if (opt_value_placed(n->op_opnd1.o_value) || opt_value_placed(stmt_opnd2(n).o_value)) break;
    if (f.does & (FX_JUMP | FX_BRANCH | FX_CALL)) {
      Statement *t = opt_jump_label(n);
      if (!t && !(f.does & FX_RETURN)) break;  // a jump to a computed or constant address
      if (t && !(f.does & FX_CALL) && (t->op_label->s_flags & SF_GLOBAL)) break;
      // A relative jump out of the function might no longer reach.
      if (t && k != GOTO && k != CALL && t->op_psect != p) break;
    }
    before_last = last_code;
    last_code = n;
  }
  v = ok ? V_YES : V_NO;
  if (!ok && for_callee && p->s_psect.p_inline && function) {
    const Statement *d = function->s_defnode;
    MsgPos at{d ? stmt_asmfile(as.list, d) : nullptr, d ? static_cast<long>(d->op_asmline) : 0};
    if (at.file) msg_report_at(as.msg, at, MSG_NOT_INLINED, function->s_name);
    else msg_report(as.msg, MSG_NOT_INLINED, function->s_name);
  }
  return ok;
}

// Marks the psects that lie on a cycle of calls (Tarjan's strongly connected components over
// the psects, edges from calls to plain labels): expanding their calls would never end.
void Inliner::find_recursion() {
  const size_t np = as_caller.size();
  recursive.assign(np, 0);
  std::vector<std::vector<uint32_t>> edges(np);
  for (StatementList *l : as.list.lists) {
    if (!l->psect || !in_range(l->psect)) continue;
    const uint32_t from = l->psect->s_pindex;
    for (Statement *n = l->head.op_next; n->op_type; n = n->op_next) {
      if (n->op_type != CALL && n->op_type != RCALL) continue;
      const Statement *t = opt_jump_label(n);
      if (!t || !t->op_psect || !in_range(t->op_psect)) continue;
      uint32_t to = t->op_psect->s_pindex;
      if (to == from) recursive[from] = 1;
      else edges[from].push_back(to);
    }
  }
  std::vector<int32_t> index(np, -1), low(np, 0);
  std::vector<uint8_t> on(np, 0);
  std::vector<uint32_t> stack;
  std::vector<std::pair<uint32_t, size_t>> work;  // node, next edge
  int32_t next_index = 0;
  for (uint32_t root = 0; root < np; ++root) {
    if (index[root] >= 0) continue;
    work.push_back({root, 0});
    while (!work.empty()) {
      auto &[v, e] = work.back();
      if (e == 0 && index[v] < 0) {
        index[v] = low[v] = next_index++;
        stack.push_back(v);
        on[v] = 1;
      }
      if (e < edges[v].size()) {
        uint32_t w = edges[v][e++];
        if (index[w] < 0) work.push_back({w, 0});
        else if (on[w]) low[v] = std::min(low[v], index[w]);
        continue;
      }
      if (low[v] == index[v]) {
        size_t size = 0;
        uint32_t w;
        size_t top = stack.size();
        do {
          w = stack.back();
          stack.pop_back();
          on[w] = 0;
          ++size;
        } while (w != v);
        if (size > 1)
          for (size_t i = stack.size(); i < top; ++i) recursive[stack.data()[i]] = 1;
      }
      uint32_t done = v;
      work.pop_back();
      if (!work.empty()) low[work.back().first] = std::min(low[work.back().first], low[done]);
    }
  }
}

Statement *Inliner::copy_of(const Statement *src, Statement *after) {
  Statement *c = list_new_statement(as);
  const uint32_t serial = c->op_serial;
  *c = *src;
  c->op_serial = serial;
  c->op_next = c->op_prev = nullptr;
  c->op_notes = nullptr;
  copyexpr(as, c->op_opnd1.o_value, src->op_opnd1.o_value);
  list_unshare_opnd2(as, c);
  if (src->op_type == DATA) {
    DataItem **tail = &c->op_list;
    *tail = nullptr;
    for (const DataItem *d = src->op_list; d; d = d->next) {
      DataItem *item = list_new_data_item(as);
      copyexpr(as, item->value, d->value);
      *tail = item;
      tail = &item->next;
    }
  }
  if (const char *eol = stmt_eolcomment(src)) list_notes(as, c).op_eolcomment = eol;
  c->op_flags |= NF_INLINED;
  list_insert_after(after, c);
  return c;
}

// A label of its own (outside the symbol table) defined by a new statement, linked after `after`
// when given.
Statement *new_label(Assembly &as, std::string_view name, const Statement *at, Statement *after) {
  Symbol *s = sym_new_named_label(as, name);
  Statement *l = opt_new_statement(as, NAME, at);
  l->op_label = s;
  s->s_defnode = l;
  s->s_defpsect = at->op_psect;
  s->s_flags &= ~SF_UNDEF;
  s->s_refcnt = 1;
  if (after) list_insert_after(after, l);
  return l;
}

void point_at(Statement *n, Symbol *s) {
  Value &v = n->op_opnd1.o_value;
  v = Value{};
  v.v_rtype = RT_SYM;
  v.v_sym = s;
  if (s->s_refcnt < 0xFFFF) ++s->s_refcnt;
}

void Inliner::expand(Statement *k, Symbol *c) {
  char name[24];
  auto iL = [&](Statement *after) {
    ++as.sym.label_counter;
    std::snprintf(name, sizeof name, "iL%u", as.sym.label_counter & 0xFFFFu);
    Statement *l = new_label(as, name, k, after);
    l->op_label->s_lnum = static_cast<uint16_t>(as.sym.label_counter);
    l->op_label->s_refcnt = LABEL_KEPT;
    l->op_label->s_flags |= SF_KEEP;
    l->op_flags |= NF_BARRIER;
    return l;
  };
  Statement *start = iL(k);
  Statement *end = iL(start);
  if (!c->s_psect.p_keep && !listed[c->s_pindex]) {
    listed[c->s_pindex] = 1;
    inlined.push_back(c);
  }
  const uint64_t inst = ++instance;
  std::unordered_map<const Symbol *, Symbol *> labels;
  Statement *at = start;
  Statement *first = list_first(c);
  for (Statement *n = first; n->op_type && !is_end_label(n); n = n->op_next)
    if (n->op_type == NAME && n->op_label && !labels.count(n->op_label)) {
      std::string nm = fmt_str("i%lluL%s", static_cast<unsigned long long>(inst), n->op_label->s_name);
      Statement *l = new_label(as, nm, k, nullptr);
      l->op_flags |= NF_INLINED;
      labels[n->op_label] = l->op_label;
    }
  for (Statement *n = first; n->op_type && !is_end_label(n); n = n->op_next) {
    if (n->op_type == NAME) {
      // A label defined twice (an error already reported) has its copy at the first definition:
      // linking the copy again would make the list a cycle.
      Statement *l = labels.at(n->op_label)->s_defnode;
      if (l->op_next) continue;
      list_insert_after(at, l);
      at = l;
      continue;
    }
    const bool indir = (n->op_type == RETURN || n->op_type == RETLW) && stmt_eolcomment(n) &&
                       std::string_view(stmt_eolcomment(n)).find(";indir") != std::string_view::npos;
    if ((n->op_type == RETURN || n->op_type == RETLW) && !indir) {
      if (n->op_type == RETLW) {
        Statement *m = copy_of(n, at);
        m->op_type = MOVLW;
        m->op_subop = opc_movlw;
        at = m;
      }
      Statement *g = copy_of(n, at);
      g->op_type = GOTO;
      g->op_subop = opc_goto;
      g->op_opnd1 = Operand{};
      g->op_opnd1.o_mode = OM_PROG;
      point_at(g, end->op_label);
      if (g->op_notes) g->op_notes->op_eolcomment = nullptr;
      at = g;
      continue;
    }
    Statement *m = copy_of(n, at);
    if (ops_statement_facts(*m).does & (FX_JUMP | FX_BRANCH | FX_CALL)) {
      const Statement *t = opt_jump_label(n);
      auto it = t ? labels.find(t->op_label) : labels.end();
      if (it != labels.end()) point_at(m, it->second);
    }
    at = m;
  }
  if (Symbol *f = k->op_opnd1.o_value.v_sym; f && f->s_refcnt > 0) --f->s_refcnt;
  list_delete(as, k);
}

// Whether the statement before n that gives code is a skip (or a directive that moves code).
bool after_skip(const Statement *n) {
  for (const Statement *p = n->op_prev; p && p->op_type; p = p->op_prev) {
    if (p->op_flags & NF_HIDDEN) continue;
    if (p->op_type == NAME || p->op_type == TLABEL || p->op_type == SET || p->op_type == EQU) continue;
    return opt_is_skip(p) || p->op_type == ORG || p->op_type == ALIGN;
  }
  return false;
}

// Whether the call at k may be replaced by the body of psect c: the call is the psect's entry,
// with nothing that gives code before it.
bool enters_at_head(const Statement *t, const Symbol *c) {
  for (const Statement *n = list_first(c); n && n->op_type; n = n->op_next) {
    if (n == t) return true;
    if (n->op_type != NAME) return false;
  }
  return false;
}

void Inliner::inline_psect(Symbol *p) {
  if (!in_range(p) || absolute(p) || !optim_selects(p) || opt_keeps_shape(as, p) || !verdict(p, false, nullptr))
    return;
  // A computed jump or a read of the program counter depends on the caller's layout, which
  // the expansion changes.
  for (Statement *n = list_first(p); n->op_type; n = n->op_next)
    if (ops_is_instruction(n->op_type) && opt_touches_pc(as, n)) return;
  for (unsigned round = 0; round < EXPAND_ROUNDS; ++round) {
    bool any = false;
    for (Statement *n = list_first(p); n->op_type;) {
      Statement *next = n->op_next;
      if (n->op_type != CALL || opt_untouchable(n) || (n->op_flags & NF_HIDDEN) || (n->op_subop & ops_class(CALL).fast) ||
          after_skip(n)) {
        n = next;
        continue;
      }
      Statement *t = opt_jump_label(n);
      Symbol *c = t ? t->op_psect : nullptr;
      if (!c || c == p || !in_range(c) || absolute(c) || recursive[c->s_pindex] || !enters_at_head(t, c)) {
        n = next;
        continue;
      }
      const uint32_t pm = p->s_psect.p_optim & PO_MINOCG, cm = c->s_psect.p_optim & PO_MINOCG;
      if (pm != cm || (pm && p->s_psect.p_group != c->s_psect.p_group)) {
        n = next;
        continue;
      }
      bool go = false;
      if (c->s_psect.p_inline) {
        go = verdict(c, true, t->op_label);
      } else if (as.opt.auto_inline && verdict(c, true, t->op_label)) {
        opt_size(as, c);
        const Statement *e = t;
        while (e->op_type && !is_end_label(e)) e = e->op_next;
        if (e->op_type && e->op_addr <= AUTO_INLINE_MAX) {
          c->s_psect.p_keep = 1;
          go = true;
        }
      }
      if (go) {
        expanded.push_back({t->op_label->s_name, c});
        expand(n, c);
        opt_touch(as, p);
        any = true;
      }
      n = next;
    }
    if (!any) break;
  }
}

// Whether a value or data item of a statement outside psect `home` refers to a label of a
// listed psect, which then must keep its body.
struct UseOfBodies {
  Inliner &in;
  void value(const Value &v, const Symbol *from) {
    each_label(v, [&](const Symbol *s) {
      const Statement *d = s->s_defnode;
      if (!d || d->op_type != NAME || d->op_label != s || !d->op_psect) return;
      Symbol *c = d->op_psect;
      if (c != from && in.in_range(c) && in.listed[c->s_pindex]) c->s_psect.p_keep = 1;
    });
  }
};

}  // namespace

bool opt_value_placed(const Value &v, unsigned depth) {
  if (depth > VALUE_DEPTH) return true;
  if (expr_is_unary(v.v_rtype) || expr_is_binary(v.v_rtype))
    return (v.v_left() && opt_value_placed(*v.v_left(), depth + 1)) ||
           (expr_is_binary(v.v_rtype) && v.v_right() && opt_value_placed(*v.v_right(), depth + 1));
  uint32_t t = v.v_rtype & ~RT_SEG;
  return t == RT_DOT || t == RT_PSECT || t == RT_TLABF || t == RT_TLABB;
}

bool opt_touches_pc(const Assembly &as, const Statement *n) {
  if (!ops_is_instruction(n->op_type)) return false;
  if (n->op_type == CALLW || (ops_statement_facts(*n).does & FX_OPAQUE)) return true;
  for (const Operand *o : {&n->op_opnd1, &stmt_opnd2(n)}) {
    if (o->o_mode != OM_FILE) continue;
    std::optional<int64_t> c = opt_constant_of(o->o_value);
    if (!c) continue;
    for (uint32_t id : {SFR_TOSU, SFR_TOSH, SFR_TOSL, SFR_STKPTR, SFR_PCLATU, SFR_PCLATH, SFR_PCL}) {
      uint64_t a = sfr_addr(as, id);
      if (!a) continue;
      if (static_cast<uint64_t>(*c) == a) return true;
      // The access bank's short form of an SFR address.
      if (*c >= 0x60 && *c <= 0xFF && (a & 0xFF) == static_cast<uint64_t>(*c) && n->op_access != BANKED) return true;
    }
  }
  return false;
}

void inline_functions(Assembly &as, std::vector<Symbol *> &all) {
  Inliner in(as);
  in.find_recursion();
  // a. Expansion in every psect.
  for (Symbol *p : all) in.inline_psect(p);
  if (in.expanded.empty()) return;
  // b. A function psect still jumped to, or used as a value, keeps its body.
  UseOfBodies uses{in};
  for (Symbol *p : all) {
    for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) {
      uses.value(n->op_opnd1.o_value, p);
      uses.value(stmt_opnd2(n).o_value, p);
      if (n->op_type == DATA)
        for (const DataItem *d = n->op_list; d; d = d->next) uses.value(d->value, p);
      Statement *t = list_jump_target(n);
      if (t && t->op_type == NAME && t->op_psect != p && t->op_psect->s_psect.p_inline && ops_is_instruction(n->op_type))
        t->op_psect->s_psect.p_keep = 1;
    }
  }
  sym_for_each(as.sym, [&](Symbol *s) {
    if (!(s->s_flags & SF_NAMESPACE)) uses.value(s->s_value, nullptr);
  });
  for (auto &[function, psect] : in.expanded) sym_record_inlined(as, function, psect, 1);
  // c. Bodies that nothing uses any more go, but for global "_" labels and "iL" labels.
  OptimState &st = as.optim;
  for (Symbol *c : in.inlined) {
    if (c->s_psect.p_keep) continue;
    for (auto *list : {&st.optimizable, &st.abstraction}) std::erase(*list, c);
    for (auto &[group, list] : st.groups) std::erase(list, c);
    for (Statement *n = list_first(c); n->op_type;) {
      Statement *next = n->op_next;
      const Symbol *s = n->op_type == NAME ? n->op_label : nullptr;
      bool stays = s && ((starts(s, "_") && (s->s_flags & SF_GLOBAL)) || starts(s, "iL"));
      if (!stays) {
        if (n->op_type == NAME) list_delete_label(as, n);
        else list_delete(as, n);
      }
      n = next;
    }
    opt_touch(as, c);
  }
}
