// Command line: where the arguments come from, the argument reader, and option scanning.
#include "driver/options.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>

#include "config/cfgdata.h"
#include "driver/assembly.h"
#include "driver/version.h"
#include "host/debug.h"
#include "host/os.h"
#include "support/ascii.h"

namespace {

constexpr size_t ARG_MAX_CHARS = 2048;

// atoi without its undefined overflow: leading blanks, a sign, digits; saturates.
int read_int(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\f' ||
                          s[i] == '\v'))
    ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  long long v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + (s[i++] - '0');
    if (v > INT_MAX) v = static_cast<long long>(INT_MAX) + 1;
  }
  if (neg) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

// strtol for a given base, saturating to 32 bits unsigned as the mask is stored.
unsigned long read_long(std::string_view s, int base) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  if (base == 16 && i + 1 < s.size() && s[i] == '0' && (s[i + 1] | 0x20) == 'x') i += 2;
  unsigned long long v = 0;
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') d = (c | 0x20) - 'a' + 10;
    else break;
    if (d >= base) break;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFULL) v = 0xFFFFFFFFULL;
  }
  return static_cast<unsigned long>(neg ? (0 - v) & 0xFFFFFFFFULL : v);
}

bool iprefix(std::string_view s, std::string_view p, size_t n) {
  if (p.size() < n || s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (ascii_lower(s[i]) != ascii_lower(p[i])) return false;
  return true;
}

bool iprefix(std::string_view s, std::string_view p) { return iprefix(s, p, p.size()); }

// The usage text of --help, grouped as the manual page lists the options.
constexpr const char *USAGE =
    "usage: aszel18 [options] file...\n"
    "       aszel18 @cmdfile\n"
    "       aszel18            (arguments read from standard input)\n"
    "\n"
    "Options end at the first argument that does not begin with \"-\".\n"
    "\n"
    "Device and input:\n"
    "  -mcpu=<device>       target device (required); -<device> also names one\n"
    "  -C<path>             chip-info file to use instead of the installed one\n"
    "  --cfgdata=<file>     configuration data file; --cfgdata=disabled: none\n"
    "  --maxizel            widen the device to its family's largest memory\n"
    "  --xinst              extended instruction set mode\n"
    "\n"
    "Output:\n"
    "  -O<file>             object (or assembly text) file name\n"
    "  -A                   write assembly text (.opt) instead of an object file\n"
    "  -L, -L<file>         write a listing (.lst) and a relocatable listing (.rlf)\n"
    "  -C                   write a cross-reference file (.crf)\n"
    "  -F<n>                listing lines per page (0, or at least 15)\n"
    "  -T<n>                listing page width (at least 60)\n"
    "  -H                   constants in listing and assembly text in hexadecimal\n"
    "  -I                   list include files and macro expansions\n"
    "  -V                   statements carry assembler line numbers\n"
    "  -ver=<text>          version text in the identification of output files\n"
    "  --xident             identification carries device and instruction set\n"
    "  --lib                names under the installation recorded relative to it\n"
    "\n"
    "Optimizer:\n"
    "  -O                   optimize the code psects\n"
    "  --opt=<list>         space: procedural abstraction; debug: keep debugging intact\n"
    "  -auto_inline         inline small functions without being asked\n"
    "  -no_inline           no inlining\n"
    "  -no_pa               no procedural abstraction\n"
    "  -B<name>             callers of routine <name> keep their psect\n"
    "  -no_trans            no automatic adjustments of branches, access bits, NOP\n"
    "  --errata=<n>         device errata work-arounds (bit mask)\n"
    "\n"
    "Messages:\n"
    "  -E                   message layout from templates (NTX_ERR_FORMAT,\n"
    "                       NTX_WARN_FORMAT, NTX_MSG_FORMAT)\n"
    "  -E<digit>            template mode value; -E0 turns templates off\n"
    "  -E<file>             append messages to <file>\n"
    "  -W<n>, -W<n>!        warning threshold; with !, shown warnings fail the run\n"
    "  --emax=<n>           error limit (default 20)\n"
    "  --msgdisable=<list>  disable messages: n, n:off, or 0 for all warnings\n"
    "  --disl=<list>        same as --msgdisable=\n"
    "  --edf=<file>         load a message file\n"
    "\n"
    "Other:\n"
    "  --cmode=<name>       compatibility mode (ntx, kvstd, kvpro, quillas, kv5, kv6,\n"
    "                       kvide, xcomp)\n"
    "  --udf=<file>         write an HTML report\n"
    "  --kvdebug=<spec>     debug trace\n"
    "  -R<hex>, -X          accepted, no effect\n"
    "  --ver                print the version block and exit\n"
    "  --help               print this text and exit\n";

void print_version(Assembly &as) {
  std::ostream &o = *as.io.out;
  o << "\nProduct:\tKV8\n"
    << "Component:\tassembler\n"
    << "Version:\t" << ASZEL18_VERSION << " \n"
    << "Build date:\t" << ASZEL18_BUILD_DATE << "\n"
    << "Release:\t\n"
    << "Build number:\t" << ASZEL18_BUILD_NUMBER << "\n"
    << std::string_view(ASZEL18_BUILD_NUMBER, 4) << " " << ASZEL18_NOTICE << "\n";
  o.flush();
}

void open_error_file(Assembly &as, const std::string &name) {
  auto f = std::make_unique<OutFile>();
  // Line-buffered in effect: every message line is flushed as it is written.
  if (!f->create(name, true)) {
    int e = errno;
    msg_report(as.msg, MSG_CANT_CREATE_FILE, "error", name);
    msg_print_raw(as.msg, "%s: %s", name, os_errtext(e));
    return;
  }
  as.io.err_owned = std::move(f);
  as.io.err = as.io.err_owned.get();
  as.msg.err = as.io.err;
}

void open_udf(Assembly &as, const std::string &name) {
  auto f = std::make_unique<OutFile>();
  if (!f->create(name)) {
    msg_report(as.msg, MSG_CANT_CREATE_FILE, "HTML report", name);
    return;
  }
  *f << "<!DOCTYPE html>\n<html>\n<head>\n<title>Assembler information for " << name
     << "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"udf_styles.css\">\n</head>\n<body>\n";
  as.opt.udf_file = name;
  as.drv.udf = std::move(f);
}

void scan_double_dash(Assembly &as, const std::string &arg) {
  AsmOptions &o = as.opt;
  std::string_view kw = std::string_view(arg).substr(2);
  if (iprefix(kw, "edf=")) {
    std::string file(kw.substr(4));
    FileId id;
    if (!msg_load_file(as.msg, file)) msg_print_raw(as.msg, "Could not open error description file %s\n", file);
    else if (os_file_id(file, id)) as.drv.inputs.push_back(id);
  } else if (iprefix(kw, "disl=")) {
    msg_disable_list(as.msg, kw.substr(5));
  } else if (iprefix(kw, "emax=")) {
    msg_set_error_limit(as.msg, read_int(kw.substr(5)));
  } else if (iprefix(kw, "msgdisable=")) {
    msg_disable_list(as.msg, kw.substr(11));
  } else if (iequal(kw, "ver")) {
    print_version(as);
    throw AsmExit{0};
  } else if (iequal(kw, "help")) {
    *as.io.out << USAGE;
    as.io.out->flush();
    throw AsmExit{0};
  } else if (iprefix(kw, "opt=")) {
    std::string_view list = kw.substr(4);
    if (list.find("DEBUG") != std::string_view::npos || list.find("debug") != std::string_view::npos)
      o.opt_debug = true;
    if (list.find("SPACE") != std::string_view::npos || list.find("space") != std::string_view::npos)
      o.opt_space = true;
  } else if (iprefix(kw, "errata")) {
    // The number starts at the tenth character of the whole argument, whatever precedes it.
    o.errata_mask = arg.size() > 9 ? static_cast<uint32_t>(read_long(std::string_view(arg).substr(9), 10)) : 0;
  } else if (iprefix(kw, "cmode=")) {
    std::string name(kw.substr(6));
    o.compat_mode = cmode_lookup(name);
    if (!o.compat_mode) msg_print_raw(as.msg, "Unknown cmode (%s)", name);
  } else if (iprefix(kw, "udf=")) {
    open_udf(as, std::string(kw.substr(4)));
  } else if (iequal(kw, "lib")) {
    o.lib_relative = true;
  } else if (iequal(kw, "maxizel")) {
    o.maximal_device = true;
  } else if (iprefix(kw, "kvdebug=")) {
    o.kvdebug = std::string(kw);
    debug_configure(as, o.kvdebug);
  } else if (iequal(kw, "xinst")) {
    o.xinst = true;
  } else if (iequal(kw, "xident")) {
    o.xident = true;
  } else if (iprefix(kw, "cfgdata=")) {
    std::string file(kw.substr(8));
    if (file == "disabled") {
      o.cfgdata_disabled = true;
      cfg_disable(as);
    } else {
      o.cfgdata_file = file;
      cfg_load_data(as, file);
    }
  } else {
    msg_report(as.msg, MSG_UNKNOWN_OPTION, arg);
  }
}

}  // namespace

