// Symbol table: 60493 buckets of chains with head insertion; chain order is output order later.
#include "lang/sym.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ostream>

#include "driver/assembly.h"
#include "isa/ops.h"
#include "lang/list.h"

namespace {

// The symbol's position becomes the current source position: where it is made or defined.
void defined_here(Assembly &as, Symbol *s) {
  long line = lex_msg_line(as);
  s->s_file = lex_file(as);
  s->s_line = line < 0 ? 0 : static_cast<uint64_t>(line);
}

// A fresh record with its serial number, interned name and the current source position.
Symbol *make_record(Assembly &as, const char *interned, size_t len) {
  SymState &st = as.sym;
  Symbol *s = st.pool.make();
  s->s_serial = ++st.serial;
  s->s_name = interned;
  std::string_view name(interned, len);
  defined_here(as, s);
  if (name.size() > st.longest_name) st.longest_name = name.size();
  return s;
}

Symbol *make_record(Assembly &as, std::string_view name) {
  return make_record(as, as.strings.intern(name), name.size());
}

// The newest record of a name; older ones follow through s_nnext. It lives in the interned
// name's slot.
Symbol *&name_head(const char *interned) { return reinterpret_cast<Symbol *&>(StringTable::slot(interned)); }

void link_head(SymState &st, Symbol *s) {
  Symbol *&head = name_head(s->s_name);
  s->s_nnext = head;
  head = s;
  if (st.sorted) return;  // the chains are gone
  uint32_t b = sym_bucket(s->s_name);
  Symbol *&chain = st.chains[b];
  if (!chain) {
    st.used_ordered = st.used_ordered && (st.used.empty() || st.used.back() < b);
    st.used.push_back(b);
  }
  s->s_hnext = chain;
  chain = s;
}

// Takes s out of its chain and the index; false when it is in neither.
bool unlink_chain(SymState &st, Symbol *s) {
  if (!s->s_name) return false;
  bool found = false;
  for (Symbol **pp = &name_head(s->s_name); *pp; pp = &(*pp)->s_nnext) {
    if (*pp == s) {
      *pp = s->s_nnext;
      s->s_nnext = nullptr;
      found = true;
      break;
    }
  }
  if (!found) return false;
  auto chain = st.chains.find(sym_bucket(s->s_name));
  if (st.sorted || chain == st.chains.end()) return true;
  for (Symbol **pp = &chain->second; *pp; pp = &(*pp)->s_hnext) {
    if (*pp == s) {
      *pp = s->s_hnext;
      s->s_hnext = nullptr;
      break;
    }
  }
  return true;
}

// The chained record of that name whose namespace bits equal cls; the newest one first, as a
// walk of the bucket chain would find it.
Symbol *find_named(const char *interned, uint32_t cls) {
  if (!interned) return nullptr;
  for (Symbol *s = name_head(interned); s; s = s->s_nnext)
    if ((s->s_flags & SF_NAMESPACE) == cls) return s;
  return nullptr;
}

void set_self_relative(Symbol *s) {
  s->s_value = Value{};
  s->s_value.v_rtype = RT_SYM;
  s->s_value.v_sym = s;
}

bool name_less(const Symbol *a, const Symbol *b) { return std::strcmp(a->s_name, b->s_name) < 0; }

void bump_refcnt(Symbol *s) {
  if (s->s_refcnt < 0xFFFF) ++s->s_refcnt;
}

}  // namespace

uint32_t sym_bucket(std::string_view name) {
  uint32_t h = 0;
  for (char c : name) h = 2 * h + static_cast<unsigned char>(c);
  return h % SYM_BUCKETS;
}

void sym_init(Assembly &as) {
  SymState &st = as.sym;
  st.chains.clear();
  st.used.clear();
  st.used_ordered = true;
  st.sorted_records.clear();
  as.strings.clear_slots();
  st.sorted = false;
  lex_at_command_line(as);

  Symbol *n = sym_lookup(as, "__NORTEX__");
  n->s_value = expr_abs(1);
  n->s_flags = (n->s_flags & ~SF_UNDEF) | SF_SET;

  Symbol *p = sym_lookup(as, "", SF_PSECT);
  if (!p) {
    msg_report(as.msg, MSG_CANT_ENTER_ABS_PSECT);
    return;
  }
  p->s_flags |= PSF_ABS | PSF_OVRLD | PSF_GLOBAL;
  p->s_psect = PsectPart{};
  st.default_psect = st.cur_psect = p;
}

