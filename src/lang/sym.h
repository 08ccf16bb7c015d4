// Symbol table: every named entity (symbols, psects, class names) in one chained hash table.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/alert.h"
#include "lang/expr.h"
#include "support/pool.h"

struct Assembly;
struct MacroDef;
struct Statement;
struct StatementList;
struct Symbol;

// s_flags bits. The namespace bits SF_PSECT and SF_CLASS decide what a record is; several other
// bits mean different things for ordinary symbols and for psects (PSF_*).
constexpr uint32_t SF_GLOBAL = 0x10;       // GLOBAL, PUBLIC or EXTRN
constexpr uint32_t SF_PSECT = 0x100;       // namespace: psect name
constexpr uint32_t SF_UNDEF = 0x200;       // not (yet) defined; a label removed by the optimizer
constexpr uint32_t SF_LOCAL = 0x800;       // LOCAL
constexpr uint32_t SF_MACRO = 0x1000;      // the name is a macro
constexpr uint32_t SF_CLASS = 0x8000;      // namespace: psect class name
constexpr uint32_t SF_EXTERN = 0x10000;    // EXTRN
constexpr uint32_t SF_KEEP = 0x20000;      // global label the optimizer keeps
constexpr uint32_t SF_EQU = 0x40000;       // value set by EQU
constexpr uint32_t SF_FNADDR = 0x80000;    // FNADDR: address taken
constexpr uint32_t SF_FNROOT = 0x100000;   // FNROOT: call-graph root
constexpr uint32_t SF_SIGNAT = 0x200000;   // SIGNAT given
constexpr uint32_t SF_SET = 0x400000;      // redefinable: SET, predefined and command-line symbols
constexpr uint32_t SF_FNSIZE = 0x2000000;  // FNSIZE given
constexpr uint32_t SF_DABS = 0x10000000;   // defined by DABS
constexpr uint32_t SF_NAMESPACE = SF_PSECT | SF_CLASS;

// Psect flags, kept in the psect symbol's s_flags.
constexpr uint32_t PSF_GLOBAL = 0x10;
constexpr uint32_t PSF_PURE = 0x20;
constexpr uint32_t PSF_OVRLD = 0x40;
constexpr uint32_t PSF_ABS = 0x80;
constexpr uint32_t PSF_COMMON = 0x200;
constexpr uint32_t PSF_BIT = 0x400;
constexpr uint32_t PSF_LOCAL = 0x800;
constexpr uint32_t PSF_NOTE = 0x1000;

constexpr uint8_t SPACE_NOTE = 6;  // memory space of note psects

constexpr uint32_t SYM_BUCKETS = 60493;   // hash buckets; also the symbol limit
constexpr uint16_t REFCNT_DECLARED = 32767;  // reference count of GLOBAL/PUBLIC/EXTRN/LOCAL names

// p_optim bits: "optim=" was given (PO_GIVEN) and which of its items, plus "minocg" and "codecov".
constexpr uint32_t PO_GIVEN = 0x1;
constexpr uint32_t PO_INLINE = 0x8;
constexpr uint32_t PO_PA = 0x10;
constexpr uint32_t PO_JUMP = 0x20;
constexpr uint32_t PO_PEEP = 0x40;
constexpr uint32_t PO_REMOVE = 0x80;
constexpr uint32_t PO_MINOCG = 0x100;
constexpr uint32_t PO_CODECOV = 0x200;

// The psect part of a psect symbol.
struct PsectPart {
  uint64_t p_curr = 0;         // location counter in bytes from the base
  uint64_t p_size = 0;         // "size="; 0 = not given
  uint16_t p_limit = 0;        // "limit"; 0 = not given
  uint64_t p_reloc = 0;        // "reloc=" alignment of the base; 0 = not given
  Symbol *p_class = nullptr;   // "class=" class name
  Symbol *p_with = nullptr;    // "with=" psect
  uint32_t p_depth = 0;        // position in a "with" chain
  uint8_t p_space = 0;         // "space="
  uint8_t p_delta = 0;         // "delta=": bytes per address unit; 0 counts as 1
  uint32_t p_group = 0;        // "group="
  uint8_t p_inline = 0;        // "inline", or "optim=" with inline
  uint32_t p_optim = 0;        // optimization request bits
  uint8_t p_keep = 0;          // "keep", or "optim=" without "remove"
  uint8_t p_noexec = 0;        // "noexec"
  uint8_t p_lowdata = 0;       // "lowdata"
};