uint32_t cmode_lookup(const std::string &name) {
  // Value 1 is this toolchain's own mode; the others name sibling suites and an outside compiler.
  static constexpr struct {
    const char *name;
    uint32_t bit;
  } CMODES[] = {{"ntx", 1},    {"kvstd", 2},  {"kvpro", 4}, {"quillas", 8},
                {"kv5", 16},   {"kv6", 32},   {"kvide", 64}, {"xcomp", 128}};
  for (const auto &c : CMODES)
    if (name == c.name) return c.bit;
  return 0;
}

// The text is read character by character as it comes, so that input without line ends (or
// with an endless argument) costs no more memory than one argument of ARG_MAX_CHARS.
std::vector<std::string> read_arguments(Assembly &as, std::istream &in, bool terminal, const char *progname) {
  std::vector<std::string> argv;
  argv.emplace_back();
  std::string cur;
  bool have = false;  // an argument is being collected
  auto finish = [&] {
    if (!have) return;
    argv.push_back(std::move(cur));
    cur.clear();
    have = false;
  };
  auto add = [&](char c) {
    have = true;
    if (cur.size() < ARG_MAX_CHARS) cur.push_back(c);
    else msg_report(as.msg, MSG_ARGUMENT_TOO_LONG);
  };
  char quote = 0;
  auto take = [&](char c) {
    if (quote) {
      if (c == quote) quote = 0;
      else add(c);
    } else if (c == '"' || c == '\'') {
      quote = c;
      have = true;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      finish();
    } else {
      add(c);
    }
  };

  std::streambuf *sb = in.rdbuf();
  using Traits = std::char_traits<char>;
  bool more = true;  // as if the previous line ended in a continuation backslash
  while (more) {
    if (terminal) {
      *as.io.err << progname << "> ";
      as.io.err->flush();
    }
    // Carriage returns and one backslash before them wait: at the line end they are dropped
    // (the backslash continuing the line on a terminal); anywhere else they are characters.
    bool pend_bs = false;
    size_t pend_cr = 0;
    auto flush_pending = [&] {
      if (pend_bs) take('\\');
      for (; pend_cr; --pend_cr) take('\r');
      pend_bs = false;
    };
    bool any = false, ended = false;  // the line has characters; it has a line feed
    char last = 0;
    quote = 0;
    for (int ch; sb && (ch = sb->sbumpc()) != Traits::eof();) {
      char c = static_cast<char>(ch);
      any = true;
      last = c;
      if (c == '\n') {
        ended = true;
        break;
      }
      if (c == '\r') {
        ++pend_cr;
      } else if (c == '\\' && terminal) {
        flush_pending();
        pend_bs = true;
      } else {
        flush_pending();
        take(c);
      }
    }
    if (!any) break;  // end of input
    if (!ended && last != '\r') msg_report(as.msg, MSG_NO_NEWLINE);
    bool cont = pend_bs;
    // A quoted run ends with its line.
    if (!cont) finish();
    if (terminal) more = cont;
    else if (!ended) more = false;
  }
  finish();
  return argv;
}

