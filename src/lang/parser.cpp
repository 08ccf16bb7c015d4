// The statement grammar. Each line is parsed by recursive descent with one token of lookahead;
// actions run in the order of the line grammar's reductions: a label's node is made when its
// ":" is read, a statement's action once its operands are complete and before its end of line
// is checked. A syntax error reports 876, discards the rest of the line and resumes at the next.
#include "lang/parser.h"

#include <cstring>

#include "config/config.h"
#include "driver/assembly.h"
#include "input/macro.h"
#include "isa/operand.h"
#include "isa/ops.h"
#include "lang/psect.h"

namespace {

// Stack entries charged for one level of expression nesting (a parenthesis or a prefix
// operator): each level costs two C++ frames, so this keeps the recursion far below the
// machine stack even in instrumented builds.
constexpr unsigned NEST_COST = 5;

struct SyntaxError {};  // thrown to the line loop, which recovers
struct StackFull {};    // the nesting limit was passed: the parse ends

// The controls and the OPT controls that act like them. Messg, asmopt and debug_source are
// controls only as lines; asmopt_on and asmopt_push only as OPT controls.
constexpr uint8_t USE_LINE = 1, USE_OPT = 2;
constexpr uint8_t control_use(uint16_t k) {
  switch (k) {
  case MESSG:
  case K_ASMOPT:
  case K_DEBUG_SOURCE: return USE_LINE;
  case K_ASMOPT_ON:
  case K_ASMOPT_PUSH: return USE_OPT;
  case K_LIST: case INCLUDE: case TITLE: case K_SUBTITLE: case K_COND: case K_EXPAND:
  case K_CALLSTACK: case K_PAGELENGTH: case K_PAGEWIDTH: return USE_LINE | USE_OPT;
  default: return 0;
  }
}

class Parser final : public OperandReader {
 public:
  explicit Parser(Assembly &as) : as_(as), ps_(as.parse), decl_(as.decl), ctl_(as.lst.ctl) {}
  void run();

 private:
  Assembly &as_;
  ParserState &ps_;
  Declarations &decl_;  // what the outputs read
  ListControls &ctl_;   // the listing's controls

  // ---- tokens ----
  uint16_t peek() override {
    if (!ps_.has_look) {
      if (ps_.shifted && ps_.errflag) --ps_.errflag;  // the parser moved past the token taken
      ps_.shifted = false;
      lex_next_token(as_);
      ps_.look = as_.lex.tok;
      if (ps_.look.kind == TK_COMMENT) ps_.comment.assign(ps_.look.text);
      ps_.has_look = true;
    }
    return ps_.look.kind;
  }
  // Consumes the lookahead. It counts towards the end of error recovery once the next token is
  // read: a token that turns out to be wrong where it stands was never shifted.
  Token shift() override {
    peek();
    ps_.has_look = false;
    ps_.shifted = true;
    return ps_.look;
  }
  Token expect(uint16_t kind) override {
    if (peek() != kind) throw SyntaxError{};
    return shift();
  }
  bool accept(uint16_t kind) override {
    if (peek() != kind) return false;
    shift();
    return true;
  }
  void push_depth(unsigned n) {
    ps_.depth += n;
    if (ps_.depth > PARSE_STACK_LIMIT) throw StackFull{};
  }
  void set_ctx(uint8_t ctx) { lex_set_context(as_, ctx); }
  bool at_line_end() {
    uint16_t k = peek();
    return k == TK_EOL || k == TK_COMMENT || k == TK_EOF;
  }

  // ---- nodes ----
  Statement *node(uint32_t kind) override {
    if (ps_.line_follows) {
      as_.list.src.hl_line = static_cast<uint64_t>(lex_line(as_));
      as_.list.src.hl_set = true;
    }
    Statement *n = list_new_statement(as_);
    n->op_type = kind;
    list_add_statement(as_, n);
    return n;
  }
  const char *intern(std::string_view t) { return as_.strings.intern(t); }

  // ---- lines ----
  void line();
  void comment_line();
  bool label(Symbol *s);
  void temp_label();
  void finish_line();
  void recover();
  void report_syntax_error() override;
  void statement(uint16_t k);
  bool directive(uint16_t k, const Token &t);
  void name_statement(Symbol *s);
  void equ_or_set(Symbol *s, uint16_t k);
  void macro(Symbol *s);
  void end_line();

  // ---- expressions ----
  Value expression();
  Value expression_from(Value left);
  Value primary();
  Value prefixed_primary(uint16_t kind, const Keyword *kw);
  bool is_binop(uint16_t k) const {
    return k == K_BITOP || k == K_DIVOP || k == K_RELOP || k == K_SHIFT || k == TK_PLUS || k == TK_MINUS ||
           k == TK_STAR || k == TK_EQUALS;
  }
  Value folded(Value v) {
    expr_fold(as_, v);
    return v;
  }
  static bool positive(const Value &v) { return v.v_rtype == RT_ABS && v.v_offs >= 0; }
  static void set_value(Operand &o, const Value &v) {
    o.o_mode = OM_VALUE;
    o.o_value = v;
  }

