// The optimizer: psect selection, the driver sequence, the pass loop of one psect with its
// guards, reachability marking and the errata NOP pass. The rules live in optim/jump.cpp.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

struct Assembly;
struct InsnFacts;
struct Statement;
struct Symbol;
struct Value;

// A counter with a limit: each step counts and tells whether the count is still within it.
struct LoopGuard {
  unsigned long long count = 0;
  unsigned long long limit = 0;
  bool step() { return ++count <= limit; }
};

struct OptimState {
  std::vector<Symbol *> optimizable;  // in definition order
  std::vector<Symbol *> abstraction;  // selected psects without "minocg"
  std::map<uint32_t, std::vector<Symbol *>> groups;  // "minocg" psects by group number

  // By s_serial: the label is used other than as the plain target of jumps in its own psect
  // (as a value, with an offset, from another psect, or where no statement shows the use), so
  // it stays even when no jump refers to it. Labels made later are never such.
  std::vector<uint8_t> pinned;
  // By s_pindex: some jump, data item or symbol lands at an offset into the psect ("$+n",
  // "label+n", a constant address in an absolute psect), so its code must keep its shape: the
  // jump and peephole rules leave it alone.
  std::vector<uint8_t> offset_target;
  // By s_pindex: statements changed since the psect was last sized.
  std::vector<uint8_t> dirty;
  // By s_serial: 0 not yet asked, 1 no SFR, else 2 plus the address of the device's SFR that
  // an undefined symbol of that name stands for.
  std::vector<uint32_t> sym_sfr;
  bool labels_cleaned = false;  // the driver's first label clean-up has run
  // Runs of optimize_psect that changed their psect (also by moving SET statements or by the
  // head clean-up alone).
  uint64_t busy_runs = 0;
  unsigned pa_psects = 0;       // "pa_nodes" psects made
  uint32_t pa_sets = 0;         // repeat sets numbered so far
};

// Whether the optimizer may rewrite the psect: an executable, non-note psect whose name begins
// with "intcode" or contains "text", and does not begin with "swtext".
bool optim_selects(const Symbol *psect);
// Builds the three lists over every psect, in definition order.
void optim_select_psects(Assembly &as);

// The driver sequence under -O (nothing without it): references, sizing, the passes over the
// optimizable psects until nothing changes, and the final pass.
void optim_run(Assembly &as);
// The pass loop over one psect; trace prints each pass. True when anything changed.
bool optimize_psect(Assembly &as, Symbol *psect, bool trace);
// The errata NOP pass over the optimizable psects, and the "__cntErrataNOP_" symbol; runs when
// the errata mask has bit 0 or 14, with or without -O.
void optim_errata_pass(Assembly &as);

// ---- shared by the driver and the rules (optim/jump.cpp) ----

// Not to be deleted, changed or moved: asmopt off, ";volsfr" or ";#".
bool opt_untouchable(const Statement *n);
// Whether the statement is a skip instruction, as the instruction table says.
bool opt_is_skip(const Statement *n);
// Whether a psect's "optim=" list permits a phase (PO_JUMP, PO_PEEP); no list permits all.
bool opt_permits(const Symbol *psect, uint32_t po_bit);
// Sets the reachable mark on every statement reached from start within its psect.
void opt_mark_reachable(Statement *start);
// Whether the label may be removed when no jump refers to it (see OptimState::pinned).
bool opt_label_pinned(const Assembly &as, const Symbol *s);
// Records that the psect's statements changed (it must be sized again before addresses count).
void opt_touch(Assembly &as, const Symbol *psect);
// A new statement of the given kind at the source position of `near`, not yet linked.
Statement *opt_new_statement(Assembly &as, uint8_t kind, const Statement *near);
// Sizes the psect when it changed since it was last sized.
void opt_size(Assembly &as, Symbol *psect);

// Whether the psect's code must keep its shape (see OptimState::offset_target).
bool opt_keeps_shape(const Assembly &as, const Symbol *psect);
// The jump phase's head clean-up and one walk; each is true when it changed something.
bool jump_head_cleanup(Assembly &as, Symbol *psect);
bool jump_walk(Assembly &as, Symbol *psect);
// One peephole walk (optim/peep.cpp); true when it changed something.
bool peep_walk(Assembly &as, Symbol *psect);

// ---- statement questions of the rules (optim/jump.cpp) ----

// Whether a statement gives no code and does not change the flow (labels, hidden statements,
// directives without code).
bool opt_transparent(const Statement *n);
// The first statement after n that gives code; null at the end.
Statement *opt_next_code(const Statement *n);
// The label a transfer's operand names (a plain symbol without offset), or null.
Statement *opt_jump_label(const Statement *n);
// A computed jump: a write of PCL, callw, or an instruction whose effects are not known.
bool opt_writes_pcl(const Assembly &as, const Statement *n);
// The same for an instruction whose facts (ops_statement_facts) the caller has at hand.
bool opt_writes_pcl_facts(const Assembly &as, const Statement *n, const InsnFacts &f);
// Whether a transfer belongs to a jump table that a computed jump heads.
bool opt_in_jump_table(const Assembly &as, const Statement *n);
// Whether label t is one of the run of labels that begins right after n.
bool opt_run_starts_after(const Statement *n, const Statement *t);
// The constant a value stands for (a number, or an EQU/SET symbol that is one), if any.
std::optional<int64_t> opt_constant_of(const Value &v);
// Structural equality of two values: the same kind, constant, symbol or tree.
bool opt_same_value(const Value &a, const Value &b);
// Deletes a psect's labels that nothing refers to (and that are not kept for other uses);
// returns how many.
unsigned opt_remove_unused_labels(Assembly &as, Symbol *psect);

// ---- inlining (optim/inline.cpp) and procedural abstraction (optim/abstract.cpp) ----

// Whether a value depends on where its statement stands: "$", a psect's base or a temporary label.
bool opt_value_placed(const Value &v, unsigned depth = 0);
// Whether the statement names a program-counter or return-stack register, or has effects the
// instruction table cannot tell (computed jumps, reads of the return address).
bool opt_touches_pc(const Assembly &as, const Statement *n);
// Driver step 2: expands calls of inline functions (and small ones under -auto_inline) in every
// psect, then deletes the bodies that nothing uses any more.
void inline_functions(Assembly &as, std::vector<Symbol *> &all);
// Driver step 7 for one unit (the abstraction list or a group list): moves repeated sequences
// of its psects into procedures of a new psect, which is appended to `made`.
void abstract_procedures(Assembly &as, std::vector<Symbol *> &list, std::vector<Symbol *> &made);
