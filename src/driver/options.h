// Command line: argument sources, the argument reader and option scanning into AsmOptions.
#pragma once

#include <cstdint>
#include <istream>
#include <set>
#include <string>
#include <vector>

struct Assembly;

struct AsmOptions {
  bool asm_output = false;                // -A: assembly text instead of an object file
  bool auto_inline = false;               // -auto_inline
  std::set<std::string> call_exclusions;  // -B<name>: routines whose callers keep their psect
  unsigned xref = 0;                      // -C: write the cross-reference file
  std::string chipinfo_path;              // -C<path>: chip-info file to use
  int error_format_mode = 1;              // -E forms: handed to the message engine
  int form_length = 0;                    // -F: listing lines per page
  bool hex_constants = false;             // -H: constants printed as "$%llX"
  bool force_listing = false;             // -I: LIST OFF, NOLIST, NOEXPAND have no effect
  bool list_expansions = false;           // -I, EXPAND/NOEXPAND: list includes and expansions
  bool listing = false;                   // -L
  std::string listing_file;               // -L<file>
  std::string device_name;                // -mcpu=, -<name>: upper-cased
  bool no_pa = false;                     // -no_pa
  bool no_inline = false;                 // -no_inline
  bool no_trans = false;                  // -no_trans: no automatic adjustments
  bool optimize = false;                  // -O
  std::string output_file;                // -O<file>
  int page_width = 0;                     // -T
  bool line_numbers = false;              // -V
  int verbose = 0;                        // -V given this many times; above 1 traces the optimizer
  std::string version_text;               // -ver=
  int warning_level = 0;                  // -W
  bool opt_debug = false;                 // --opt=debug
  bool opt_space = false;                 // --opt=space
  uint32_t errata_mask = 0;               // --errata=
  uint32_t compat_mode = 0;               // --cmode=
  std::string udf_file;                   // --udf=: HTML report file
  bool lib_relative = false;              // --lib
  bool maximal_device = false;            // --maxizel
  bool xinst = false;                     // --xinst
  bool xident = false;                    // --xident
  std::string kvdebug;                    // --kvdebug=: debug trace specification
  std::string cfgdata_file;               // --cfgdata=<file>: configuration data file loaded
  bool cfgdata_disabled = false;          // --cfgdata=disabled
  std::vector<std::string> source_files;  // in command-line order
};

// Reads an argument list from text: quotes, separators, continuation lines (on a terminal),
// the 2048-character argument limit. The result's first element is empty.
std::vector<std::string> read_arguments(Assembly &as, std::istream &in, bool terminal, const char *progname);

// Turns the process arguments into AsmOptions and the source list (argument sources included).
// Returns the program directory taken from the first element.
void parse_command_line(Assembly &as, std::vector<std::string> args);

// Scans options from args[1] on; what does not begin with "-" starts the source files.
void scan_options(Assembly &as, const std::vector<std::string> &args);

// Compatibility-mode names: the bit for a name (case-sensitive), 0 if unknown.
uint32_t cmode_lookup(const std::string &name);
