// Statement list: one node per statement, one doubly linked list with sentinels per psect, the
// node pool, comments, label reference lists, line records and the statement-level IF pass.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "isa/ops.h"
#include "lang/expr.h"
#include "support/pool.h"

struct Assembly;
struct Symbol;
struct Statement;
struct LineRecord;

// op_flags bits.
constexpr uint32_t NF_NOLIST = 0x1;      // listing was off when the node was made
constexpr uint32_t NF_VOLATILE = 0x2;    // ";volatile" or ";volsfr" on the line
constexpr uint32_t NF_BARRIER = 0x8;     // reachability mark of the optimizer
constexpr uint32_t NF_HIDDEN = 0x10;     // in a false branch of a statement-level IF
constexpr uint32_t NF_SRCPOS = 0x20;     // ";#" on the line
constexpr uint32_t NF_NOOPT = 0x40;      // ASMOPT off, or ";volsfr"
constexpr uint32_t NF_MACRO = 0x80;      // made by a macro expansion
constexpr uint32_t NF_INLINED = 0x4000;  // copied into a caller by function inlining
constexpr uint32_t NF_INDEXED = 0x8000;  // first operand in square brackets

// Operand modes.
enum : uint32_t { OM_NONE = 0, OM_VALUE = 1, OM_FILE = 2, OM_PROG = 3, OM_BIT = 4 };

// The mode and access bytes sit in the value's tail padding.
struct Operand {
  [[no_unique_address]] Value o_value;
  uint8_t o_mode = OM_NONE;  // OM_*
  uint8_t o_access = 0;      // copy of op_access for file-register operands
};
static_assert(sizeof(Operand) == sizeof(Value));

// One item of a DATA statement's list.
struct DataItem {
  DataItem *next = nullptr;
  Value value;
};

using CommentVec = std::vector<std::string>;
using RefVec = std::vector<Statement *>;

// What few statements have: their comments and the nodes referring to them. Made for a
// statement when it gets the first of them.
struct StatementNotes {
  CommentVec *op_comment = nullptr;     // preceding full-line comments; never empty
  const char *op_eolcomment = nullptr;  // comment ending the statement's own line
  RefVec *op_refs = nullptr;            // nodes referring to this node
};

// Where a statement was read and the parser state in force for it. Few distinct ones occur in a
// run (they change with the file, a LINE directive's file, CALLSTACK and DEBUG_SOURCE), so a
// statement keeps the number of its place in the run's table (ListState::places), and place 0
// is the all-zero one of a fresh node.
struct StmtPlace {
  const char *asmfile = nullptr;  // assembler source file
  const char *srcfile = nullptr;  // high-level source file
  uint32_t callstack = 0;         // CALLSTACK depth in force
  uint32_t dbgsrc = 0;            // DEBUG_SOURCE state in force
  bool operator==(const StmtPlace &) const = default;
};

// One statement. The record is kept small, since a large source makes one per line: the
// fields of one statement kind share storage, the rare parts are in StatementNotes or records of
// their own, the position and parser state that change seldom are in the place table, and
// numbers are as wide as their values get.
struct Statement {
  Statement *op_next = nullptr;
  Statement *op_prev = nullptr;          // also the free-list link of a freed node
  Symbol *op_psect = nullptr;            // owning psect
  [[no_unique_address]] Operand op_opnd1;
  uint32_t op_place = 0;                 // files, CALLSTACK and DEBUG_SOURCE: ListState::places;
                                         // in the operand's tail padding
  union {
    uint64_t op_num = 0;                 // ORG address, ALIGN boundary
    uint64_t op_tlab;                    // TLABEL: the temporary label's number
    Symbol *op_label;                    // NAME: the label's symbol
    const char *op_text;                 // MESSG text, INCLUDE name, TITLE text
    DataItem *op_list;                   // DATA: the items
    // The other kinds (instructions, EQU, SET): the second operand, null when there is none.
    // Read through stmt_opnd2, written through list_opnd2.
    Operand *op_opnd2;
  };
  StatementNotes *op_notes = nullptr;    // comments and references; null when it has none
  uint32_t op_asmline = 0;               // line in the assembler source file
  uint32_t op_srcline = 0;               // high-level source line
  uint32_t op_addr = 0;                  // byte offset within the psect (sizing)
  uint32_t op_serial = 0;                // from 1; 0 marks a freed node
  uint16_t op_flags = 0;                 // NF_*
  uint16_t op_subop = 0;                 // opcode bits plus modifier bits
  uint8_t op_type = 0;                   // statement kind (OpKind); 0 only in list sentinels
  uint8_t op_dest = 0;                   // W or F; 0 for other statements
  uint8_t op_access = 0;                 // BANKED or ACCESS; 0 for other statements
};