// The lists only functions and psects have, kept apart so that the many plain symbols stay
// small: made for a symbol with its first entry.
struct SymbolLists {
  std::vector<std::string> s_pcomments; // psect: comments that preceded its PSECT directives
  std::vector<const char *> s_calls;    // FNCALL: functions called (each name once)
  std::vector<const char *> s_args;     // FNARG: argument areas used (each name once)
  std::vector<const char *> s_breaks;   // FNBREAK: call-graph breaks (each name once)
  std::vector<uint16_t> s_indir;        // FNINDIR: signatures called indirectly (each once)
};

// One named entity. A psect uses s_psect and the psect-only fields; its s_value stays zero.
struct Symbol {
  const char *s_name = nullptr;         // interned; "" for the default psect
  Value s_value;                        // ordinary symbol: its value
  PsectPart s_psect;                    // psect: the psect part
  StatementList *s_stmts = nullptr;     // psect: its statement list
  uint32_t s_pindex = 0;                // psect: number in creation order, from 0
  SymbolLists *s_lists = nullptr;       // null while all its lists are empty
  // Where the symbol was last defined (label, EQU or SET); before that, where it was made.
  const char *s_file = nullptr;
  uint64_t s_line = 0;
  Symbol *s_hnext = nullptr;            // next in the hash bucket
  Symbol *s_nnext = nullptr;            // next older chained record of the same name
  Symbol *s_defpsect = nullptr;         // psect current when the label was defined
  Statement *s_defnode = nullptr;       // the NAME node defining the label
  MacroDef *s_macro = nullptr;          // macro: its definition (input/macro.h); null before one
  uint32_t s_flags = 0;                 // SF_* / PSF_*
  uint16_t s_lnum = 0;                  // number of a generated label
  uint16_t s_signat = 0;                // SIGNAT
  uint16_t s_refcnt = 0;                // reference count
  uint16_t s_argsize = 0, s_autosize = 0;  // FNSIZE
  uint32_t s_serial = 0;                // over all Symbol records, from 1
};

// Where a symbol's records and messages report: where it was defined (or made, if never defined).
inline MsgPos sym_position(const Symbol *s) { return {s->s_file, static_cast<long>(s->s_line)}; }

struct SymState {
  // The bucket chains keep the output order. Only the buckets in use are stored: a small run
  // touches few of the SYM_BUCKETS, and walking or clearing them all would cost more than the
  // run. Lookups do not walk the chains (names differing only in their last characters share
  // buckets): the newest record of each name sits in its interned text's slot, the older ones
  // follow through s_nnext.
  std::unordered_map<uint32_t, Symbol *> chains;  // bucket -> chain head
  std::vector<uint32_t> used;        // buckets that have had a chain; ascending when ordered
  bool used_ordered = true;
  std::vector<Symbol *> sorted_records;  // after sym_sort_all
  bool sorted = false;               // sym_sort_all has run: no more hashed lookups
  Pool<Symbol> pool;                 // every Symbol record
  Pool<SymbolLists> lists_pool;      // s_lists records
  uint32_t count = 0;                // symbols entered by lookup, less those freed
  uint32_t serial = 0;               // last serial number handed out
  uint32_t label_counter = 0;        // last generated label number
  uint32_t psect_count = 0;          // psects made so far
  size_t longest_name = 0;           // for listing column widths
  Symbol *cur_psect = nullptr;       // the current psect
  Symbol *default_psect = nullptr;   // the psect with the empty name
  std::map<std::string, int64_t> inlined;  // "_inlined$<function>" -> value
};

// Bucket index of a name: h = 2h + byte over the bytes, modulo SYM_BUCKETS.
uint32_t sym_bucket(std::string_view name);

// Makes the bucket array and the predefined entities ("__NORTEX__", the default psect).
void sym_init(Assembly &as);