Symbol *sym_lookup(Assembly &as, std::string_view name, uint32_t cls) {
  SymState &st = as.sym;
  if (!(cls & SF_NAMESPACE) && as.opt.xref && as.drv.xref)
    *as.drv.xref << name << ' ' << static_cast<long long>(lex_msg_line(as)) << '\n';
  const char *in = as.strings.intern(name);
  if (Symbol *s = find_named(in, cls)) return s;
  if (++st.count >= SYM_BUCKETS) msg_report(as.msg, MSG_TOO_MANY_SYMBOLS);
  Symbol *s = make_record(as, in, name.size());
  link_head(st, s);
  if (cls == 0) {
    set_self_relative(s);
    s->s_flags = SF_UNDEF;
  } else {
    s->s_flags = cls;
    if (cls & SF_PSECT) sym_make_psect(as, s);
  }
  return s;
}

Symbol *sym_find(Assembly &as, std::string_view name) { return find_named(as.strings.find(name), 0); }

Symbol *sym_new_label(Assembly &as) {
  SymState &st = as.sym;
  ++st.label_counter;
  char buf[16] = {'L'};
  auto r = std::to_chars(buf + 1, buf + sizeof buf, st.label_counter & 0xFFFFu);
  Symbol *s = make_record(as, std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
  s->s_lnum = static_cast<uint16_t>(st.label_counter);
  set_self_relative(s);
  return s;
}

Symbol *sym_new_named_label(Assembly &as, std::string_view name) {
  Symbol *s = make_record(as, name);
  set_self_relative(s);
  return s;
}

Symbol *sym_define_cmdline(Assembly &as, std::string_view name, int64_t value) {
  if (Symbol *old = sym_find(as, name)) {
    msg_check_failed(as.msg, "pp == NULL", __FILE__, __LINE__);
    return old;
  }
  Symbol *s = make_record(as, name);
  s->s_refcnt = 1;
  s->s_value = expr_abs(value);
  s->s_flags = SF_SET | SF_GLOBAL;
  link_head(as.sym, s);
  return s;
}

void sym_make_psect(Assembly &as, Symbol *s) {
  if (!s || s->s_stmts) return;  // already a psect with its list
  s->s_flags |= SF_PSECT;
  s->s_pindex = as.sym.psect_count++;
  s->s_stmts = list_new(as.list, s);
}

void sym_unlink(Assembly &as, Symbol *s) {
  if (s) unlink_chain(as.sym, s);
}

void sym_relink(Assembly &as, Symbol *s) {
  if (s) link_head(as.sym, s);
}

Symbol *sym_copy(Assembly &as, const Symbol *s) {
  if (!s) return nullptr;
  Symbol *c = as.sym.pool.make(*s);
  c->s_hnext = c->s_nnext = nullptr;
  if (s->s_lists) c->s_lists = as.sym.lists_pool.make(*s->s_lists);
  return c;
}

const SymbolLists &sym_lists(const Symbol *s) {
  static const SymbolLists none;
  return s && s->s_lists ? *s->s_lists : none;
}

SymbolLists &sym_lists_make(Assembly &as, Symbol *s) {
  if (!s->s_lists) s->s_lists = as.sym.lists_pool.make();
  return *s->s_lists;
}

void sym_free(Assembly &as, Symbol *s) {
  if (!s) return;
  SymState &st = as.sym;
  unlink_chain(st, s);  // never leave a freed record in a chain
  if (st.cur_psect == s) st.cur_psect = st.default_psect;
  if (st.default_psect == s) st.default_psect = st.cur_psect = nullptr;
  st.lists_pool.free(s->s_lists);
  st.pool.free(s);
  if (st.count > 0) --st.count;
}

void sym_record_inlined(Assembly &as, std::string_view function, const Symbol *psect, int kind) {
  int64_t value = kind;
  if (kind == 1) value = psect && psect->s_psect.p_keep ? 3 : 1;
  std::string key = "_inlined$";
  key += function;
  as.sym.inlined[key] = value;
}

void sym_define_inlined(Assembly &as) {
  for (const auto &[key, value] : as.sym.inlined) sym_define_cmdline(as, key, value);
}

void sym_sort_all(Assembly &as) {
  SymState &st = as.sym;
  if (st.sorted) return;
  std::vector<Symbol *> all;
  all.reserve(st.count + 16);
  sym_for_each(st, [&](Symbol *s) { all.push_back(s); });
  std::stable_sort(all.begin(), all.end(), name_less);
  st.sorted_records = std::move(all);
  st.chains.clear();
  st.used.clear();
  st.sorted = true;
}

std::span<Symbol *const> sym_sorted(const Assembly &as) {
  const SymState &st = as.sym;
  if (!st.sorted) return {};
  return {st.sorted_records.data(), st.sorted_records.size()};
}

const std::vector<uint32_t> &sym_used_buckets(SymState &st) {
  if (!st.used_ordered) {
    std::sort(st.used.begin(), st.used.end());
    st.used.erase(std::unique(st.used.begin(), st.used.end()), st.used.end());
    st.used_ordered = true;
  }
  return st.used;
}

void sym_define_label(Assembly &as, Symbol *s, Statement *node) {
  if (!s) return;
  if (s->s_defnode || (s->s_flags & SF_EQU)) msg_report(as.msg, MSG_MULTIPLY_DEFINED, s->s_name);
  defined_here(as, s);
  bump_refcnt(s);
  s->s_defnode = node;
  s->s_defpsect = as.sym.cur_psect;
  if (s->s_flags & SF_EXTERN) msg_report(as.msg, MSG_LABEL_DECLARED_EXTRN);
  s->s_flags &= ~(SF_EXTERN | SF_UNDEF);
}

void sym_define_equ(Assembly &as, Symbol *s, const Value &v) {
  if (!s) return;
  if (!(s->s_flags & SF_UNDEF)) {
    // Compared on copies of the top records: the stored value stays as written.
    Value old = s->s_value, cmp = v;
    if (!expr_equal(as, old, cmp)) msg_report(as.msg, MSG_MULTIPLY_DEFINED, s->s_name);
  }
  defined_here(as, s);
  s->s_value = v;
  s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_EQU;
}

void sym_define_set(Assembly &as, Symbol *s, const Value &v) {
  if (!s) return;
  defined_here(as, s);
  s->s_value = v;
  s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_SET;
}

bool sym_define_macro(Assembly &as, Symbol *s) {
  if (!s) return false;
  if (!(s->s_flags & SF_UNDEF) || (s->s_flags & SF_MACRO)) {
    msg_report(as.msg, MSG_MACRO_NAME_USED);
    return false;
  }
  s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_MACRO;
  return true;
}

void sym_declare(Assembly &as, Symbol *s, unsigned keyword) {
  if (!s) return;
  switch (keyword) {
    case K_GLOBAL:
      s->s_flags |= SF_GLOBAL;
      break;
    case K_PUBLIC:
      if (s->s_flags & SF_EXTERN) msg_report(as.msg, MSG_EXTERN_AND_PUBLIC);
      s->s_flags |= SF_GLOBAL;
      break;
    case K_EXTRN:
      if (!(s->s_flags & SF_UNDEF)) msg_report(as.msg, MSG_SYMBOL_NOT_EXTERNAL);
      s->s_flags |= SF_GLOBAL | SF_EXTERN;
      break;
    case K_LOCAL:
      s->s_flags |= SF_LOCAL;
      break;
    default:
      return;
  }
  s->s_refcnt = REFCNT_DECLARED;
}

namespace {

// A symbol whose EQU or SET value stands in for it wherever it is used.
bool has_set_value(const Symbol *s) {
  return s && (s->s_flags & (SF_EQU | SF_SET)) && !(s->s_flags & (SF_UNDEF | SF_NAMESPACE));
}

// The dependency graph of the EQU and SET symbols: an edge from each to those its value names.
struct SetGraph {
  std::vector<Symbol *> nodes;
  std::unordered_map<const Symbol *, uint32_t> id;
  std::vector<uint32_t> first, succ;  // the edges of node i: succ[first[i] .. first[i + 1])

  explicit SetGraph(Assembly &as) {
    sym_for_each(as.sym, [&](Symbol *s) {
      if (has_set_value(s)) nodes.push_back(s);
    });
    for (uint32_t i = 0; i < nodes.size(); ++i) id.emplace(nodes[i], i);
    std::vector<uint32_t> mark(nodes.size(), UINT32_MAX);
    std::vector<const Value *> work;
    first.reserve(nodes.size() + 1);
    for (uint32_t i = 0; i < nodes.size(); ++i) {
      first.push_back(static_cast<uint32_t>(succ.size()));
      work.assign(1, &nodes[i]->s_value);
      while (!work.empty()) {  // value trees can be deep: no recursion
        const Value *v = work.back();
        work.pop_back();
        if (v->v_rtype == RT_SYM) {
          auto it = id.find(v->v_sym);
          if (it != id.end() && mark[it->second] != i) {
            mark[it->second] = i;
            succ.push_back(it->second);
          }
        } else if (expr_is_unary(v->v_rtype) && v->v_left()) {
          work.push_back(v->v_left());
        } else if (expr_is_binary(v->v_rtype) && v->v_left()) {
          work.push_back(v->v_left());
          work.push_back(v->v_right());
        }
      }
    }
    first.push_back(static_cast<uint32_t>(succ.size()));
  }
};

// The EQU and SET symbols whose values lead back to themselves.
std::vector<Symbol *> cyclic_symbols(Assembly &as) {
  SetGraph g(as);
  // Strongly connected components (Tarjan's algorithm with an explicit stack): a symbol is
  // cyclic when its component has more than one member or it names itself.
  const uint32_t n = static_cast<uint32_t>(g.nodes.size()), none = UINT32_MAX;
  std::vector<uint32_t> index(n, none), low(n), stack;
  std::vector<bool> on_stack(n);
  std::vector<std::pair<uint32_t, uint32_t>> calls;  // node, next edge to follow
  std::vector<Symbol *> cyclic;
  uint32_t counter = 0;
  for (uint32_t root = 0; root < n; ++root) {
    if (index[root] != none) continue;
    calls.emplace_back(root, g.first[root]);
    index[root] = low[root] = counter++;
    stack.push_back(root);
    on_stack[root] = true;
    while (!calls.empty()) {
      auto &[v, e] = calls.back();
      if (e < g.first[v + 1]) {
        uint32_t w = g.succ[e++];
        if (index[w] == none) {
          index[w] = low[w] = counter++;
          stack.push_back(w);
          on_stack[w] = true;
          calls.emplace_back(w, g.first[w]);
        } else if (on_stack[w]) {
          low[v] = std::min(low[v], index[w]);
        }
        continue;
      }
      uint32_t done = v;
      calls.pop_back();
      if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[done]);
      if (low[done] != index[done]) continue;
      size_t top = stack.size();
      while (stack[top - 1] != done) --top;
      --top;
      bool self = std::find(g.succ.begin() + g.first[done], g.succ.begin() + g.first[done + 1], done) !=
                  g.succ.begin() + g.first[done + 1];
      for (size_t k = top; k < stack.size(); ++k) {
        on_stack[stack[k]] = false;
        if (stack.size() - top > 1 || self) cyclic.push_back(g.nodes[stack[k]]);
      }
      stack.resize(top);
    }
  }
  return cyclic;
}

}  // namespace

