// Listing lines, page headers and the symbol table pages.
#include "output/emlist.h"

#include <cstdlib>
#include <ctime>

#include "driver/assembly.h"
#include "isa/ops.h"
#include "output/emasm.h"
#include "output/emobj.h"
#include "output/objout.h"

namespace {

// Text for both files.
void put(Assembly &as, std::string_view s) {
  if (as.io.out) as.io.out->write(s.data(), static_cast<std::streamsize>(s.size()));
  if (as.lst.rlf) obj_put_listing_text(as, s);
}
void put_lst(Assembly &as, std::string_view s) {
  if (as.io.out) as.io.out->write(s.data(), static_cast<std::streamsize>(s.size()));
}
void put_rlf(Assembly &as, std::string_view s) {
  if (as.lst.rlf) obj_put_listing_text(as, s);
}
void put_reloc(Assembly &as, const Value &v, uint32_t base, unsigned size, unsigned format) {
  if (as.lst.rlf) obj_put_listing_reloc(as, v, base, size, format);
}

// Formats into the listing's scratch buffer (no allocation once it has grown).
template <class... A>
std::string_view fmt(LstState &l, std::string_view f, const A &...a) {
  const FmtArg args[] = {FmtArg(a)...};
  l.scratch.clear();
  fmt_append(l.scratch, f, args);
  return l.scratch;
}

// Page width minus a fixed part, never negative (printf field widths must be sane).
int width_less(int w, int less) { return w > less ? w - less : 0; }

bool relocatable(const Value &v) { return v.v_rtype != RT_ABS; }

uint64_t mask_bits(unsigned width) { return width >= 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1; }

// Counts a printed line; a full page ends with a form feed.
void end_line(Assembly &as) {
  LstState &l = as.lst;
  ++l.page_lines;
  if (l.page_length && l.page_lines >= l.page_length - 4) {
    put(as, "\f");
    l.page_lines = 0;
  }
}

void page_header(Assembly &as, const char *banner, bool code) {
  LstState &l = as.lst;
  int vlen = static_cast<int>(l.version.size());
  if (l.page_length == 0) {
    put(as, fmt(l, "\n\n%s %s\n", banner, l.version.c_str()));
  } else {
    ++l.page_no;
    put(as, fmt(l, "\n\n%s %s%*s %d\n", banner, l.version.c_str(), width_less(l.page_width, 40 + vlen), "Page",
                l.page_no));
  }
  int w = width_less(l.page_width, 26);
  if (code) {
    put(as, fmt(l, "%-*.*s %s\n%s\n", w, w, l.title.c_str(), l.stamp.c_str(), l.subtitle.c_str()));
  } else {
    put(as, fmt(l, "%-*.*s %s\n", w, w, "Symbol Table", l.stamp.c_str()));
  }
  l.page_lines = 5;
}

}  // namespace

void lst_init_controls(Assembly &as) {
  ListControls &c = as.lst.ctl;
  c = ListControls{};
  c.page_width = as.opt.page_width;
  c.page_length = as.opt.form_length;
  c.expansions = as.opt.list_expansions;
}

void lst_begin(Assembly &as, bool rlf_open) {
  LstState &l = as.lst;
  ListControls &c = l.ctl;
  if (c.page_width == 0) c.page_width = 132;
  if (c.page_length >= 1 && c.page_length <= 15) c.page_length = 66;
  l.page_width = c.page_width;
  l.page_length = c.page_length;
  l.page_lines = 0;
  l.page_no = 0;
  l.line_no = 0;
  l.rlf = rlf_open;
  l.stamp = os_ctime_now() + "\n";
  l.version = as.drv.ident;
  l.title = as.decl.title ? as.decl.title : "";
  l.subtitle = as.decl.subtitle ? as.decl.subtitle : "";
  l.name_width = as.sym.longest_name;
  l.has_addr = false;
  l.items.clear();
}

