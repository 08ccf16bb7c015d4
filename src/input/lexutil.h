// Source reader and lexer: the input stack, line reading, and tokens for the parser.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/pool.h"

struct Assembly;
struct Keyword;
struct Symbol;

// Lexer contexts, set by the parser before it asks for tokens.
enum LexContext : uint8_t {
  LEX_NORMAL = 0,       // main keyword table
  LEX_FLOAT = 2,        // a number without prefix or suffix is a floating constant
  LEX_OPT = 3,          // OPT / "$" controls first
  LEX_LIST = 4,         // LIST options first
  LEX_DEVICE = 5,       // a processor name: any character starts it; upper-cased
  LEX_PLAIN = 6,        // no keyword lookup: every name is a plain word
  LEX_INTEGER = 8,      // numbers are never floating
  LEX_CONFIG = 10,      // names classified as configuration register, setting or switch
  LEX_ASMOPT = 11,      // ASMOPT arguments first
  LEX_DEBUGSRC = 12,    // DEBUG_SOURCE arguments first
  LEX_STRING_ESC = 13,  // a backslash before a quote in a string keeps the quote
};

// What of a PSECT line is read: "config" is no keyword there, so the configuration psect and
// its class can be named.
enum PsectRead : uint8_t {
  PSR_NONE = 0,   // no PSECT line
  PSR_FLAGS = 1,  // flag words: the psect-flag table first
  PSR_NAME = 2,   // the psect's name, or a flag's value
};

// Kinds of input on the input stack.
enum InputKind : uint8_t {
  IN_FILE = 0,  // a source or include file
  IN_BODY = 1,  // a macro body (named macro, REPT, IRP or IRPC expansion)
  IN_ARG = 2,   // an argument or LOCAL name being substituted
};

// Token kinds beyond the keyword kinds of OpKind (isa/ops.h), which keyword tokens carry.
// Operator punctuation uses the keyword kinds of its operator words: "/" is K_DIVOP,
// "&" "^" "|" are K_BITOP, "<>" "<=" "<" ">=" ">" are K_RELOP, "<<" ">>" are K_SHIFT; the
// token value is the operator code (ExprOp).
enum TokKind : uint16_t {
  TK_EOF = 200,    // end of all input
  TK_EOL,          // end of a line
  TK_COMMENT,      // ";" to the end of the line; text views the line (valid until the next line)
  TK_NAME,         // a symbol (sym)
  TK_WORD,         // a plain name or a string (text interned)
  TK_DEVICE,       // LEX_DEVICE: the upper-cased name (text interned)
  TK_CFG_REG,      // LEX_CONFIG: a configuration register name (text interned)
  TK_CFG_SETTING,  // LEX_CONFIG: a setting name
  TK_CFG_SWITCH,   // LEX_CONFIG: a switch name
  TK_NUMBER,       // an integer (num)
  TK_FLOAT,        // a floating constant (fnum)
  TK_TLABF,        // forward temporary-label reference; num = label number
  TK_TLABB,        // backward temporary-label reference
  TK_HASH,         // "#" immediate mark
  TK_DOLLAR,       // "$" or "@": the location counter
  TK_LPAREN, TK_RPAREN, TK_LBRACK, TK_RBRACK, TK_COMMA, TK_COLON,
  TK_EQUALS,       // "="; value OPR_EQ
  TK_PLUS, TK_MINUS, TK_STAR,
  TK_TILDE,        // "~" complement; value OPR_NOT
};

// A token's text holds at most this many characters; longer ones are cut with a message.
constexpr size_t TOKEN_MAX = 767;
// A source line holds at most this many characters.
constexpr size_t SOURCE_LINE_MAX = size_t{64} << 20;
// Substitution never makes a line longer than this (or than the line was before it): arguments
// that grow with each nested call are cut here with a message.
constexpr size_t EXPANDED_LINE_MAX = size_t{4} << 20;

struct Token {
  uint16_t kind = TK_EOF;        // TokKind or a keyword's OpKind
  uint16_t value = 0;            // keyword value, or operator code
  const Keyword *kw = nullptr;   // keyword row of a keyword token
  int64_t num = 0;               // TK_NUMBER, TK_TLABF, TK_TLABB
  double fnum = 0;               // TK_FLOAT
  Symbol *sym = nullptr;         // TK_NAME
  std::string_view text;         // TK_WORD, TK_DEVICE, TK_CFG_*, TK_COMMENT
};

