// Statement list: one node per statement, one doubly linked list with sentinels per psect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lang/expr.h"
#include "support/pool.h"

struct Symbol;
struct LineRecord;

// op_flags bits.
constexpr uint32_t NF_NOLIST = 0x1;      // listing was off when the node was made
constexpr uint32_t NF_VOLATILE = 0x2;    // ";volatile" or ";volsfr" on the line
constexpr uint32_t NF_BARRIER = 0x8;     // reachability mark of the optimizer
constexpr uint32_t NF_HIDDEN = 0x10;     // in a false branch of a statement-level IF
constexpr uint32_t NF_SRCPOS = 0x20;     // ";#" on the line
constexpr uint32_t NF_NOOPT = 0x40;      // ASMOPT off, or ";volsfr"
constexpr uint32_t NF_INLINED = 0x4000;  // copied into a caller by function inlining
constexpr uint32_t NF_INDEXED = 0x8000;  // first operand in square brackets

// Operand modes.
enum : uint32_t { OM_NONE = 0, OM_VALUE = 1, OM_FILE = 2, OM_PROG = 3, OM_BIT = 4 };

struct Operand {
  uint32_t o_mode = OM_NONE;  // OM_*
  uint32_t o_access = 0;      // copy of op_access for file-register operands
  Value o_value;
};

// One item of a DATA statement's list.
struct DataItem {
  DataItem *next = nullptr;
  Value value;
};

struct Statement {
  uint32_t op_type = 0;                  // statement kind (OpKind); 0 only in list sentinels
  uint32_t op_dest = 0;                  // W or F; 0 for other statements
  const char *op_asmfile = nullptr;      // assembler source file
  uint32_t op_access = 0;                // BANKED or ACCESS; 0 for other statements
  uint64_t op_asmline = 0;               // line in op_asmfile
  const char *op_srcfile = nullptr;      // high-level source file
  uint64_t op_srcline = 0;               // high-level source line
  uint64_t op_num = 0;                   // ORG address, ALIGN boundary
  Operand op_opnd1;
  Operand op_opnd2;
  Symbol *op_label = nullptr;            // NAME: the label's symbol
  const char *op_text = nullptr;         // MESSG text, INCLUDE name, TITLE text
  uint64_t op_tlab = 0;                  // TLABEL: the temporary label's number
  DataItem *op_list = nullptr;           // DATA: the items
  std::vector<std::string> *op_comment = nullptr;  // preceding full-line comments; never empty
  const char *op_eolcomment = nullptr;   // comment ending the statement's own line
  Statement *op_next = nullptr;
  Statement *op_prev = nullptr;
  Symbol *op_psect = nullptr;            // owning psect
  uint32_t op_addr = 0;                  // byte offset within the psect (sizing)
  uint16_t op_subop = 0;                 // opcode bits plus modifier bits
  uint32_t op_flags = 0;                 // NF_*
  LineRecord *op_lineinfo = nullptr;     // listing line record starting here
  std::vector<Statement *> *op_refs = nullptr;  // nodes referring to this node
  uint32_t op_callstack = 0;             // CALLSTACK depth in force
  uint32_t op_serial = 0;                // from 1; 0 marks a freed node
  const void *op_macro = nullptr;        // macro expansion that produced the statement
  uint32_t op_dbgsrc = 0;                // DEBUG_SOURCE state in force
};

// The statements of one psect between two sentinels (op_type 0): the first statement is
// head.op_next, the last tail.op_prev.
struct StatementList {
  Symbol *psect = nullptr;  // owning psect
  Statement head;
  Statement tail;
};

struct ListState {
  Pool<StatementList, 16> list_pool;
  std::vector<StatementList *> lists;  // every psect's list, in creation order
};

// Makes the list of a psect, with head and tail linked, and records it in creation order.
inline StatementList *list_new(ListState &ls, Symbol *psect) {
  StatementList *l = ls.list_pool.make();
  l->psect = psect;
  l->head.op_next = &l->tail;
  l->tail.op_prev = &l->head;
  l->head.op_psect = psect;
  ls.lists.push_back(l);
  return l;
}