void sym_break_cycles(Assembly &as) {
  std::vector<Symbol *> cyclic = cyclic_symbols(as);
  if (cyclic.empty()) return;
  // Each is reported at its last EQU or SET line, in the order of those lines.
  std::unordered_map<const Symbol *, const Statement *> def;
  for (Symbol *s : cyclic) def.emplace(s, nullptr);
  for (StatementList *l : as.list.lists) {
    for (Statement *n = l->head.op_next; n->op_type; n = n->op_next) {
      if ((n->op_type != EQU && n->op_type != SET) || n->op_opnd1.o_value.v_rtype != RT_SYM) continue;
      auto it = def.find(n->op_opnd1.o_value.v_sym);
      if (it != def.end() && (!it->second || it->second->op_serial < n->op_serial)) it->second = n;
    }
  }
  auto serial = [&](const Symbol *s) { return def[s] ? def[s]->op_serial : 0; };
  std::sort(cyclic.begin(), cyclic.end(), [&](const Symbol *a, const Symbol *b) { return serial(a) < serial(b); });
  for (Symbol *s : cyclic) {
    const Statement *n = def[s];
    MsgPos at = n ? MsgPos{stmt_asmfile(as.list, n), static_cast<long>(n->op_asmline)} : MsgPos{s->s_file, static_cast<long>(s->s_line)};
    s->s_value = expr_abs(0);
    msg_report_at(as.msg, at, MSG_RELOC_TOO_COMPLEX);
  }
}
