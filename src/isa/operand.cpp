// Instruction operands: how each instruction form is read, the checks made on its operands, and
// the RAM access selection.
#include "isa/operand.h"

#include "device/chip.h"
#include "driver/assembly.h"
#include "isa/ops.h"

namespace {

constexpr uint16_t CALL_FAST = 0x100;    // op_subop bit of a fast call
constexpr uint16_t RETURN_FAST = 0x1;    // op_subop bit of a fast return
constexpr uint16_t OPC_NOP = 0xF000;     // stored as 0 with -no_trans

void check_available(Assembly &as, const Keyword *kw) {
  if (!kw) return;
  if (as.opt.xinst && (ops_class(kw->kind).checks & CK_XINST_ANY)) return;
  if (!(static_cast<uint32_t>(chip_arch(as)) & kw->avail)) msg_report(as.msg, MSG_ILLEGAL_INSTRUCTION);
}

void check_extended(Assembly &as) {
  if (!as.opt.xinst) msg_report(as.msg, MSG_XINST_NEEDED);
}

bool fsr_ok(const Value &v) { return v.v_rtype == RT_ABS && static_cast<uint64_t>(v.v_offs) < 4; }

// The RAM access for file operand v with the access given in the source (0, BANKED, ACCESS):
// the access-bank mark, the given access, then the address (1224, 1522).
uint32_t select_access(Assembly &as, const Value &v, uint32_t given) {
  if (v.v_flags & VF_ACCESS) {
    if (given == BANKED) {
      msg_report(as.msg, MSG_BANKED_COMMON_CONFLICT);
      return BANKED;
    }
    return ACCESS;
  }
  if (given) return given;
  if (v.v_rtype == RT_ABS) {
    uint64_t addr = static_cast<uint64_t>(v.v_offs);
    uint32_t acc = chip_in_access_sfr(as, addr) ? ACCESS : BANKED;
    if (as.opt.no_trans) {
      if (acc == BANKED && chip_in_access_bank(as, addr)) acc = as.opt.xinst ? BANKED : ACCESS;
      msg_report(as.msg, MSG_ACCESS_BIT_ASSUMED, acc == ACCESS ? "access-bank" : "banked memory");
    }
    return acc;
  }
  if (as.opt.no_trans) msg_report(as.msg, MSG_ACCESS_BIT_ASSUMED, "banked memory");
  return BANKED;
}

void set_operand(Operand &o, uint8_t mode, const Value &v) {
  o.o_mode = mode;
  o.o_value = v;
}

// The statement of an instruction, its opcode from the keyword row.
Statement *insn_node(OperandReader &in, uint16_t kind, uint16_t subop) {
  Statement *n = in.node(kind);
  n->op_subop = subop;
  return n;
}

// One of the file-register forms, read.
struct FileOperand {
  Value f;
  bool indexed = false;  // "[" k "]"
  uint32_t dest = 0;     // W, F or 0 when not given
  uint32_t access = 0;   // BANKED, ACCESS or 0 when not given
};

// f | "[" k "]"
void file_or_indexed(OperandReader &in, FileOperand &fo) {
  fo.indexed = in.accept(TK_LBRACK);
  fo.f = in.value();
  if (fo.indexed) in.expect(TK_RBRACK);
}

// access ::= "," ( b | c | a | 0 | 1 )
void access_suffix(OperandReader &in, uint32_t &access) {
  if (!in.accept(TK_COMMA)) return;
  uint16_t k = in.peek();
  if (k == BANKED || k == ACCESS) {
    access = in.shift().kind;
  } else if (k == TK_NUMBER) {
    int64_t n = in.shift().num;
    if (n == 0 || n == 1) access = n ? BANKED : ACCESS;
    else in.report_syntax_error();
  } else {
    in.fail();
  }
}

// dest-access ::= "," ( w | f ) [ "," ( b | c | a ) ] | "," ( b | c | a ) [ "," ( w | f ) ]
//               | "," number [ "," number ]
void dest_access_suffix(OperandReader &in, uint32_t &dest, uint32_t &access) {
  if (!in.accept(TK_COMMA)) return;
  uint16_t k = in.peek();
  if (k == W || k == F) {
    dest = in.shift().kind;
    if (in.accept(TK_COMMA)) {
      uint16_t a = in.peek();
      if (a != BANKED && a != ACCESS) in.fail();
      access = in.shift().kind;
    }
  } else if (k == BANKED || k == ACCESS) {
    access = in.shift().kind;
    if (in.accept(TK_COMMA)) {
      uint16_t d = in.peek();
      if (d != W && d != F) in.fail();
      dest = in.shift().kind;
    }
  } else if (k == TK_NUMBER) {
    int64_t n = in.shift().num;
    if (n == 0 || n == 1) dest = n ? F : W;
    else in.report_syntax_error();
    if (in.accept(TK_COMMA)) {
      int64_t m = in.expect(TK_NUMBER).num;
      if (m == 0 || m == 1) access = m ? BANKED : ACCESS;
      else in.report_syntax_error();
    }
  } else {
    in.fail();
  }
}

// The file operand stored: a bracketed one is an access-bank offset from FSR2 (extended set
// only), a plain one gets its RAM access chosen.
void store_file(Assembly &as, Statement *n, const Keyword *kw, const FileOperand &fo, bool has_dest) {
  check_available(as, kw);
  set_operand(n->op_opnd1, OM_FILE, fo.f);
  if (fo.indexed) {
    check_extended(as);
    n->op_flags |= NF_INDEXED;
    n->op_access = ACCESS;
  } else {
    n->op_access = select_access(as, fo.f, fo.access);
  }
  n->op_opnd1.o_access = n->op_access;
  if (has_dest) n->op_dest = fo.dest ? fo.dest : static_cast<uint32_t>(F);
}

// file-dest ::= f [dest-access] | "[" k "]" [ "," ( w | f | number ) ]
void read_file_dest(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  FileOperand fo;
  file_or_indexed(in, fo);
  if (!fo.indexed) {
    dest_access_suffix(in, fo.dest, fo.access);
  } else if (in.accept(TK_COMMA)) {
    uint16_t d = in.peek();
    if (d == W || d == F) fo.dest = in.shift().kind;
    else if (d == TK_NUMBER) fo.dest = in.shift().num == 0 ? W : F;
    else in.fail();
  }
  store_file(as, insn_node(in, kind, subop), kw, fo, true);
}

// file ::= f [access] | "[" k "]"
void read_file(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  FileOperand fo;
  file_or_indexed(in, fo);
  if (!fo.indexed) access_suffix(in, fo.access);
  store_file(as, insn_node(in, kind, subop), kw, fo, false);
}

// file-bit ::= f "," b [access] | f "," ( c | b ) "," b | "[" k "]" "," b
void read_file_bit(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  FileOperand fo;
  file_or_indexed(in, fo);
  in.expect(TK_COMMA);
  Value b;
  uint16_t m = in.peek();
  bool middle = false;
  if (!fo.indexed && (m == BANKED || m == ACCESS)) {
    Token mt = in.shift();
    if (in.peek() == TK_COMMA) {  // the access word stands between f and b
      in.shift();
      fo.access = m;
      middle = true;
      b = in.value();
    } else {  // "b:" or "c:" begins the bit number
      b = in.value_after_prefix(m, mt.kw);
    }
  } else {
    b = in.value();
  }
  if (!fo.indexed && !middle) access_suffix(in, fo.access);
  Statement *n = insn_node(in, kind, subop);
  store_file(as, n, kw, fo, false);
  set_operand(list_opnd2(as, n), OM_BIT, b);
}

// move ::= s "," d [ "," ( c | a ) ] | s "," c "," d   (the long form without the middle c).
// The access words have no effect.
void read_move(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  Value s = in.value();
  in.expect(TK_COMMA);
  Value d;
  uint16_t m = in.peek();
  bool middle = false;
  if (ops_class(kind).form == OF_MOVE && m == ACCESS) {
    Token mt = in.shift();
    if (in.peek() == TK_COMMA) {
      in.shift();
      middle = true;
      d = in.value();
    } else {
      d = in.value_after_prefix(m, mt.kw);
    }
  } else {
    d = in.value();
  }
  if (!middle && in.accept(TK_COMMA)) in.expect(ACCESS);
  Statement *n = insn_node(in, kind, subop);
  check_available(as, kw);
  set_operand(n->op_opnd1, OM_FILE, s);
  set_operand(list_opnd2(as, n), OM_FILE, d);
}

// target ::= n
void read_target(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  Value v = in.value();
  Statement *n = insn_node(in, kind, subop);
  check_available(as, kw);
  set_operand(n->op_opnd1, OM_PROG, v);
}

// fast ::= f | number   (f or 1: fast; 0: not; other numbers 876)
bool fast_flag(OperandReader &in, int64_t number) {
  if (number == 1) return true;
  if (number != 0) in.report_syntax_error();
  return false;
}

// call ::= n [ "," fast ]
void read_call(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  Value v = in.value();
  bool fast = false;
  if (in.accept(TK_COMMA)) fast = in.accept(F) || fast_flag(in, in.expect(TK_NUMBER).num);
  Statement *n = insn_node(in, kind, static_cast<uint16_t>(subop | (fast ? CALL_FAST : 0)));
  check_available(as, kw);
  set_operand(n->op_opnd1, OM_PROG, v);
}

// return ::= [ fast ]
void read_return(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  bool fast = false;
  if (in.accept(F)) fast = true;
  else if (in.peek() == TK_NUMBER) fast = fast_flag(in, in.shift().num);
  insn_node(in, kind, static_cast<uint16_t>(subop | (fast ? RETURN_FAST : 0)));
  check_available(as, kw);
}

// no operand
void read_nothing(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  insn_node(in, kind, subop == OPC_NOP && as.opt.no_trans ? 0 : subop);
  check_available(as, kw);
}

// literal ::= [ "#" ] k   ("#k": an immediate, read in radix 10 by the lexer)
void read_literal(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  in.accept(TK_HASH);
  Value v = in.value();
  Statement *n = insn_node(in, kind, subop);
  check_available(as, kw);
  if (ops_class(kind).checks & CK_EXTENDED) check_extended(as);
  set_operand(n->op_opnd1, OM_VALUE, v);
}

// fsr-literal ::= fsr "," k   (an FSR number kept in op_subop for lfsr)
void read_fsr_literal(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  Value fsr = in.value();
  in.expect(TK_COMMA);
  Value v = in.value();
  Statement *n = insn_node(in, kind, subop);
  check_available(as, kw);
  bool lfsr = ops_class(kind).form == OF_LFSR;
  if (!fsr_ok(fsr)) msg_report(as.msg, lfsr ? MSG_LFSR_ARG_RANGE : MSG_ADDFSR_ARG_RANGE);
  else if (lfsr) n->op_subop = static_cast<uint16_t>(subop + fsr.v_offs * 16);
  set_operand(n->op_opnd1, OM_VALUE, fsr);
  set_operand(list_opnd2(as, n), OM_VALUE, v);
}

// stack-move ::= "[" s "]" "," d | "[" s "]" "," "[" d "]"
void read_stack_move(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  in.expect(TK_LBRACK);
  Value s = in.value();
  in.expect(TK_RBRACK);
  in.expect(TK_COMMA);
  bool bracketed = ops_class(kind).form == OF_STACK_STACK;
  if (bracketed) in.expect(TK_LBRACK);
  Value d = in.value();
  if (bracketed) in.expect(TK_RBRACK);
  Statement *n = insn_node(in, kind, subop);
  check_available(as, kw);
  if (ops_class(kind).checks & CK_EXTENDED) check_extended(as);
  set_operand(n->op_opnd1, OM_FILE, s);
  set_operand(list_opnd2(as, n), OM_FILE, d);
}

// table ::= [ "*" | "*+" | "*-" | "+*" ]   (after tblrd and tblwt; the mode joins op_subop)
void read_table(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw, uint16_t subop) {
  uint16_t mode = 0;
  if ((subop & 3) == 0) {
    if (in.accept(TK_STAR)) {
      if (in.accept(TK_PLUS)) mode = 1;
      else if (in.accept(TK_MINUS)) mode = 2;
    } else if (in.accept(TK_PLUS)) {
      in.expect(TK_STAR);
      mode = 3;
    }
  }
  insn_node(in, kind, static_cast<uint16_t>(subop + mode));
  check_available(as, kw);
}

// banksel ::= f   (no availability check)
void read_banksel(Assembly &, OperandReader &in, uint16_t kind, const Keyword *, uint16_t) {
  Value v = in.value();
  set_operand(in.node(kind)->op_opnd1, OM_FILE, v);
}

}  // namespace