  // ---- controls: line forms of their own, and OPT / "$" controls ----
  bool control(uint16_t k, const Token &t);
  bool controls();
  const char *text();
  void list(bool on);
  void list_options();
  void list_option();
  void list_size(bool width);
  void messg(uint16_t sub);
  void include();
  void title(bool subtitle);
  void asmopt();
  void set_asmopt(bool on);
  void debug_source();
  template <class T>
  void push_or_pop(bool push, std::vector<T> &stack, T &state, unsigned empty_msg);
  template <class T>
  T number() { return static_cast<T>(expect(TK_NUMBER).num); }

  // ---- directives ----
  void pagesel(uint16_t k);
  void if_elsif(uint16_t k);
  void name_list(unsigned keyword);
  void local();
  void radix();
  void fn_flag(uint32_t flag);
  void fnindir_signat(uint16_t k);
  void fn_pair(uint16_t k);
  void fnalign();
  void fnconf();
  void fnsize();
  void dabs();
  void dabs_name(const DabsEntry &e);
  void data_list(uint16_t size);
  void data_item(DataItem **&tail);
  void ds();
  void org();
  void align();
  void line_number();
  void file();
  void processor();
  void processor_name();
  void hash_line();
  void range_list();
  void rept();
  void irp(uint16_t k);
  // The ENDM placeholder of a REPT, IRP or IRPC block, made once its first repetition is
  // pushed: it comes from an expansion only when the block itself did.
  void repeat_placeholder(bool expanded) {
    Statement *n = node(ENDM);
    if (!expanded) n->op_flags &= ~NF_MACRO;
  }
  void psect();
  bool psect_item(Symbol *p);
  void optim_items(Symbol *p);
  void config();

