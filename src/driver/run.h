// The run sequence: options, device, parse, resolve, optimize, lay out, write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Assembly;

// Runs one assembly; args[0] is the program path. Returns the exit status (0 or 1).
int run_assembly(Assembly &as, std::vector<std::string> args);

// The stages of one run, in the order run_assembly runs them; each completes before the next
// begins. Tests, benchmarks and fuzzers run the stages they need and catch the AsmExit that a
// fatal message (or the error limit) throws out of any of them.

// The optimizer's loop guard, and the message engine with the default templates, the message
// database and the hook that points each message at the reader's file and line.
void run_start(Assembly &as);
// The arguments and options, the device, the HTML report header, the identification text and
// the cross-reference file.
void run_setup(Assembly &as, std::vector<std::string> args);
// The symbol table, the reader and the temporary-label table. With text, the first source file
// is read from that text (which must outlive the run) instead of from the file system.
void run_open_input(Assembly &as, std::optional<std::string_view> text = std::nullopt);
// Parses every source into the statement lists; comments still pending are dropped.
void run_parse(Assembly &as);
// Finishes the statement lists: no optimizer on extended-instruction-set code, the
// configuration psects, the output names and the listing file, the IF pass, the psect
// selection, operand rewriting, the optimizer (-O), the errata NOP pass and the instruction-set
// symbols.
void run_finish_lists(Assembly &as);
// Sizes the psects and writes the listing and the object file, or the assembly text; closes
// the cross-reference file and the HTML report.
void run_write_outputs(Assembly &as);

// The next source file name in command-line order, or null when none is left.
const std::string *next_source_file(Assembly &as);

// The name with its extension replaced: everything after the last "." anywhere in the name.
std::string replace_extension(const std::string &name, const char *ext);