// Whether a statement kind keeps one of the union's other members in place of op_opnd2.
constexpr bool stmt_kind_has_union_field(unsigned kind) {
  switch (kind) {
    case ORG: case ALIGN: case TLABEL: case NAME: case MESSG: case INCLUDE: case TITLE: case DATA: return true;
    default: return false;
  }
}

// The operand of a statement that has none: all empty.
inline constexpr Operand NO_OPERAND{};

// A statement's second operand; NO_OPERAND when it has none.
inline const Operand &stmt_opnd2(const Statement *n) {
  return n->op_opnd2 && !stmt_kind_has_union_field(n->op_type) ? *n->op_opnd2 : NO_OPERAND;
}

inline CommentVec *stmt_comment(const Statement *n) { return n->op_notes ? n->op_notes->op_comment : nullptr; }
inline const char *stmt_eolcomment(const Statement *n) { return n->op_notes ? n->op_notes->op_eolcomment : nullptr; }
inline RefVec *stmt_refs(const Statement *n) { return n->op_notes ? n->op_notes->op_refs : nullptr; }

// The statements of one psect between two sentinels (op_type 0): the first statement is
// head.op_next, the last tail.op_prev. A walk stops at the first node with op_type 0:
//   for (Statement *n = l->head.op_next; n->op_type; n = n->op_next) ...
// so a node's op_type must be set before it is linked.
static_assert(std::is_trivially_destructible_v<Statement> && std::is_aggregate_v<Statement>);
static_assert(sizeof(Statement) <= 88, "a statement per source line: keep the record small");
static_assert(OP_LAST_STATEMENT <= UINT8_MAX && ACCESS <= UINT8_MAX && W <= UINT8_MAX && NF_INDEXED <= UINT16_MAX);

struct StatementList {
  Symbol *psect = nullptr;  // owning psect
  Statement head;
  Statement tail;
};

// One listing line: where its text is in the source, and the statement it starts at.
struct LineRecord {
  const char *file = nullptr;  // interned source file name
  uint64_t line = 0;
  Statement *stmt = nullptr;    // moves on when its statement is deleted; null at the end
  uint64_t offset = 0;         // byte offset of the line in the file
};

// Markers of the current source line, as new statements read them from the reader.
constexpr uint32_t LM_VOLATILE = 0x1;  // ";volatile"
constexpr uint32_t LM_VOLSFR = 0x2;    // ";volsfr"
constexpr uint32_t LM_SRCPOS = 0x4;    // ";#"

// The parser's state that every new statement copies (LINE/FILE/"#" positions, ASMOPT,
// CALLSTACK, DEBUG_SOURCE), and the line's file offset for line records.
// The reader's file, line, listing flag and markers are read from the lexer's state.
struct StmtSource {
  const char *hl_file = nullptr;  // high-level position of LINE, FILE and "#" lines
  uint64_t hl_line = 0;
  bool hl_set = false;            // a LINE directive position is in force
  uint64_t line_offset = 0;       // byte offset of the current line in its file
  uint8_t asmopt = 0;             // ASMOPT flag byte (NF_NOOPT when off)
  uint32_t callstack = 0;         // call-stack depth
  uint32_t dbgsrc = 0;            // DEBUG_SOURCE state
};