// A symbol's lists; all empty when it has none.
const SymbolLists &sym_lists(const Symbol *s);
// A symbol's lists, made when it has none yet.
SymbolLists &sym_lists_make(Assembly &as, Symbol *s);

// Finds the record of `name` whose namespace bits equal `cls`, or makes one. cls 0 is an
// ordinary symbol (also logged to the cross-reference file); SF_PSECT makes a psect. A class
// with further bits never matches, so every such call makes a new record.
Symbol *sym_lookup(Assembly &as, std::string_view name, uint32_t cls = 0);

// The ordinary symbol of that name, or null; never creates.
Symbol *sym_find(Assembly &as, std::string_view name);

// A generated label "L<n>": outside the hash table and the symbol count.
Symbol *sym_new_label(Assembly &as);
// A label symbol of the given name, also outside the hash table and the symbol count (labels
// the optimizer makes for copies and procedures); the label counter is not stepped.
Symbol *sym_new_named_label(Assembly &as, std::string_view name);

// A SET | GLOBAL symbol with an absolute value, outside the symbol count. An ordinary symbol of
// that name that already exists is returned unchanged.
Symbol *sym_define_cmdline(Assembly &as, std::string_view name, int64_t value);

// Turns a symbol into a psect with its own statement list.
void sym_make_psect(Assembly &as, Symbol *s);

// Bucket chain maintenance, for symbols that get a new name: unlink, rename, relink.
void sym_unlink(Assembly &as, Symbol *s);
void sym_relink(Assembly &as, Symbol *s);

// A duplicate of the whole record, not in any chain.
Symbol *sym_copy(Assembly &as, const Symbol *s);
// Releases a record (taking it out of its chain first if it is still there).
void sym_free(Assembly &as, Symbol *s);

// Inlined functions: recorded during the run, defined as command-line symbols before emission.
void sym_record_inlined(Assembly &as, std::string_view function, const Symbol *psect, int kind);
void sym_define_inlined(Assembly &as);

// Collects every chained record, sorted by name (byte-wise); the chains are given up.
void sym_sort_all(Assembly &as);
// The records after sym_sort_all, in sorted order.
std::span<Symbol *const> sym_sorted(const Assembly &as);

// The buckets that have had a chain, in ascending order.
const std::vector<uint32_t> &sym_used_buckets(SymState &st);

// Calls fn(Symbol*) for every chained record: buckets in order, each chain from its head.
template <class Fn>
void sym_for_each(SymState &st, Fn &&fn) {
  if (st.sorted) {
    for (size_t i = 0; i < st.sorted_records.size(); ++i) fn(st.sorted_records[i]);
    return;
  }
  const std::vector<uint32_t> buckets = sym_used_buckets(st);  // fn may make symbols
  for (uint32_t b : buckets) {
    auto it = st.chains.find(b);
    for (Symbol *s = it == st.chains.end() ? nullptr : it->second; s; s = s->s_hnext) fn(s);
  }
}

// Definitions made by the grammar actions, with their checks.
void sym_define_label(Assembly &as, Symbol *s, Statement *node);  // 845, 848
void sym_define_equ(Assembly &as, Symbol *s, const Value &v);     // 845
void sym_define_set(Assembly &as, Symbol *s, const Value &v);
bool sym_define_macro(Assembly &as, Symbol *s);                   // 858; false when refused
// EQU and SET symbols whose values lead back to themselves (p equ p+1; p equ q+1 with q equ
// p+1) have no value: each draws 839 at its defining line and becomes 0, so that nothing
// relocates against a symbol the object file does not define.
void sym_break_cycles(Assembly &as);
// GLOBAL, PUBLIC, EXTRN or LOCAL, by keyword kind (K_GLOBAL, K_PUBLIC, K_EXTRN, K_LOCAL).
void sym_declare(Assembly &as, Symbol *s, unsigned keyword);      // 862, 863

// Adds an item to one of the FN* sets unless it is already there.
template <class T>
void sym_set_add(std::vector<T> &set, T item) {
  for (const T &x : set)
    if (x == item) return;
  set.push_back(item);
}