void lst_set_address(Assembly &as, const Value &v, bool reloc) {
  LstState &l = as.lst;
  l.has_addr = true;
  l.addr = v;
  l.addr_reloc = reloc;
}

void lst_add_item(Assembly &as, uint32_t base, const Value *e, unsigned nbytes, unsigned width) {
  ListItem it;
  it.base = base;
  if (e) it.value = *e;
  it.nbytes = nbytes;
  it.width = width;
  as.lst.items.push_back(it);
}

void lst_line(Assembly &as, std::string_view text) {
  LstState &l = as.lst;
  ++l.line_no;
  size_t first = text.find_first_not_of(" \t");
  int margin = first != std::string_view::npos && text[first] == ';' && first + 1 < text.size() &&
                       text[first + 1] == ';'
                   ? 0
                   : 32;
  size_t room = static_cast<size_t>(width_less(l.page_width, margin));
  if (room == 0) room = 1;  // always make progress on a narrow page
  bool cont = false;
  std::string_view rest = text;
  for (;;) {
    if (l.page_lines == 0) page_header(as, "Orvane Tessel KV8 Assembler", true);
    if (!cont) put(as, fmt(l, "%6ld ", l.line_no));
    else put(as, "      +");

    if (!cont && l.has_addr) {
      unsigned long long a = static_cast<unsigned long long>(l.addr.v_offs);
      if (l.addr_reloc) {
        put_lst(as, fmt(l, " %4.4llX' ", a));
        put_rlf(as, " ");
        put_reloc(as, l.addr, 0, 4, 6);
        put_rlf(as, "  ");
      } else {
        put(as, fmt(l, " %4.4llX  ", a));
      }
    } else if (margin == 32) {
      put(as, "       ");
    }
    l.has_addr = false;

    int count = 13;
    if (!cont) {
      for (const ListItem &it : l.items) {
        int digits = static_cast<int>(2 * it.nbytes);
        unsigned long long v = (static_cast<uint64_t>(it.value.v_offs) & mask_bits(it.width)) + it.base;
        put(as, fmt(l, "%*.*llX", digits, digits, v));
        bool rel = relocatable(it.value);
        if (rel) {
          put_lst(as, "'");
          put_reloc(as, it.value, it.base, it.width % 8 == 0 ? it.width / 8 : it.width + 0xC0,
                    static_cast<unsigned>(digits));
          put_rlf(as, " ");
        }
        put(as, " ");
        count += digits + 1 + (rel ? 1 : 0);
      }
    }
    if (margin == 32 && count < margin) put(as, fmt(l, "%*s", margin - count, ""));

    if (rest.size() < room) {
      put(as, rest);
      if (rest.empty() || rest.back() != '\n') put(as, "\n");
      end_line(as);
      break;
    }
    put(as, rest.substr(0, room));
    put(as, "\n");
    end_line(as);
    rest.remove_prefix(room);
    cont = true;
  }
  l.items.clear();
}

