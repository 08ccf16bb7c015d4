// The object file's record sequence: IDENT, the psects, the symbols and function information,
// DABS, the code of every psect with its line information, the extents, and the closing
// records. Each stage below writes one group of records, in file order.
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "device/chip.h"
#include "driver/assembly.h"
#include "host/kvinstdir.h"
#include "lang/psect.h"
#include "output/emobj.h"
#include "support/format.h"

namespace {

unsigned delta_of(const Symbol *p) { return p && p->s_psect.p_delta ? p->s_psect.p_delta : 1; }
const char *name_of(const Symbol *p) { return p && p->s_name ? p->s_name : ""; }

// A name the line information gives for a source file: with --lib, below the installation.
std::string_view source_name(Assembly &as, const char *file) {
  std::string_view f = file;
  const std::string &dir = as.emit.lib_dir;
  if (as.opt.lib_relative && !dir.empty() && f.size() > dir.size() && f.compare(0, dir.size(), dir) == 0 &&
      (f[dir.size()] == '/' || f[dir.size()] == '\\'))
    f.remove_prefix(dir.size() + 1);
  return f;
}

void line_info(Assembly &as, const Statement *n, Symbol *p) {
  EmitState &es = as.emit;
  if (n->op_type == ALIGN || p->s_psect.p_space != 0 || p->s_psect.p_noexec || !n->op_srcline) return;
  const char *srcfile = stmt_srcfile(as.list, n);
  if (srcfile != es.last_file) {
    const char *file = srcfile ? srcfile : "";
    obj_put_sym_entry(as, as.opt.lib_relative ? 1 : 0, ST_FILE, "", source_name(as, file));
    es.last_file = srcfile;
    es.line_known = false;
  }
  if (es.line_known && n->op_srcline == es.last_line && !(n->op_flags & NF_MACRO)) return;
  if (n->op_type != DS && n->op_type != EQU && n->op_type != SET) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, n->op_srcline);
    uint64_t units = p->s_psect.p_curr / delta_of(p);
    obj_put_sym_entry(as, static_cast<uint32_t>(units), ST_LINE, name_of(p),
                      std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
  }
  es.last_line = n->op_srcline;
  es.line_known = true;
}

bool has_fninfo(const Symbol *s) {
  const SymbolLists &l = sym_lists(s);
  return (s->s_flags & (SF_FNROOT | SF_FNADDR | SF_FNSIZE | SF_SIGNAT)) || !l.s_calls.empty() ||
         !l.s_args.empty() || !l.s_breaks.empty() || !l.s_indir.empty();
}

constexpr uint32_t NEVER_WRITTEN = SF_PSECT | SF_MACRO | SF_CLASS | SF_DABS;

void write_symbols(Assembly &as) {
  sym_for_each(as.sym, [&](Symbol *s) {
    if (s->s_flags & NEVER_WRITTEN) return;
    if (has_fninfo(s) && !(s->s_flags & SF_GLOBAL)) s->s_flags |= SF_LOCAL;
    if (!(s->s_flags & (SF_GLOBAL | SF_LOCAL))) return;
    MsgAt at(as.msg, sym_position(s));
    bool local = s->s_flags & SF_LOCAL, ext = obj_sym_is_external(s);
    bool own_list = s->s_stmts && s->s_stmts->head.op_next != &s->s_stmts->tail;
    unsigned ordinary = local ? unsigned{ST_LOCAL} : (s->s_flags & 0x1F);
    if (!(s->s_flags & SF_FNROOT) && s->s_refcnt == 0 && !own_list) {
      if (!ext) obj_put_symbol(as, s, ordinary);
      return;
    }
    if (ext) obj_put_symbol(as, s, local ? ST_EXTERN_LOCAL : ST_EXTERN);
    else obj_put_symbol(as, s, ordinary);
  });
  obj_flush_symbols(as);
}

void write_fninfo(Assembly &as) {
  sym_for_each(as.sym, [&](Symbol *s) {
    if (!(s->s_flags & (SF_GLOBAL | SF_LOCAL)) || (s->s_flags & SF_DABS)) return;
    MsgAt at(as.msg, sym_position(s));
    const char *name = name_of(s);
    if (s->s_flags & SF_FNADDR) obj_put_fn_names(as, FN_ADDR, name);
    if (s->s_flags & SF_SIGNAT) obj_write_signat(as, name, s->s_signat);
    if (s->s_flags & SF_FNROOT) obj_put_fn_names(as, FN_ROOT, name);
    const SymbolLists &l = sym_lists(s);
    for (const char *c : l.s_calls) obj_put_fn_names(as, FN_CALL, name, c);
    for (const char *a : l.s_args) obj_put_fn_names(as, FN_ARG, name, a);
    for (const char *b : l.s_breaks) obj_put_fn_names(as, FN_BREAK, name, b);
    for (uint16_t sig : l.s_indir) obj_put_fn_indir(as, name, sig);
    if (s->s_flags & SF_FNSIZE) obj_put_fn_size(as, name, s->s_autosize, s->s_argsize);
  });
}

// FNALIGN groups that share a member are one group; numbered in order of their first directive.
void write_fnalign(Assembly &as) {
  const auto &groups = as.decl.fnalign;
  if (groups.empty()) return;
  std::vector<size_t> root(groups.size());
  for (size_t i = 0; i < root.size(); ++i) root[i] = i;
  auto find = [&](size_t i) {
    while (root[i] != i) i = root[i] = root[root[i]];
    return i;
  };
  std::unordered_map<const char *, size_t> owner;  // member name -> a group holding it
  for (size_t g = 0; g < groups.size(); ++g)
    for (const char *m : groups[g]) {
      auto [it, fresh] = owner.emplace(m, g);
      if (fresh) continue;
      size_t a = find(it->second), b = find(g);
      if (a != b) root[std::max(a, b)] = std::min(a, b);
    }
  std::vector<std::string_view> members;
  std::unordered_map<const char *, bool> seen;
  uint16_t number = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    if (find(g) != g) continue;
    members.clear();
    seen.clear();
    for (size_t h = g; h < groups.size(); ++h) {
      if (find(h) != g) continue;
      for (const char *m : groups[h])
        if (seen.emplace(m, true).second) members.push_back(m);
    }
    obj_write_fnalign(as, number++, members);
  }
}