// The summary-comment file: created on the first ";!" comment, removed with the run.
struct SummaryFile {
  std::FILE *f = nullptr;
  std::string name;
  bool failed = false;  // a write failed and was reported
  int slot = -1;        // registered for removal on an interrupt
  SummaryFile() = default;
  SummaryFile(const SummaryFile &) = delete;
  SummaryFile &operator=(const SummaryFile &) = delete;
  ~SummaryFile();
};

struct StmtPlaceHash {
  size_t operator()(const StmtPlace &p) const {
    return std::hash<const void *>()(p.asmfile) * 31 + std::hash<const void *>()(p.srcfile) * 7 + p.callstack * 3 + p.dbgsrc;
  }
};

struct ListState {
  Pool<StatementList, 16> list_pool;
  std::vector<StatementList *> lists;  // every psect's list, in creation order

  // Node storage; freed nodes are chained through op_prev and taken first. Nodes are never
  // destroyed: Statement holds nothing that needs it.
  Slab<Statement> node_slab;
  std::vector<StmtPlace> places{StmtPlace{}};  // op_place numbers them; 0 is the empty place
  std::unordered_map<StmtPlace, uint32_t, StmtPlaceHash> place_ids;  // places but the empty one
  uint32_t last_place = 0;             // the place given last
  Statement *free_nodes = nullptr;
  uint32_t node_serial = 0;            // last op_serial handed out
  bool conditionals = false;           // an IF, ELSIF, ELSE or ENDIF statement was added

  Pool<CommentVec> comment_pool;       // op_comment vectors
  Pool<RefVec> ref_pool;               // op_refs vectors
  Pool<StatementNotes> notes_pool;     // op_notes records
  Arena<DataItem> data_pool;           // op_list items
  Arena<Operand> operand_pool;         // op_opnd2 records; never shared by two statements

  CommentVec pending;                  // full-line comments not yet taken by a node
  SummaryFile summary;
  std::deque<LineRecord> lines;        // line records in creation order
  std::vector<uint32_t> line_at;       // by op_serial: the line record starting at the node, its
                                       // index + 1; only while line records are made

  StmtSource src;                      // state copied into new statements
  Statement *cur_stmt = nullptr;       // the parser's current statement (end-of-line comments)

