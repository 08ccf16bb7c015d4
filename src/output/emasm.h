// Assembly text: the statement lists written back as assembler source (-A), and the same text
// generator in listing mode, where each line goes to the listing's line formatter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct Assembly;
struct Statement;

// The high-level position that the last FILE and LINE directives printed (assembly-output mode).
struct EmasmPos {
  const char *file = nullptr;
  uint64_t line = 0;  // 0: forgotten
};

// Receives one generated line, without its newline (listing mode).
using EmasmLineSink = std::function<void(std::string_view)>;
// Called in listing mode for each printed statement (listed true) after its comment lines and
// before its own lines reach the sink: the place where the encoder records the statement's
// address and bytes. A statement made while listing was off is passed with listed false, so
// that the walk still defines its temporary labels.
using EmasmStmtHook = std::function<void(const Statement &, bool listed)>;

// Appends the text of one statement to out: nothing for a statement without text (EQU, INCLUDE,
// TITLE, ENDM, a hidden statement, a label that is never referenced), else its full-line
// comments and its lines, each ending in a newline. In assembly-output mode (listing false) FILE
// and LINE directives come first when the statement's high-level position differs from pos.
void emasm_statement_text(Assembly &as, const Statement &n, bool listing, EmasmPos &pos, std::string &out);

// The symbol directives (GLOBAL, LOCAL, SIGNAT, FNSIZE, EQU, FNADDR, FNROOT, FNCALL, FNARG,
// FNBREAK, FNINDIR, FNALIGN), written to standard output. Adds the reference counts of symbols
// defined relative to other symbols to their base symbols first.
void emasm_symbol_directives(Assembly &as);

// The dump: processor, fnconf, page size, psect directives, DABS, every psect's statements and
// the core SFR equates. In assembly-output mode it goes to standard output; in listing mode each
// line goes to sink and hook sees each printed statement.
void emasm_dump(Assembly &as, bool listing, const EmasmLineSink &sink = {}, const EmasmStmtHook &hook = {});

// -A: the symbol directives, then the dump. The driver appends the summary comments.
void emasm_write(Assembly &as);
// -A: "end" with the start address the source's END gave, after the summary comments (reading
// stops at END, so nothing may follow it).
void emasm_end(Assembly &as);