  // ---- what instruction operands are read with ----
  Value value() override { return folded(expression()); }
  Value value_after_prefix(uint16_t kind, const Keyword *kw) override {
    return folded(expression_from(prefixed_primary(kind, kw)));
  }
  [[noreturn]] void fail() override { throw SyntaxError{}; }
};

// ------------------------------------------------------------------ line loop

// program ::= lines [end-line]
void Parser::run() {
  while (!ps_.stop && !ps_.ended) {
    ps_.depth = 2;  // program and lines
    try {
      line();
    } catch (const SyntaxError &) {
      recover();
    } catch (const StackFull &) {
      msg_report(as_.msg, MSG_PARSER_TOO_DEEP);
      ps_.stop = true;
    }
  }
  set_ctx(LEX_NORMAL);
  lex_set_lookup_class(as_, 0);
  lex_set_psect_flags(as_, PSR_NONE);
}

// 876 at the input position for assembler sources (a "#" marker moves that position itself).
// Compiler-generated input, a source that gave a high-level position with LINE or FILE, is
// reported at that position, unless the line carries ";#".
void Parser::report_syntax_error() {
  const StmtSource &src = as_.list.src;
  if (!ps_.generated || as_.lex.m_hl) {
    msg_report(as_.msg, MSG_SYNTAX_ERROR);
    return;
  }
  MsgPos at{src.hl_file ? src.hl_file : lex_file(as_),
            ps_.line_follows ? lex_msg_line(as_) : static_cast<long>(src.hl_line)};
  msg_report_at(as_.msg, at, MSG_SYNTAX_ERROR);
}

// line ::= error EOL | error COMMENT
void Parser::recover() {
  ps_.shifted = false;  // the token found wrong
  set_ctx(LEX_NORMAL);
  lex_set_lookup_class(as_, 0);
  lex_set_psect_flags(as_, PSR_NONE);
  if (ps_.errflag == 0) report_syntax_error();
  ps_.errflag = 3;
  for (;;) {
    uint16_t k = peek();
    if (k == TK_EOF) {
      ps_.stop = true;
      return;
    }
    if (k == TK_EOL || k == TK_COMMENT) {
      shift();
      break;
    }
    ps_.has_look = false;  // discarded, not shifted
  }
  lex_skip_line(as_);
}

// The end of a statement line: EOL, or a COMMENT attached to the current statement.
void Parser::finish_line() {
  uint16_t k = peek();
  if (k == TK_COMMENT) {
    shift();
    list_attach_eol_comment(as_, intern(ps_.comment));
  } else if (k == TK_EOL) {
    shift();
  } else {
    throw SyntaxError{};
  }
  set_ctx(LEX_NORMAL);
  lex_skip_line(as_);
}

// line ::= NAME ":" line | NUMBER ":" line | statement EOL | statement COMMENT | COMMENT | EOL
//        | end-line | control
void Parser::line() {
  for (;;) {
    uint16_t k = peek();
    switch (k) {
    case TK_EOF:
      shift();
      ps_.stop = true;
      return;
    case TK_EOL:
      shift();
      lex_skip_line(as_);
      return;
    case TK_COMMENT: comment_line(); return;
    case TK_NAME:
      if (label(shift().sym)) continue;
      return;
    case TK_NUMBER: temp_label(); continue;
    case K_END:
      if (ps_.depth > 2) throw SyntaxError{};  // END takes no label
      end_line();
      return;
    default:
      // A control is a line form without an end of line of its own: what follows starts the
      // next line.
      if (control_use(k) & USE_LINE) control(k, shift());
      else statement(k);
      return;
    }
  }
}

// A line holding only a comment adds it to the pending comments; after labels it belongs to
// the last label.
void Parser::comment_line() {
  shift();
  if (ps_.depth > 2) list_attach_eol_comment(as_, intern(ps_.comment));
  else list_add_comment(as_, ps_.comment);
  lex_skip_line(as_);
}

// NAME ":" makes a label (true: the line goes on); any other NAME begins a statement.
bool Parser::label(Symbol *s) {
  if (peek() != TK_COLON) {
    name_statement(s);
    return false;
  }
  shift();
  push_depth(3);
  Statement *n = node(NAME);
  n->op_label = s;
  sym_define_label(as_, s, n);
  return true;
}

// NUMBER ":" makes a temporary label.
void Parser::temp_label() {
  int64_t num = shift().num;
  expect(TK_COLON);
  push_depth(3);
  node(TLABEL)->op_tlab = static_cast<uint64_t>(num);
  ++as_.tlab.read;
}

// end-line ::= END [expression] EOL | END [expression] COMMENT
void Parser::end_line() {
  shift();
  if (!at_line_end()) {
    decl_.start = folded(expression());
    decl_.have_start = true;
    decl_.end_pos = {lex_file(as_), lex_msg_line(as_)};
  }
  finish_line();
  ps_.ended = true;
}

// statement ::= NAME EQU expression | NAME SET expression | NAME MACRO
void Parser::name_statement(Symbol *s) {
  uint16_t k = peek();
  if (k == EQU || k == SET) equ_or_set(s, k);
  else if (k == K_MACRO) macro(s);
  else throw SyntaxError{};
}

void Parser::equ_or_set(Symbol *s, uint16_t k) {
  shift();
  Value v = folded(expression());
  if (k == EQU) sym_define_equ(as_, s, v);
  else sym_define_set(as_, s, v);
  Statement *n = node(k);
  Value ref;
  ref.v_rtype = RT_SYM;
  ref.v_sym = s;
  set_value(n->op_opnd1, ref);
  set_value(list_opnd2(as_, n), v);
  finish_line();
}

void Parser::macro(Symbol *s) {
  shift();
  if (sym_define_macro(as_, s)) lex_forget_symbols(as_);
  macro_define(as_, s);  // a refused name's body is read all the same: a macro's is replaced
  node(ENDM);
  lex_skip_line(as_);
}

// ------------------------------------------------------------------ statements

// statement ::= instruction | directive; the keyword has not been shifted yet.
void Parser::statement(uint16_t k) {
  Token t = shift();
  if (ops_is_instruction(k)) {
    operand_read(as_, *this, k, t.kw);
    finish_line();
    return;
  }
  if (directive(k, t)) finish_line();
}

// The directive whose keyword t (of kind k) was shifted; false when its handler ended the line.
bool Parser::directive(uint16_t k, const Token &t) {
  switch (k) {
  case K_PAGESEL:
  case K_BANKISEL: pagesel(k); break;
  case IF:
  case ELSIF: if_elsif(k); break;
  case ELSE:
  case ENDIF: node(k); break;
  case K_EXTRN:
  case K_GLOBAL:
  case K_PUBLIC: name_list(k); break;
  case K_LOCAL: local(); return false;
  case K_RADIX: radix(); break;
  case K_FNADDR: fn_flag(SF_FNADDR); break;
  case K_FNROOT: fn_flag(SF_FNROOT); break;
  case K_FNINDIR:
  case K_SIGNAT: fnindir_signat(k); break;
  case K_FNCALL:
  case K_FNBREAK:
  case K_FNARG: fn_pair(k); break;
  case K_FNALIGN: fnalign(); break;
  case K_FNCONF: fnconf(); break;
  case K_FNSIZE: fnsize(); break;
  case K_DABS: dabs(); break;
  case DATA: data_list(t.value); break;
  case DS: ds(); break;
  case ORG: org(); break;
  case ALIGN: align(); break;
  case K_LINE: line_number(); break;
  case K_FILE: file(); break;
  case K_PROCESSOR: processor(); break;
  case TK_HASH: hash_line(); break;
  case K_MAXRAM: expression(); break;  // __maxram ::= __MAXRAM expression, without effect
  case K_BADRAM: range_list(); break;
  case K_PSECT: psect(); break;
  case K_REPT: rept(); return false;
  case K_IRP:
  case K_IRPC: irp(k); return false;
  case TK_DOLLAR:
  case K_OPT: return controls();
  case K_CONFIG: config(); break;
  default: throw SyntaxError{};
  }
  return true;
}

// ------------------------------------------------------------------ controls

// control ::= list list-options | messg text | include text | title text | subtitle text | cond
//           | expand | callstack NUMBER | pagelength NUMBER | pagewidth NUMBER
//           | asmopt asmopt-argument | debug_source debug-source-argument | asmopt_on | asmopt_push
// The keyword t (of kind k) is shifted. False after INCLUDE: the rest of the line is gone.
bool Parser::control(uint16_t k, const Token &t) {
  switch (k) {
  case K_LIST: list(t.value != 0); break;
  case MESSG: messg(t.value); break;
  case INCLUDE: include(); return false;
  case TITLE:
  case K_SUBTITLE: title(k == K_SUBTITLE); break;
  case K_COND: ctl_.cond = t.value ? true : as_.opt.force_listing; break;
  case K_EXPAND: ctl_.expansions = t.value ? true : as_.opt.force_listing; break;
  case K_CALLSTACK: as_.list.src.callstack = number<uint32_t>(); break;
  case K_PAGELENGTH: ctl_.page_length = number<int>(); break;
  case K_PAGEWIDTH: ctl_.page_width = number<int>(); break;
  case K_ASMOPT: asmopt(); break;
  case K_DEBUG_SOURCE: debug_source(); break;
  case K_ASMOPT_ON: set_asmopt(t.value != 0); break;
  case K_ASMOPT_PUSH:
    push_or_pop(t.value != 0, ps_.asmopt_stack, as_.list.src.asmopt, MSG_ASMOPT_POP_EMPTY);
    break;
  default: throw SyntaxError{};
  }
  return true;
}

// controls ::= { control }, read in LEX_OPT after OPT or "$": each warns 2068 with its name,
// then acts like its directive. False when an INCLUDE took the rest of the line.
bool Parser::controls() {
  for (;;) {
    set_ctx(LEX_OPT);
    uint16_t k = peek();
    if (!(control_use(k) & USE_OPT)) {
      set_ctx(LEX_NORMAL);
      return true;
    }
    const Keyword *kw = ps_.look.kw;
    Token t = shift();
    msg_report(as_.msg, MSG_OPT_CONTROL_DEPRECATED, kw ? kw->name : "");
    set_ctx(LEX_NORMAL);
    if (!control(k, t)) return false;
  }
}

// text ::= WORD | "(" WORD ")"
const char *Parser::text() {
  if (accept(TK_LPAREN)) {
    const char *t = intern(expect(TK_WORD).text);
    expect(TK_RPAREN);
    return t;
  }
  return intern(expect(TK_WORD).text);
}

// list ::= LIST list-options | NOLIST list-options
void Parser::list(bool on) {
  lex_set_listing(as_, on ? true : as_.opt.force_listing);
  set_ctx(LEX_LIST);
  list_options();
  set_ctx(LEX_NORMAL);
}

// list-options ::= (empty) | list-option { "," list-option }, read in LEX_LIST
void Parser::list_options() {
  if (peek() != K_LISTOPT) return;
  do list_option();
  while (accept(TK_COMMA));
}

// list-option ::= "c" "=" expression | "n" "=" expression | "t" "=" on/off | "p" "=" processor-name
//               | "r" "=" hex
void Parser::list_option() {
  Token o = expect(K_LISTOPT);
  expect(TK_EQUALS);
  switch (o.value) {
  case 'c':
  case 'n': list_size(o.value == 'c'); break;
  case 't': ctl_.truncate = expect(K_ONOFF).value != 0; break;
  case 'p':
    set_ctx(LEX_DEVICE);
    processor_name();
    set_ctx(LEX_LIST);
    break;
  case 'r': {
    Token r = expect(K_RADIXVAL);
    msg_report(as_.msg, MSG_LIST_RADIX_DEPRECATED);
    lex_set_radix(as_, r.value);
    break;
  }
  default: throw SyntaxError{};  // "x"
  }
}

// The value of c= (page width, at least 49) or n= (page length, at least 15).
void Parser::list_size(bool width) {
  set_ctx(LEX_NORMAL);
  Value v = folded(expression());
  set_ctx(LEX_LIST);
  if (!positive(v)) {
    msg_report(as_.msg, width ? MSG_C_OPTION_POSITIVE : MSG_N_OPTION_POSITIVE);
    return;
  }
  if (v.v_offs > 2147483647) {
    MSG_CHECK(as_.msg, v.v_offs <= 2147483647);
    return;
  }
  int n = static_cast<int>(v.v_offs);
  if (width) {
    if (n < 49) msg_report(as_.msg, MSG_PAGE_WIDTH_49);
    else ctl_.page_width = n;
  } else {
    if (n < 15) msg_report(as_.msg, MSG_FORM_LENGTH_15);
    else ctl_.page_length = n;
  }
}

// messg ::= MESSG text | ERROR text | WARN text; given when the object is written
void Parser::messg(uint16_t sub) {
  const char *t = text();
  Statement *n = node(MESSG);
  n->op_subop = sub;
  n->op_text = t;
}

// include ::= INCLUDE text; the file is read in place of the rest of the line
void Parser::include() {
  const char *t = text();
  node(INCLUDE)->op_text = t;
  ps_.has_look = false;
  lex_open_source(as_, t);
}

// title ::= TITLE text | SUBTITLE text
void Parser::title(bool subtitle) {
  const char *t = text();
  Statement *n = node(TITLE);
  n->op_text = t;
  if (subtitle) {
    decl_.subtitle = t;
    n->op_subop = 1;
  } else {
    decl_.title = t;
  }
}

// asmopt ::= ASMOPT on | ASMOPT off | ASMOPT push | ASMOPT pop, read in LEX_ASMOPT
void Parser::asmopt() {
  set_ctx(LEX_ASMOPT);
  uint16_t k = peek();
  if (k == K_ONOFF) set_asmopt(shift().value != 0);
  else if (k == K_PUSHPOP)
    push_or_pop(shift().value != 0, ps_.asmopt_stack, as_.list.src.asmopt, MSG_ASMOPT_POP_EMPTY);
  else throw SyntaxError{};
  set_ctx(LEX_NORMAL);
}

// Optimization of the following statements on (clears NF_NOOPT) or off.
void Parser::set_asmopt(bool on) {
  if (on) as_.list.src.asmopt &= static_cast<uint8_t>(~NF_NOOPT);
  else as_.list.src.asmopt |= NF_NOOPT;
}

// debug_source ::= DEBUG_SOURCE c | DEBUG_SOURCE asm | DEBUG_SOURCE push | DEBUG_SOURCE pop
void Parser::debug_source() {
  set_ctx(LEX_DEBUGSRC);
  uint16_t k = peek();
  if (k == K_DBGSRC) as_.list.src.dbgsrc = shift().value;
  else if (k == K_PUSHPOP)
    push_or_pop(shift().value != 0, ps_.dbgsrc_stack, as_.list.src.dbgsrc, MSG_DEBUG_SOURCE_POP_EMPTY);
  else throw SyntaxError{};
  set_ctx(LEX_NORMAL);
}

// "push" saves the state on its stack; "pop" restores the last saved one, or reports an empty stack.
template <class T>
void Parser::push_or_pop(bool push, std::vector<T> &stack, T &state, unsigned empty_msg) {
  if (push) {
    stack.push_back(state);
  } else if (stack.empty()) {
    msg_report(as_.msg, empty_msg);
  } else {
    state = stack.back();
    stack.pop_back();
  }
}

// ------------------------------------------------------------------ directives

// pagesel ::= PAGESEL expression; bankisel ::= BANKISEL expression (ignored, with a warning)
void Parser::pagesel(uint16_t k) {
  expression();
  if (k == K_BANKISEL) msg_report(as_.msg, MSG_BANKISEL_IGNORED);
}

// if ::= IF expression; elsif ::= ELSIF expression
void Parser::if_elsif(uint16_t k) {
  Value v = folded(expression());
  set_value(node(k)->op_opnd1, v);
}

// name-list ::= [ "c" ":" ] NAME { "," [ "c" ":" ] NAME }, after EXTRN, GLOBAL or PUBLIC
void Parser::name_list(unsigned keyword) {
  do {
    if (peek() == ACCESS && ps_.look.kw && ps_.look.kw->name[0] == 'c') {
      shift();
      expect(TK_COLON);
    }
    sym_declare(as_, expect(TK_NAME).sym, keyword);
  } while (accept(TK_COMMA));
}

// local ::= LOCAL name-list, outside a macro: the macro processor reads the names
void Parser::local() {
  ps_.has_look = false;
  macro_local_outside(as_);
}

// radix ::= RADIX hex | RADIX dec | RADIX oct
void Parser::radix() {
  Token r = expect(K_RADIXVAL);
  if (r.value < 2 || r.value > 16) msg_report(as_.msg, MSG_BAD_RADIX);
  else lex_set_radix(as_, r.value);
}

// fnaddr ::= FNADDR NAME; fnroot ::= FNROOT NAME
void Parser::fn_flag(uint32_t flag) { expect(TK_NAME).sym->s_flags |= flag; }

// fnindir ::= FNINDIR NAME "," NUMBER; signat ::= SIGNAT NAME "," NUMBER
void Parser::fnindir_signat(uint16_t k) {
  Symbol *s = expect(TK_NAME).sym;
  expect(TK_COMMA);
  uint16_t num = number<uint16_t>();
  if (k == K_FNINDIR) {
    sym_set_add(sym_lists_make(as_, s).s_indir, num);
  } else {
    s->s_flags |= SF_SIGNAT;
    s->s_signat = num;
  }
}

// fncall ::= FNCALL NAME "," NAME; fnbreak ::= FNBREAK NAME "," NAME; fnarg ::= FNARG NAME "," NAME
void Parser::fn_pair(uint16_t k) {
  Symbol *a = expect(TK_NAME).sym;
  expect(TK_COMMA);
  Symbol *b = expect(TK_NAME).sym;
  SymbolLists &l = sym_lists_make(as_, a);
  auto &set = k == K_FNCALL ? l.s_calls : k == K_FNBREAK ? l.s_breaks : l.s_args;
  sym_set_add(set, b->s_name);
}

// fnalign ::= FNALIGN NAME { "," NAME }
void Parser::fnalign() {
  std::vector<const char *> group{expect(TK_NAME).sym->s_name};
  while (accept(TK_COMMA)) group.push_back(expect(TK_NAME).sym->s_name);
  decl_.fnalign.push_back(std::move(group));
}

// fnconf ::= FNCONF WORD "," WORD "," WORD [ "," NUMBER ], read in LEX_PLAIN
void Parser::fnconf() {
  set_ctx(LEX_PLAIN);
  const char *w[3];
  for (int i = 0; i < 3; ++i) {
    if (i) expect(TK_COMMA);
    w[i] = intern(expect(TK_WORD).text);
  }
  if (accept(TK_COMMA)) decl_.fnconf_number = number<uint16_t>();
  std::memcpy(decl_.fnconf, w, sizeof w);
  set_ctx(LEX_NORMAL);
}

// fnsize ::= FNSIZE NAME "," expression "," expression
void Parser::fnsize() {
  Symbol *s = expect(TK_NAME).sym;
  expect(TK_COMMA);
  Value a = folded(expression());
  expect(TK_COMMA);
  Value b = folded(expression());
  if (!positive(a) || !positive(b)) {
    msg_report(as_.msg, MSG_BAD_FNSIZE);
    return;
  }
  auto clamp = [](int64_t v) { return static_cast<uint16_t>(v > 65535 ? 65535 : v); };
  if (clamp(a.v_offs) > s->s_autosize) s->s_autosize = clamp(a.v_offs);
  if (clamp(b.v_offs) > s->s_argsize) s->s_argsize = clamp(b.v_offs);
  s->s_flags |= SF_FNSIZE;
}

// dabs ::= DABS NUMBER "," NUMBER "," NUMBER [ "," NAME ]
void Parser::dabs() {
  DabsEntry e;
  e.space = number<uint8_t>();
  expect(TK_COMMA);
  e.address = number<uint32_t>();
  expect(TK_COMMA);
  e.size = number<uint32_t>();
  if (accept(TK_COMMA)) {
    Symbol *s = expect(TK_NAME).sym;
    e.name = s->s_name;
    bool defined = !(s->s_flags & SF_UNDEF);
    if (defined && !(s->s_value.v_rtype == RT_ABS && s->s_value.v_offs == static_cast<int64_t>(e.address)))
      msg_report(as_.msg, MSG_MULTIPLY_DEFINED, s->s_name);
    s->s_value = expr_abs(e.address);
    s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_GLOBAL | SF_DABS;
    ++s->s_refcnt;
  }
  decl_.dabs.push_back(e);
}

// data-list ::= data-item { "," data-item }, after DB, DW or DDW, read in LEX_STRING_ESC
void Parser::data_list(uint16_t size) {
  set_ctx(LEX_STRING_ESC);
  DataItem *first = nullptr, **tail = &first;
  do data_item(tail);
  while (accept(TK_COMMA));
  set_ctx(LEX_NORMAL);
  Statement *n = node(DATA);
  n->op_subop = size;
  n->op_list = first;
}

// data-item ::= WORD | expression. A string followed by "," or the end of the line is one item
// per character; a string that an operator follows is a character constant.
void Parser::data_item(DataItem **&tail) {
  auto add = [&](const Value &v) {
    DataItem *d = list_new_data_item(as_);
    d->value = v;
    *tail = d;
    tail = &d->next;
  };
  if (peek() != TK_WORD) {
    add(folded(expression()));
    return;
  }
  std::string_view w = shift().text;
  uint16_t k = peek();
  if (k == TK_COMMA || k == TK_EOL || k == TK_COMMENT) {
    for (char ch : w) add(expr_abs(static_cast<signed char>(ch)));
    return;
  }
  add(folded(expression_from(expr_char(as_, w))));
}

// ds ::= DS expression
void Parser::ds() {
  Value v = folded(expression());
  if (!positive(v)) msg_report(as_.msg, MSG_NEED_POSITIVE_CONSTANT);
  set_value(node(DS)->op_opnd1, v);
}

// org ::= ORG expression
void Parser::org() {
  Value v = folded(expression());
  if (!positive(v)) msg_report(as_.msg, MSG_ORG_NEEDS_POSITIVE);
  Statement *n = node(ORG);
  n->op_num = static_cast<uint64_t>(v.v_offs);
  set_value(n->op_opnd1, v);
}

// align ::= ALIGN expression
void Parser::align() {
  Value v = folded(expression());
  if (!(v.v_rtype == RT_ABS && v.v_offs >= 1)) msg_report(as_.msg, MSG_ALIGN_NEEDS_POSITIVE);
  node(ALIGN)->op_num = static_cast<uint64_t>(v.v_offs);
}

// line ::= LINE NUMBER | LINE "#"
void Parser::line_number() {
  if (accept(TK_HASH)) {
    ps_.line_follows = ps_.generated = true;
    return;
  }
  int64_t num = expect(TK_NUMBER).num;
  if (lex_in_macro(as_)) return;
  ps_.generated = true;
  as_.list.src.hl_line = static_cast<uint64_t>(num);
  as_.list.src.hl_set = true;
  ps_.line_follows = false;
  lex_line_directive(as_, static_cast<long>(num));
}

// file ::= FILE WORD
void Parser::file() {
  std::string_view w = expect(TK_WORD).text;
  if (lex_in_macro(as_)) return;
  ps_.generated = true;
  as_.list.src.hl_file = w.empty() ? lex_file(as_) : intern(w);
  as_.list.src.hl_set = true;
}

// processor ::= PROCESSOR processor-name
void Parser::processor() {
  set_ctx(LEX_DEVICE);
  processor_name();
  set_ctx(LEX_NORMAL);
}

// processor-name, read in LEX_DEVICE: must name the device of the command line
void Parser::processor_name() {
  std::string_view name = expect(TK_DEVICE).text;
  if (name != as_.opt.device_name) msg_report(as_.msg, MSG_PROCESSOR_CONFLICT);
}

// hash-line ::= "#" | "#" NUMBER | "#" NUMBER WORD | "#" NUMBER WORD NUMBER...
void Parser::hash_line() {
  bool in_macro = lex_in_macro(as_);
  if (peek() != TK_NUMBER) {
    if (!in_macro) lex_unmark_line(as_);
    return;
  }
  int64_t num = shift().num;
  const char *file = nullptr;
  bool flags = false;
  if (peek() == TK_WORD) {
    file = intern(shift().text);
    while (accept(TK_NUMBER)) flags = true;
  }
  if (in_macro) return;
  if (flags && file && (file[0] == '<' || (*file && file[std::strlen(file) - 1] == '>'))) return;
  long line = static_cast<long>(static_cast<uint64_t>(num) - 1);
  lex_mark_line(as_, line, file);
  as_.list.src.hl_line = static_cast<uint64_t>(line);
  as_.list.src.hl_set = true;
  if (file) as_.list.src.hl_file = file;
}

// range-list ::= range { "," range }; range ::= NUMBER | NUMBER "-" NUMBER (__badram, no effect)
void Parser::range_list() {
  do {
    expect(TK_NUMBER);
    if (accept(TK_MINUS)) expect(TK_NUMBER);
  } while (accept(TK_COMMA));
}

// rept ::= REPT expression EOL; the body up to ENDM is read by the macro processor
void Parser::rept() {
  Value v = folded(expression());
  int64_t count = v.v_offs;
  if (!positive(v)) {
    msg_report(as_.msg, MSG_REPT_NEGATIVE);
    count = 1;
  }
  uint16_t e = peek();
  if (e != TK_EOL && e != TK_COMMENT) throw SyntaxError{};
  bool comment = e == TK_COMMENT;
  shift();
  lex_skip_line(as_);
  bool expanded = lex_in_macro(as_);
  macro_define_rept(as_, count);
  repeat_placeholder(expanded);
  if (comment) list_attach_eol_comment(as_, intern(ps_.comment));
  lex_skip_line(as_);
}

// irp ::= IRP NAME "," arguments; irpc ::= IRPC NAME "," text (read by the macro processor)
void Parser::irp(uint16_t k) {
  bool expanded = lex_in_macro(as_);
  if (k == K_IRP) macro_define_irp(as_);
  else macro_define_irpc(as_);
  repeat_placeholder(expanded);
  lex_skip_line(as_);
}

// psect ::= PSECT NAME { [","] psect-flag }
void Parser::psect() {
  lex_set_psect_flags(as_, PSR_NAME);
  lex_set_lookup_class(as_, SF_PSECT);
  Symbol *p = expect(TK_NAME).sym;
  lex_set_lookup_class(as_, 0);
  psect_enter(as_, p);
  lex_set_psect_flags(as_, PSR_FLAGS);
  for (bool first = true;; first = false) {
    uint16_t k = peek();
    if (k == TK_COMMA) shift();
    else if (!first) break;
    if (!psect_item(p)) break;
  }
  lex_set_psect_flags(as_, PSR_NONE);
  psect_finish(as_, p);
}

// psect-flag ::= word | word "=" expression | word "=" NAME | optim "=" word { ":" word };
// false at the end of the line.
bool Parser::psect_item(Symbol *p) {
  uint16_t k = peek();
  if (k != K_PSECTFLAG) {
    if (k == TK_EOL || k == TK_COMMENT) return false;
    throw SyntaxError{};
  }
  unsigned w = shift().value;
  switch (w) {
  case PFW_SIZE: case PFW_LIMIT: case PFW_RELOC: case PFW_DELTA: case PFW_SPACE: case PFW_GROUP: {
    expect(TK_EQUALS);
    lex_set_psect_flags(as_, PSR_NAME);
    Value v = folded(expression());
    lex_set_psect_flags(as_, PSR_FLAGS);
    psect_flag(as_, p, w, &v, nullptr);
    break;
  }
  case PFW_CLASS:
  case PFW_WITH: {
    expect(TK_EQUALS);
    lex_set_psect_flags(as_, PSR_NAME);
    lex_set_lookup_class(as_, w == PFW_CLASS ? SF_CLASS : SF_PSECT);
    Symbol *n = expect(TK_NAME).sym;
    lex_set_lookup_class(as_, 0);
    lex_set_psect_flags(as_, PSR_FLAGS);
    psect_flag(as_, p, w, nullptr, n);
    break;
  }
  case PFW_OPTIM: optim_items(p); break;
  case PFW_PA: case PFW_JUMP: case PFW_PEEP: case PFW_REMOVE: throw SyntaxError{};
  default: psect_flag(as_, p, w, nullptr, nullptr); break;
  }
  return true;
}

// optim "=" [word] { ":" [word] }: the optimizations of the psect
void Parser::optim_items(Symbol *p) {
  expect(TK_EQUALS);
  std::vector<unsigned> items;
  do {
    if (peek() != K_PSECTFLAG) continue;
    unsigned it = shift().value;
    if (it != PFW_INLINE && it != PFW_PA && it != PFW_JUMP && it != PFW_PEEP && it != PFW_REMOVE &&
        it != PFW_CODECOV)
      throw SyntaxError{};
    items.push_back(it);
  } while (accept(TK_COLON));
  psect_optim(as_, p, items);
}

// config ::= CONFIG config-item { "," config-item }, read in LEX_CONFIG;
// config-item ::= WORD | name "=" value
void Parser::config() {
  set_ctx(LEX_CONFIG);
  do {
    uint16_t k = peek();
    if (k != TK_WORD && k != TK_CFG_REG && k != TK_CFG_SETTING && k != TK_CFG_SWITCH) throw SyntaxError{};
    std::string name(shift().text);
    if (k == TK_WORD && peek() != TK_EQUALS) {
      cfg_prog_from_string(as_, name);
      continue;
    }
    expect(TK_EQUALS);
    uint16_t v = peek();
    if (v == TK_NUMBER) {
      cfg_prog_with_value(as_, name, static_cast<uint64_t>(shift().num));
    } else if (v == TK_WORD || v == TK_CFG_REG || v == TK_CFG_SETTING || v == TK_CFG_SWITCH) {
      cfg_prog_with_name(as_, name, shift().text);
    } else {
      throw SyntaxError{};
    }
  } while (accept(TK_COMMA));
  set_ctx(LEX_NORMAL);
}

// ------------------------------------------------------------------ expressions

Value Parser::expression() {
  uint16_t k = peek();
  if (k == TK_FLOAT) return expression_from(expr_float(shift().fnum));
  if (k == TK_MINUS) {
    shift();
    if (peek() == TK_FLOAT) return expression_from(expr_float(shift().fnum, true));
    push_depth(NEST_COST);
    Value v = primary();
    ps_.depth -= NEST_COST;
    expr_unary(as_, OPR_NEG, v);
    return expression_from(v);
  }
  return expression_from(primary());
}

Value Parser::expression_from(Value left) {
  while (is_binop(peek())) {
    unsigned op = shift().value;
    push_depth(2);
    Value right = primary();
    ps_.depth -= 2;
    expr_binary(as_, op, left, right);
  }
  return left;
}

Value Parser::primary() {
  uint16_t k = peek();
  if (k == TK_EOL || k == TK_COMMENT || k == TK_EOF) throw SyntaxError{};  // left for recovery
  Token t = shift();
  switch (k) {
  case TK_NUMBER: return expr_abs(t.num);
  case TK_DOLLAR: return expr_dot(as_.sym.cur_psect);
  case TK_NAME: return expr_symbol(as_, t.sym);
  case TK_TLABF:
  case TK_TLABB: return expr_tlab(t.num, k == TK_TLABF);
  case TK_WORD: return expr_char(as_, t.text);
  case K_DEFINED: return expr_defined(intern(expect(TK_WORD).text));
  case TK_LPAREN: {
    push_depth(NEST_COST);
    Value v = expression();
    expect(TK_RPAREN);
    ps_.depth -= NEST_COST;
    return v;
  }
  default: return prefixed_primary(k, t.kw);
  }
}

// The prefix forms of primary: "~", not, "c:", "b:", "+", "-", the unary functions.
Value Parser::prefixed_primary(uint16_t k, const Keyword *kw) {
  unsigned op = 0;
  switch (k) {
  case TK_TILDE:
  case K_NOT: op = OPR_NOT; break;
  case TK_MINUS: op = OPR_NEG; break;
  case TK_PLUS: op = OPR_PLUS; break;
  case K_UNARY: op = kw ? kw->value : 0; break;
  case ACCESS:
    if (!kw || kw->name[0] != 'c') throw SyntaxError{};
    expect(TK_COLON);
    break;
  case BANKED: expect(TK_COLON); break;
  default: throw SyntaxError{};
  }
  push_depth(NEST_COST);
  Value v = primary();
  ps_.depth -= NEST_COST;
  if (k == ACCESS) v.v_flags |= VF_ACCESS;
  else if (op && op != OPR_PLUS) expr_unary(as_, op, v);
  return v;
}

}  // namespace

void parse(Assembly &as) {
  as.parse = ParserState{};
  as.decl = Declarations{};
  Parser(as).run();
  lex_skip_line(as);
}