  uint32_t labels_removed = 0;         // labels removed by list_delete_label
  bool labels_changed = false;         // set whenever a label is removed
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

// --- nodes and links ---

// A statement's place and its parts.
inline const StmtPlace &stmt_place(const ListState &ls, const Statement *n) { return ls.places[n->op_place]; }
inline const char *stmt_asmfile(const ListState &ls, const Statement *n) { return stmt_place(ls, n).asmfile; }
inline const char *stmt_srcfile(const ListState &ls, const Statement *n) { return stmt_place(ls, n).srcfile; }
inline uint32_t stmt_callstack(const ListState &ls, const Statement *n) { return stmt_place(ls, n).callstack; }
inline uint32_t stmt_dbgsrc(const ListState &ls, const Statement *n) { return stmt_place(ls, n).dbgsrc; }
// Gives a statement the place p, entered in the table when it is new.
void list_set_place(ListState &ls, Statement *n, const StmtPlace &p);

// A zeroed node with the reader's position, the pending comments, the line markers, the
// listing flag and its serial number.
Statement *list_new_statement(Assembly &as);
// The node's notes, made when it has none yet.
StatementNotes &list_notes(Assembly &as, Statement *n);
// The second operand of an instruction, EQU or SET node for writing, made when it has none yet.
Operand &list_opnd2(Assembly &as, Statement *n);
// Gives a copied node a second-operand record of its own (a deep copy of the value) in place of
// the one it shares with the original.
void list_unshare_opnd2(Assembly &as, Statement *copy);
// Links node after pos and copies op_psect; makes a line record or inherits pos's high-level
// position.
void list_append(Assembly &as, Statement *pos, Statement *node);
// The parser's action: appends node at the end of the current psect, copies the ASMOPT flag
// byte, call-stack depth, macro expansion and DEBUG_SOURCE state, and makes it the current
// statement. Returns false (node unlinked) when there is no current psect.
bool list_add_statement(Assembly &as, Statement *node);
// Attaches an end-of-line comment to the current statement; false when there is none yet.
bool list_attach_eol_comment(Assembly &as, const char *text);
// Links an unlinked node after pos and copies op_psect; nothing else. A pos without successor
// (a tail) puts the node before it.
void list_insert_after(Statement *pos, Statement *node);
// Takes a node out of its list without freeing it; its own links are cleared.
void list_unlink(Statement *node);
// Frees a live node: drops its reference at its jump target, hands its comments (and its line
// record) to the next node, unlinks it and recycles it. 1 if freed, 0 if it was already free.
// A freed node's storage stays valid; only op_serial 0 tells it apart until it is reused.
int list_delete(Assembly &as, Statement *node);
// The NAME node directly before node, made with a generated label when there is none.
Statement *list_label_before(Assembly &as, Statement *node);
// Removes a label node and marks its symbol removed, unless the name begins with "__end_of_"
// or "__ccov". 1 if removed.
int list_delete_label(Assembly &as, Statement *label);
// A DATA item from the run's pool.
DataItem *list_new_data_item(Assembly &as);

// The first node of a psect's list (its tail when the list is empty); null without a list.
Statement *list_first(const Symbol *psect);

// --- label references ---

// The node a statement transfers control to, by the instruction table's facts: for a jump,
// branch or call the defining NAME node of a symbol-relative operand; for a skip the statement
// reached by skipping. Null otherwise.
Statement *list_jump_target(const Statement *node);
void list_add_reference(Assembly &as, Statement *referrer, Statement *target);
void list_drop_reference(Assembly &as, Statement *referrer, Statement *target);
// Adds every node of the psect to its jump target's op_refs (unless already there), and marks
// the symbols of global labels SF_KEEP. clear_references first for a fresh computation.
void build_references(Assembly &as, Symbol *psect);
void clear_references(Assembly &as, Symbol *psect);
// Only the SF_KEEP mark of build_references.
void keep_global_labels(Symbol *psect);
// Deletes the labels of a psect that may be optimized that no statement of the psect transfers
// to (jumps from other psects do not count), but those `keep` asks for and those another
// statement defines; returns how many.
unsigned remove_unused_labels(Assembly &as, Symbol *psect,
                              const std::function<bool(const Symbol *)> &keep = {});

// --- comments ---

// Files one full-line comment: ";!" summary comments go to the summary file, others wait
// (after a first "\n" entry) for the next node. Only the assembly text (-A) and the listing
// show them: without either they are not kept.
void list_add_comment(Assembly &as, std::string_view text);
// Appends one line to the summary comments as it stands (generated explanations).
void list_add_summary(Assembly &as, std::string_view text);
void list_discard_pending_comments(Assembly &as);
void list_move_comments_to_psect(Assembly &as, Symbol *psect);
void list_copy_comments(Assembly &as, Statement *dst, const Statement *src);
void list_free_comments(Assembly &as, Statement *node);
void list_for_each_comment(Assembly &as, const Statement *node,
                           const std::function<void(const std::string &)> &fp);
bool list_has_comments(Assembly &as, const Statement *node);
// Writes the summary comments to standard output; with strip, a leading ";" and the character
// after it go, and each line is also handed to `listing` when given.
void list_flush_summary(Assembly &as, bool strip,
                        const std::function<void(std::string_view)> &listing = {});

// --- line records ---

// Line records are made while listing is set and optimize is not.
bool list_making_line_records(const Assembly &as);
const LineRecord *list_last_line_record(const Assembly &as);
// The line record that starts at a node; null when none does.
const LineRecord *list_line_record(const Assembly &as, const Statement *n);

// --- statement-level IF ---

// Hides the statements of false IF/ELSIF/ELSE branches of one psect (1003, 1489, 1490). An
// ENDIF closes its IF together with the levels its ELSIFs opened. Runs once per psect: a second
// run would repeat the messages.
void list_if_pass(Assembly &as, Symbol *psect);
// The same for every psect, in creation order.
void list_if_pass_all(Assembly &as);