void parse_command_line(Assembly &as, std::vector<std::string> args) {
  if (args.size() <= 1) {
    args = read_arguments(as, *as.io.in, as.io.in_is_tty, "ASZEL18");
  } else if (args.size() == 2 && !args[1].empty() && args[1][0] == '@') {
    std::string name = args[1].substr(1);
    as.drv.cmdfile = name;
    FileId id;
    std::FILE *check = os_open_input(name, id);  // refuses a directory, which would read as empty
    auto f = check ? std::make_unique<std::ifstream>(name, std::ios::in | std::ios::binary) : nullptr;
    int e = errno;
    if (check) std::fclose(check);
    if (!f || !f->is_open()) {
      msg_report(as.msg, MSG_CANT_OPEN_COMMAND_FILE, name);
      msg_print_raw(as.msg, "%s: %s", name, os_errtext(e));
    } else {
      as.drv.inputs.push_back(id);
      as.io.in_owned = std::move(f);
      as.io.in = as.io.in_owned.get();
      as.io.in_is_tty = false;
    }
    args = read_arguments(as, *as.io.in, as.io.in_is_tty, "ASZEL18");
  }
  const std::string &first = args.empty() ? std::string() : args[0];
  size_t cut = first.rfind('\\');
  if (cut == std::string::npos) cut = first.rfind('/');
  as.drv.program_dir = cut == std::string::npos ? std::string() : first.substr(0, cut);
  as.drv.args = std::move(args);
  scan_options(as, as.drv.args);
}