void operand_read(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw) {
  uint16_t subop = kw ? kw->value : 0;
  switch (ops_class(kind).form) {
  case OF_NONE: return read_nothing(as, in, kind, kw, subop);
  case OF_FILE_DEST: return read_file_dest(as, in, kind, kw, subop);
  case OF_FILE: return read_file(as, in, kind, kw, subop);
  case OF_FILE_BIT: return read_file_bit(as, in, kind, kw, subop);
  case OF_MOVE:
  case OF_MOVE_LONG: return read_move(as, in, kind, kw, subop);
  case OF_TARGET: return read_target(as, in, kind, kw, subop);
  case OF_CALL: return read_call(as, in, kind, kw, subop);
  case OF_RETURN: return read_return(as, in, kind, kw, subop);
  case OF_LITERAL: return read_literal(as, in, kind, kw, subop);
  case OF_FSR_LITERAL:
  case OF_LFSR: return read_fsr_literal(as, in, kind, kw, subop);
  case OF_STACK_FILE:
  case OF_STACK_STACK: return read_stack_move(as, in, kind, kw, subop);
  case OF_TABLE: return read_table(as, in, kind, kw, subop);
  case OF_BANKSEL: return read_banksel(as, in, kind, kw, subop);
  default: in.fail();
  }
}
