// The run sequence: options, device, parse, resolve, optimize, lay out, write.
#pragma once

#include <string>
#include <vector>

struct Assembly;

// Runs one assembly; args[0] is the program path. Returns the exit status (0 or 1).
int run_assembly(Assembly &as, std::vector<std::string> args);

// Points each message at the reader's current file and line (no column).
void run_set_message_hook(Assembly &as);

// The next source file name in command-line order, or null when none is left.
const std::string *next_source_file(Assembly &as);

// The name with its extension replaced: everything after the last "." anywhere in the name.
std::string replace_extension(const std::string &name, const char *ext);
