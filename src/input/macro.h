// Macros and repetition: MACRO, REPT, IRP and IRPC definitions read as text with substitution
// marks, and their expansion pushed back into the reader.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Assembly;
struct Symbol;

constexpr unsigned MACRO_FRAMES = 29;       // nested expansions at most
constexpr unsigned MACRO_MAX_PARAMS = 127;  // mark indexes 1..127
constexpr unsigned MACRO_MAX_LOCALS = 127;  // mark indexes 129..255
constexpr char MACRO_MARK = 127;            // substitution mark; the next byte is its index
// What the expansions of one run may read: past either, no further expansion starts. They bound
// the work of nested repetitions and of repetition counts that are huge by mistake.
constexpr uint64_t MACRO_MAX_LINES = uint64_t{1} << 22;  // body lines
constexpr uint64_t MACRO_MAX_TEXT = uint64_t{1} << 28;   // bytes of those lines, substituted

// Kind bits of a definition: REPT is MK_ANON alone, IRP MK_ANON | MK_IRP, IRPC MK_ANON | MK_IRPC.
enum : uint8_t { MK_IRP = 1, MK_IRPC = 2, MK_ANON = 4 };

// One definition: a named macro (the s_macro of its symbol) or a REPT, IRP or IRPC record.
struct MacroDef {
  uint8_t kind = 0;               // MK_* bits; 0 for a named macro
  std::string body;               // text with marks; every line ends in a line feed
  uint16_t nparams = 0;           // formal parameters, raised by the highest "@" form
  uint16_t nlocals = 0;           // LOCAL names
  uint32_t counter = 0;           // REPT: repetitions left; IRP, IRPC: index of the current item
  std::string items;              // IRP: the items back to back; IRPC: the characters
  std::vector<uint32_t> item_end; // IRP: end offset of each item in items
  const char *name = nullptr;     // named macro: its name
  uint32_t busy = 0;              // expansion frames using the body
  bool owned = false;             // named macro: still its symbol's definition
};

// One expansion in progress.
struct MacroFrame {
  MacroDef *def = nullptr;
  std::string text;               // the argument texts, then the generated LOCAL names
  std::vector<uint32_t> ends;     // end offset of each in text
  uint16_t nargs = 0, nlocals = 0;
};

// A formal parameter or LOCAL name of the definition being read.
struct MacroName {
  std::string_view name;  // interned
  uint8_t index;          // mark index: 1..127 argument, 128 + k LOCAL name
};

struct MacroState {
  std::vector<std::unique_ptr<MacroDef>> defs;   // every record made; recycled, never freed
  std::vector<MacroDef *> free_defs;             // released records
  std::array<MacroFrame, MACRO_FRAMES> frames;   // frames[0 .. depth) are in use
  unsigned depth = 0;
  bool overflowed = false;   // nesting limit hit: nothing expands until depth is 0 again
  bool exhausted = false;    // max_lines or max_text passed: nothing expands any more
  uint64_t max_lines = MACRO_MAX_LINES;  // the expansions' budget of the run
  uint64_t max_text = MACRO_MAX_TEXT;
  uint32_t local_counter = 0;  // generated LOCAL names "??%04d"
  std::vector<MacroName> names;  // definition being read
  std::string arg;               // scratch argument text
};

// Installs the reader hooks (expansion, end of body, substitution marks) for a run.
void macro_init(Assembly &as);

// After "NAME macro": reads the formal parameters and the body of macro m (the parser has
// checked the name and made it a macro; for any other symbol the body is read and dropped).
// A redefinition with a different body draws 1260 and replaces the old one. Afterwards the
// lexer stands at the end of the ENDM line: the next token is its end of line (or end of input).
void macro_define(Assembly &as, Symbol *m);
// After "rept expression" (count already checked: 799 and 1 for a bad one; a negative count
// here draws 799 too), "irp" and "irpc": reads the definition and expands it at once. The
// expansion is read after the end of the ENDM line.
void macro_define_rept(Assembly &as, int64_t count);
void macro_define_irp(Assembly &as);
void macro_define_irpc(Assembly &as);
// LOCAL outside a definition: 1298, the line is discarded. (ENDM without a definition and EXITM
// reach the parser as keywords that no statement takes: syntax errors.)
void macro_local_outside(Assembly &as);

// The argument reader: appends the next argument of the current line to out; false when it is
// absent (end of the line, or an empty item before a comma, which is consumed).
bool macro_read_argument(Assembly &as, std::string &out);