// The END operand: a symbol defined relative to a psect (or a psect-relative value); anything
// else is 802 and written as it stands.
void start_address(Assembly &as, ObjFinish &f) {
  const Declarations &ps = as.decl;
  if (!ps.have_start) return;
  const Value &v = ps.start;
  f.has_start = true;
  const Symbol *s = v.v_sym;
  if (v.v_rtype == RT_SYM && s && !obj_sym_is_external(s) && !(s->s_flags & SF_UNDEF) &&
      s->s_value.v_rtype == RT_PSECT) {
    f.start_psect = name_of(s->s_value.v_sym);
    f.start_offset = static_cast<uint32_t>(static_cast<uint64_t>(s->s_value.v_offs) + static_cast<uint64_t>(v.v_offs));
    return;
  }
  if (v.v_rtype == RT_PSECT) {
    f.start_psect = name_of(s);
    f.start_offset = static_cast<uint32_t>(v.v_offs);
    return;
  }
  msg_report_at(as.msg, ps.end_pos, MSG_BAD_END_ADDRESS);
  f.start_psect = v.v_rtype == RT_SYM || v.v_rtype == RT_PSECT ? name_of(s) : "";
  f.start_offset = static_cast<uint32_t>(v.v_offs);
}

// ---- the stages ----

void write_fnconf(Assembly &as) {
  const Declarations &ps = as.decl;
  if (ps.fnconf[0])
    obj_write_fnconf(as, ps.fnconf[0], ps.fnconf[1] ? ps.fnconf[1] : "", ps.fnconf[2] ? ps.fnconf[2] : "",
                     ps.fnconf_number);
}

// PSECT records (with XPSECT, PSECTLIM, PSECTBOUND) in "with" order.
void write_psects(Assembly &as) {
  for (Symbol *p : psect_order(as)) {
    if (!p->s_psect.p_delta) p->s_psect.p_delta = 1;
    const EmitPsect &ep = emobj_psect(as, p);
    obj_write_psect(as, p, static_cast<uint32_t>(ep.base), static_cast<uint32_t>(emobj_extent(as, p)));
  }
}

void write_dabs(Assembly &as) {
  for (const DabsEntry &d : as.decl.dabs) obj_put_dabs(as, d.space, d.address, d.size, d.name ? d.name : "");
  obj_flush_dabs(as);
}

// The TEXT records of every psect in creation order.
void write_code(Assembly &as) {
  for (StatementList *l : as.list.lists) emobj_emit_psect(as, l->psect);
  obj_flush(as);
}

// An extent record for a psect whose size the text records do not show.
void write_extents(Assembly &as) {
  for (StatementList *l : as.list.lists) {
    const Symbol *p = l->psect;
    if (!p) continue;
    uint64_t size = emobj_extent(as, p);
    uint8_t space = p->s_psect.p_space;
    if (space == 1 || space == 2 || space == 7 || size > p->s_psect.p_curr)
      obj_write_extent(as, p, static_cast<uint32_t>(size));
  }
}

// LISTRELOC, START, the last FNINFO and END.
void write_closing(Assembly &as) {
  ObjFinish f;
  if (as.opt.listing) {
    f.rlf_name = as.drv.rlf_name;
    f.lst_name = as.drv.listing_name;
  }
  start_address(as, f);
  obj_finish(as, f);
}

}  // namespace

void emobj_emit_psect(Assembly &as, Symbol *p) {
  if (!p || !p->s_stmts) return;
  emobj_begin_psect(as, p, false);
  for (Statement *n = p->s_stmts->head.op_next; n->op_type; n = n->op_next) {
    if (n->op_flags & NF_HIDDEN) continue;
    switch (n->op_type) {
      case ENDM: case TITLE: continue;
      case TLABEL: tlab_define(as, n->op_tlab, n); continue;
      case NAME:
        if (p->s_psect.p_noexec || stmt_dbgsrc(as.list, n) != 1 ||
            (n->op_label && std::strncmp(name_of(n->op_label), "__end_of", 8) == 0))
          continue;
        break;
      default: break;
    }
    line_info(as, n, p);
    emobj_encode(as, n, false);
  }
}

std::string emobj_machine_ident(Assembly &as) {
  const char *name = chip_name(as);
  if (!name) return "none";
  if (!as.opt.xident) return name;
  const char *arch = chip_arch_name(as, chip_arch(as));
  return fmt_str("%s:%s:ISA=%s", name, arch && chip_arch(as) ? arch : "none", as.opt.xinst ? "XINST" : "STD");
}

void emobj_write_object(Assembly &as, std::ostream &out) {
  MsgAt records(as.msg);  // the statements written move the message position
  if (as.opt.lib_relative) as.emit.lib_dir = kvinstdir(as.host, KVINSTDIR_INSTALL).value_or("");
  sym_define_inlined(as);  // the symbol table is complete
  obj_open(as, out, emobj_machine_ident(as));
  write_fnconf(as);
  write_psects(as);
  write_symbols(as);
  write_fninfo(as);
  write_fnalign(as);
  write_dabs(as);
  write_code(as);
  write_extents(as);
  records.end();
  write_closing(as);
}
