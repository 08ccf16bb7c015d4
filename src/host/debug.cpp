// Debug trace configuration.
#include "host/debug.h"

#include <fstream>

#include "driver/assembly.h"
#include "isa/ops.h"
#include "lang/psect.h"

namespace {

// The statement kind's name in capitals ("?" for no statement kind).
void put_kind(std::ostream &o, uint32_t kind) {
  for (const char *c = ops_class(kind).name; *c; ++c)
    o << static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - ('a' - 'A') : *c);
}

const char *word(uint32_t v) {
  switch (v) {
  case W: return "W";
  case F: return "F";
  case BANKED: return "BANKED";
  case ACCESS: return "ACCESS";
  default: return "-";
  }
}

// A value tree in prefix form: numbers in decimal, symbols and psects by name.
void put_value(std::ostream &o, const Value &v, int depth = 0) {
  if (depth > 64) {
    o << "...";
    return;
  }
  if (v.v_flags & VF_ACCESS) o << "c:";
  switch (v.v_rtype) {
  case RT_ABS: o << v.v_offs; return;
  case RT_SYM: o << (v.v_sym ? v.v_sym->s_name : "?"); break;
  case RT_PSECT: o << "psect(" << (v.v_sym ? v.v_sym->s_name : "?") << ")"; break;
  case RT_DOT: o << "$"; break;
  case RT_TLABF: o << v.v_offs << "f"; return;
  case RT_TLABB: o << v.v_offs << "b"; return;
  case RT_STRING: o << "\"" << (v.v_str ? v.v_str : "") << "\""; return;
  case RT_DEFINED: o << "defined(" << (v.v_str ? v.v_str : "") << ")"; return;
  case RT_FLOAT: o << "float(" << v.v_float << ")"; return;
  default:
    o << "op" << static_cast<unsigned>(v.v_rtype) << "(";
    if (v.v_left()) put_value(o, *v.v_left(), depth + 1);
    if (expr_is_binary(v.v_rtype) && v.v_right()) {
      o << ",";
      put_value(o, *v.v_right(), depth + 1);
    }
    o << ")";
    return;
  }
  if (v.v_offs) o << (v.v_offs > 0 ? "+" : "") << v.v_offs;
}

void put_operand(std::ostream &o, const char *name, const Operand &op) {
  if (op.o_mode == OM_NONE) return;
  o << " " << name << "=" << unsigned{op.o_mode} << ":";
  put_value(o, op.o_value);
}

}  // namespace

void debug_dump_statements(Assembly &as, std::ostream &out) {
  for (StatementList *l : as.list.lists) {
    out << "psect \"" << (l->psect && l->psect->s_name ? l->psect->s_name : "") << "\"\n";
    for (Statement *n = l->head.op_next; n->op_type; n = n->op_next) {
      out << "  ";
      put_kind(out, n->op_type);
      out << std::hex
          << " sub=" << n->op_subop << std::dec << " dest=" << word(n->op_dest) << " acc=" << word(n->op_access)
          << std::hex << " flags=" << n->op_flags << std::dec;
      put_operand(out, "o1", n->op_opnd1);
      put_operand(out, "o2", stmt_opnd2(n));
      if (n->op_type == NAME && n->op_label) out << " label=" << n->op_label->s_name;
      if (n->op_type == TLABEL) out << " tlab=" << n->op_tlab;
      if (n->op_type == ORG || n->op_type == ALIGN) out << " num=" << n->op_num;
      bool text = n->op_type == MESSG || n->op_type == INCLUDE || n->op_type == TITLE;
      if (text && n->op_text) out << " text=\"" << n->op_text << "\"";
      if (n->op_type == DATA && n->op_list) {
        out << " data=";
        for (DataItem *d = n->op_list; d; d = d->next) {
          put_value(out, d->value);
          if (d->next) out << ",";
        }
      }
      if (const char *eol = stmt_eolcomment(n)) out << " eol=\"" << eol << "\"";
      if (n->op_flags & NF_HIDDEN) out << " hidden";
      out << "\n";
    }
  }
  out << "order:";
  for (Symbol *p : psect_order(as)) out << " \"" << (p->s_name ? p->s_name : "") << "\"";
  out << "\n";
}

void debug_configure(Assembly &as, std::string_view spec) {
  if (spec.substr(0, 8) == "kvdebug=") spec.remove_prefix(8);
  while (!spec.empty()) {
    size_t comma = spec.find(',');
    std::string_view item = spec.substr(0, comma);
    spec = comma == std::string_view::npos ? std::string_view() : spec.substr(comma + 1);
    if (item.substr(0, 6) == "trace=") {
      std::string name(item.substr(6));
      auto f = std::make_unique<OutFile>();
      if (!f->create(name)) {
        msg_report(as.msg, MSG_CANT_CREATE_FILE, "debug trace", name);
        continue;
      }
      as.drv.trace = std::move(f);
      as.msg.trace = as.drv.trace.get();
    } else if (item == "stmts") {
      as.drv.dump_stmts = true;
    } else if (item == "assert=warn") {
      as.msg.check_msg = MSG_ASSERT_WARNING;
    } else if (item == "assert=error") {
      as.msg.check_msg = MSG_ASSERT_ERROR;
    } else if (item == "assert=fatal") {
      as.msg.check_msg = MSG_ASSERT_FATAL;
    }
  }
  if (as.drv.trace) {
    std::ostream &t = *as.drv.trace;
    if (!as.drv.cmdfile.empty()) t << "command file: " << as.drv.cmdfile << "\n";
    t << "arguments:";
    for (size_t i = 1; i < as.drv.args.size(); ++i) t << " " << as.drv.args[i];
    t << "\n";
  }
}