struct FileCloser {
  void operator()(std::FILE *f) const { std::fclose(f); }
};

// One open input.
struct InputRecord {
  uint8_t kind = IN_FILE;                       // InputKind
  std::unique_ptr<std::FILE, FileCloser> file;  // IN_FILE read from disk (null: text in memory)
  std::unique_ptr<char[]> buf;                  // IN_FILE from disk: read buffer
  const char *data = nullptr;                   // IN_FILE: buffered bytes; IN_BODY: the body text
  size_t pos = 0, len = 0;                      // unread bytes are data[pos, len)
  long saved_line = 0;                          // the includer's assembler line number
  long saved_msg_line = 0;                      // the includer's message line number
  bool saved_list = false;                      // the includer's listing-on flag
  const char *saved_file = nullptr;             // the includer's file name
  bool list_pending = false;                    // IN_BODY: set the listing flag at the first line
};

// The lexer side of macro expansion. Each hook may be null (no macro processor): a macro name
// is then an ordinary name token, a mark substitutes nothing, a body end has no sequel.
struct MacroHooks {
  // A macro name was met: read its arguments from the current line and push its body.
  void (*expand)(Assembly &as, Symbol *macro) = nullptr;
  // A macro-body input has ended and was popped; the next repetition may be pushed.
  void (*end_of_body)(Assembly &as) = nullptr;
  // The text a substitution mark stands for (1..127: argument, 128 + k: k-th LOCAL name),
  // empty when the index is beyond the top frame's lists or there is no frame.
  std::string_view (*mark_text)(Assembly &as, unsigned index) = nullptr;
};

// A name classified in LEX_NORMAL: a keyword row or a symbol. An open-addressing table in front
// of the keyword tables and the symbol table. Entries are valid in the generation they were
// filled in (older ones count as empty); a new or freed record the lexer did not make itself
// starts a new generation.
constexpr size_t SYMCACHE_SIZE = 65536;  // most entries, a power of two
constexpr size_t SYMCACHE_FIRST = 1024;  // entries at the start of a run; doubled when crowded
constexpr size_t SYMCACHE_LEAP = 8192;   // crowded at this size: straight to SYMCACHE_SIZE
constexpr size_t SYMCACHE_PROBES = 16;   // a name not placed within this many slots is not cached
constexpr size_t SYMCACHE_NAME = 18;     // longer names are not cached
struct SymCacheEntry {
  const void *ptr = nullptr;  // Keyword row (kw set) or Symbol
  uint32_t gen = 0;           // generation of the entry
  uint8_t len = 0;            // length of text
  bool kw = false;            // ptr is a keyword row
  char text[SYMCACHE_NAME];   // the name
};

struct LexState {
  const char *cur_file = nullptr;  // interned name of the current file; null before the first file
  long msg_line = 0;               // the line number reported in messages
  long line_no = 0;                // assembler line number: physical lines of the current file
  long hl_line = 0;                // high-level line counter (";#" lines, -V)
  bool list_on = false;            // listing-on flag
  bool m_volatile = false;         // the line contains ";volatile"
  bool m_volsfr = false;           // the line contains ";volsfr"
  bool m_hl = false;               // the line contains ";#"

  bool marked = false;             // a "#" line marker replaced the real position
  const char *real_file = nullptr; // the real file while marked
  long real_line_delta = 0;        // while marked: real line = line_no + delta

  uint8_t ctx = LEX_NORMAL;        // LexContext
  uint8_t psect_flags = PSR_NONE;  // PsectRead: what of a PSECT line is being read
  uint32_t lookup_class = 0;       // namespace of name lookups (SF_PSECT, SF_CLASS); 0: symbols
  unsigned radix = 10;             // current radix
  unsigned saved_radix = 0;        // radix saved by "#"; 0: none saved

  std::vector<InputRecord> stack;  // input stack; back() is the current input
  bool ended = false;              // all input read
  std::string line;                // current line without its line feed; line[size()] is 0
  size_t pos = 0;                  // read position in line
  bool line_done = true;           // the line is used up: the next read fetches another
  std::string scratch;             // reused buffer for mark expansion and splicing
  uint64_t body_lines = 0;         // macro-body lines read in the run
  uint64_t body_bytes = 0;         // their length after substitution