void scan_options(Assembly &as, const std::vector<std::string> &args) {
  AsmOptions &o = as.opt;
  size_t i = 1;
  for (; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
    const std::string &a = args[i];
    char c = a.size() > 1 ? a[1] : 0;
    std::string_view rest = a.size() > 2 ? std::string_view(a).substr(2) : std::string_view();
    switch (c) {
    case 'A':
    case 'a':
      if (iprefix(a, "-auto_inline")) o.auto_inline = true;
      else o.asm_output = true;
      break;
    case 'B':  // upper case only; -b names a device
      o.call_exclusions.insert(std::string(rest));
      break;
    case 'C':
    case 'c':
      if (rest.empty()) ++o.xref;
      else o.chipinfo_path = std::string(rest);
      break;
    case 'E':
    case 'e':
      if (rest.empty()) o.error_format_mode = 1;
      else if (rest.size() == 1 && rest[0] >= '0' && rest[0] <= '9') o.error_format_mode = rest[0] - '0';
      else open_error_file(as, std::string(rest));
      msg_set_format_mode(as.msg, o.error_format_mode);
      break;
    case 'F':
    case 'f':
      o.form_length = read_int(rest);
      if (o.form_length != 0 && o.form_length <= 14) msg_report(as.msg, MSG_FORM_LENGTH_15);
      break;
    case 'H':
    case 'h':
      o.hex_constants = true;
      break;
    case 'I':
    case 'i':
      o.force_listing = true;
      o.list_expansions = true;
      break;
    case 'L':
    case 'l':
      o.listing = true;
      if (!rest.empty()) o.listing_file = std::string(rest);
      break;
    case 'm':  // lower case only; other -m arguments are ignored
      if (a.compare(0, 6, "-mcpu=") == 0) o.device_name = ascii_upper_text(std::string_view(a).substr(6));
      break;
    case 'N':
    case 'n':
      if (iprefix(a, "-no_pa")) o.no_pa = true;
      else if (iprefix(a, "-no_inline")) o.no_inline = true;
      else if (iprefix(a, "-no_trans")) o.no_trans = true;
      break;
    case 'O':
    case 'o':
      if (rest.empty()) o.optimize = true;
      else o.output_file = std::string(rest);
      break;
    case 'R':
    case 'r':
      static_cast<void>(read_long(rest, 16));
      break;
    case 'T':
    case 't':
      o.page_width = read_int(rest);
      if (o.page_width < 60) msg_report(as.msg, MSG_PAGE_WIDTH_60);
      break;
    case 'V':
    case 'v':
      if (a.compare(0, 5, "-ver=") == 0) o.version_text = a.substr(5);
      else {
        o.line_numbers = true;
        ++o.verbose;
      }
      break;
    case 'W':
    case 'w':
      o.warning_level = read_int(rest);
      msg_set_warning_level(as.msg, o.warning_level);
      if (a.find('!') != std::string::npos) msg_set_warnings_fatal(as.msg, true);
      break;
    case 'X':
    case 'x':
      break;
    case '-':
      scan_double_dash(as, a);
      break;
    default:
      if (o.device_name.empty()) o.device_name = ascii_upper_text(std::string_view(a).substr(a.empty() ? 0 : 1));
      break;
    }
  }
  for (; i < args.size(); ++i) o.source_files.push_back(args[i]);
}