void lst_symbols(Assembly &as) {
  LstState &l = as.lst;
  // The table starts with its own header: on a new page of a paginated listing, straight after
  // the code without pages.
  if (l.page_length && l.page_lines > 0) put(as, "\f");
  l.page_lines = 0;
  int nw = static_cast<int>(l.name_width);
  size_t line_len = 0;  // characters on the current line
  sym_for_each(as.sym, [&](Symbol *s) {
    uint32_t f = s->s_flags & 0x19B10;
    bool listed = s->s_refcnt != 0 && (f == 0 || f == 0x10 || f == 0x210 || f == 0x800 || f == 0xA00 ||
                                       f == 0x10000 || f == 0x10010 || f == 0x10200 || f == 0x10210);
    if (!listed) return;
    if (line_len > 0 && static_cast<int>(line_len) + nw + 7 > l.page_width) {
      put(as, "\n");
      line_len = 0;
      ++l.page_lines;
      if (l.page_length && l.page_lines >= l.page_length - 4) {
        put(as, "\f");
        l.page_lines = 0;
      }
    }
    if (l.page_lines == 0) page_header(as, "Orvane Technology ZEL18 Macro Assembler", false);
    const Value &v = s->s_value;
    char ext = (s->s_flags & SF_UNDEF) ? '*' : ' ';
    std::string name_part(fmt(l, "%*.*s ", nw, nw, s->s_name));
    std::string_view value_part = fmt(l, "%6.6llX%c ", static_cast<unsigned long long>(v.v_offs), ext);
    line_len += name_part.size() + value_part.size();
    if (relocatable(v) && l.rlf) {
      MsgAt at(as.msg, sym_position(s));  // a value the record can't hold
      put_lst(as, name_part);
      put_lst(as, value_part);
      put_rlf(as, name_part);
      put_reloc(as, v, 0, 4, 4);
      put_rlf(as, "  ");
    } else {
      put(as, name_part);
      put(as, value_part);
    }
  });
  if (line_len > 0) put(as, "\n");
  if (l.page_length && l.page_lines > 0) put(as, "\f");
}

namespace {

// The address column of a statement: its location in address units, relative to the psect
// unless the psect is absolute; an EQU or SET shows the value it assigns.
void record_address(Assembly &as, const Statement &n, const Symbol *p) {
  if ((n.op_type == EQU || n.op_type == SET) && n.op_opnd1.o_value.v_sym) {
    Value v;
    copyexpr(as, v, n.op_opnd1.o_value.v_sym->s_value);
    expr_fold(as, v);
    lst_set_address(as, v, v.v_rtype != RT_ABS);
    return;
  }
  uint64_t delta = p->s_psect.p_delta ? p->s_psect.p_delta : 1;
  Value v = expr_abs(static_cast<int64_t>(p->s_psect.p_curr / delta));
  bool absolute = (p->s_flags & (PSF_ABS | PSF_OVRLD)) == (PSF_ABS | PSF_OVRLD);
  if (!absolute) {
    v.v_rtype = RT_PSECT;
    v.v_sym = const_cast<Symbol *>(p);
  }
  lst_set_address(as, v, !absolute);
}

}  // namespace

void lst_write(Assembly &as, std::ostream *rlf) {
  bool rlf_open = rlf != nullptr;
  if (rlf_open) obj_open_listing(as, *rlf);
  lst_begin(as, rlf_open);
  Symbol *cur = nullptr;
  auto hook = [&](const Statement &cn, bool listed) {
    Statement *n = const_cast<Statement *>(&cn);
    if (n->op_psect != cur) {
      cur = n->op_psect;
      emobj_begin_psect(as, cur, true);
    }
    if (!cur) return;
    // An unlisted temporary label still moves the walk's place among the definitions.
    if (!listed) {
      if (n->op_type == TLABEL && !(n->op_flags & NF_HIDDEN)) tlab_define(as, n->op_tlab, n);
      return;
    }
    // Statements the listing leaves out are not encoded: the counter comes from sizing.
    cur->s_psect.p_curr = n->op_addr;
    record_address(as, *n, cur);
    emobj_encode(as, n, true);
    for (const EmitItem &it : as.emit.items)
      lst_add_item(as, static_cast<uint32_t>(it.base), &it.value, it.nbytes, it.width);
    // The linker restarts its address bookkeeping at every DS and ORG.
    if (rlf_open && (n->op_type == DS || n->op_type == ORG)) {
      obj_new_text(as, true);
      obj_write_ident(as, OBJ_LISTING_IDENT);
    }
  };
  emasm_dump(as, true, [&](std::string_view line) { lst_line(as, line); }, hook);
  list_flush_summary(as, true, [&](std::string_view text) {
    if (!rlf_open) return;
    obj_put_listing_text(as, text);
    obj_put_listing_text(as, "\n");
  });
  lst_symbols(as);
  if (rlf_open) obj_finish_listing(as);
}