  Token tok;                       // the last token returned
  Token pushed;                    // a token given back by lex_unget_token
  bool has_pushed = false;
  char text[TOKEN_MAX + 1] = {};   // token text being built (strings, device names)

  MacroHooks hooks;

  PageVector<SymCacheEntry> sym_cache;   // a power of two of entries once lex_init has run
  uint32_t cache_gen = 1;                // current generation
  uint32_t cache_serial = 0;             // symbol serial and count when last checked
  uint32_t cache_count = 0;
};

// Prepares the reader for a run: radix 10, the listing flag from the options.
void lex_init(Assembly &as);

// The next token; its value is in as.lex.tok.
uint16_t lex_next_token(Assembly &as);
// Gives back one token: the next lex_next_token returns it with its value.
void lex_unget_token(Assembly &as, const Token &t);

// Characters: 0 at the end of a line, -1 at the end of all input.
int lex_get_char(Assembly &as);
int lex_peek_char(Assembly &as);
// Discards the rest of the current line (and a token given back).
void lex_skip_line(Assembly &as);

// IN_BODY: pushes a macro body (text owned by the caller until its end is reported) and
// discards the rest of the current line, or with keep_line reads the body after it. IN_ARG:
// the text is read in place, before the rest of the current line; its line feeds read as
// blanks, so it never ends a line.
void lex_push_text(Assembly &as, std::string_view text, InputKind kind, bool keep_line = false);

// The unread rest of the current line; empty when the line is used up (never reads a line).
std::string_view lex_rest(const Assembly &as);
// Consumes n characters of the current line (at most up to its end, whose end of line stays).
void lex_advance(Assembly &as, size_t n);
// Discards the rest of the current line and makes the next one current; false at the end of
// all input.
bool lex_next_line(Assembly &as);

// Opens a file as the new input (an include file when a file is already open); error 140 on
// failure. The rest of the current line is discarded.
bool lex_open_source(Assembly &as, std::string_view name);
// The same with the file's contents given in memory (tests and tools).
void lex_open_text(Assembly &as, std::string_view name, std::string_view text);

void lex_set_context(Assembly &as, uint8_t ctx);
void lex_set_psect_flags(Assembly &as, uint8_t state);
// Names that are not keywords are looked up (or made) in this namespace; 0 for symbols.
void lex_set_lookup_class(Assembly &as, uint32_t cls);
void lex_set_radix(Assembly &as, unsigned radix);
unsigned lex_radix(const Assembly &as);
const char *lex_file(const Assembly &as);
long lex_line(const Assembly &as);
// The line number messages report (lex_file is their file).
long lex_msg_line(const Assembly &as);
// The position before the first source file: "(command line)", line 0.
void lex_at_command_line(Assembly &as);
// After the parse: later messages carry the last file and line 0.
void lex_clear_msg_line(Assembly &as);
// A "#" line marker: the current line becomes number `line` (the next one read is line + 1), in
// `file` when it is not null. The first marker remembers the real position.
void lex_mark_line(Assembly &as, long line, const char *file);
// A "#" marker without a number: back to the real position, when a marker replaced it.
void lex_unmark_line(Assembly &as);
// LINE n on the line numbered n: that number is given to the next line again.
void lex_line_directive(Assembly &as, long n);
void lex_set_listing(Assembly &as, bool on);
// Forgets the names the lexer remembers. Needed after a record of the symbol table is unlinked
// or renamed without being freed (new and freed records are noticed).
void lex_forget_symbols(Assembly &as);
// True while a macro body is being read.
bool lex_in_macro(const Assembly &as);

// The number scanner, with no side effects. p points at the first digit of the number (after
// "$", "@", "%" or "."), given is the radix fixed by that character (0: none). Reports nothing:
// the caller raises msg (0: none; MSG_INVALID_CHAR_IN_NUMBER with bad).
struct NumScan {
  uint16_t kind = TK_NUMBER;  // TK_NUMBER, TK_FLOAT, TK_TLABF, TK_TLABB
  int64_t num = 0;
  double fnum = 0;
  const char *end = nullptr;  // first character after the number
  unsigned msg = 0;           // first fault found
  char bad = 0;               // the character of MSG_INVALID_CHAR_IN_NUMBER
  bool overflow = false;      // an integer that does not fit in 64 bits
};
NumScan lex_scan_number(const char *p, unsigned given, unsigned radix, uint8_t ctx);
