// The run sequence: each step completes before the next begins.
#include "driver/run.h"

#include <cerrno>
#include <fstream>
#include <new>

#include "config/config.h"
#include "driver/cmode.h"
#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "driver/version.h"
#include "host/debug.h"
#include "host/os.h"
#include "input/macro.h"
#include "output/emasm.h"

namespace {

// Prints a perror-style line for a file that could not be created.
void print_system_text(Assembly &as, const std::string &name, int err) {
  msg_print_raw(as.msg, "%s: %s", name, os_errtext(err));
}

std::unique_ptr<std::ofstream> create_file(const std::string &name, bool binary, int &err) {
  auto f = std::make_unique<std::ofstream>();
  f->open(name, std::ios::out | std::ios::trunc | (binary ? std::ios::binary : std::ios::openmode{}));
  err = errno;
  if (!f->is_open()) return nullptr;
  return f;
}

// Points standard output at a new file; false (and standard output unchanged) on failure.
bool reopen_stdout(Assembly &as, const std::string &name, int &err) {
  auto f = create_file(name, false, err);
  if (!f) return false;
  as.io.out_owned = std::move(f);
  as.io.out = as.io.out_owned.get();
  return true;
}

// Loads the named device, binds the core SFRs to it and widens it for --maxizel.
void load_device(Assembly &as) {
  chipinfo_load(as, as.opt.device_name, as.opt.chipinfo_path);
  sfr_init(as);
  if (as.opt.maximal_device && as.dev.chip) chip_widen(*as.dev.chip);
}

// The symbol table with its predefined symbol and the default psect.
void create_symbol_table(Assembly &as) { sym_init(as); }

// Parses every source into the statement lists.
void parse_input(Assembly &as) {
  lex_init(as);
  macro_init(as);
  parse(as);
  as.lex.radix = 10;
}

// An instruction-set symbol. A source that only declared it GLOBAL (assembly text written by
// -A does) gets it defined; a source that defined it otherwise keeps its own.
void define_isa_symbol(Assembly &as, std::string_view name, int64_t value) {
  Symbol *s = sym_find(as, name);
  if (s && (s->s_flags & SF_UNDEF) && !s->s_defnode) {
    s->s_value = expr_abs(value);
    s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_SET | SF_GLOBAL;
    return;
  }
  sym_define_cmdline(as, name, value);
}

void write_udf_header(Assembly &as, const std::vector<std::string> &args) {
  if (!as.drv.udf) return;
  std::ofstream &u = *as.drv.udf;
  u << "<h1>AS</h1>\n<h2>Assembler</h2>\n<p>";
  for (size_t i = 1; i < args.size(); ++i) u << (i > 1 ? " " : "") << args[i];
  u << "</p>\n";
}

void close_udf(Assembly &as) {
  if (!as.drv.udf) return;
  *as.drv.udf << "</body>\n</html>\n";
  as.drv.udf.reset();
}

void write_output(Assembly &as) {
  AsmOptions &o = as.opt;
  int err = 0;
  if (o.asm_output) {
    if (!reopen_stdout(as, as.drv.output_name, err)) {
      msg_report(as.msg, MSG_CANT_CREATE_ASM, as.drv.output_name);
      print_system_text(as, as.drv.output_name, err);
    }
    // The symbol table is flattened (sorted by name) for the symbol directives.
    sym_sort_all(as);
    emasm_write(as);
    list_flush_summary(as, false);
    emasm_end(as);
    return;
  }
  emobj_size_all(as);
  if (o.listing && o.page_width == 0) o.page_width = 132;
  if (o.form_length >= 1 && o.form_length <= 15) o.form_length = 66;
  if (o.listing) {
    auto rlf = create_file(as.drv.rlf_name, true, err);
    if (!rlf) {
      print_system_text(as, as.drv.rlf_name, err);
      msg_report(as.msg, MSG_CANT_CREATE_RLF, as.drv.rlf_name);
    }
    lst_write(as, rlf.get());
    rlf.reset();
  }
  auto obj = create_file(as.drv.output_name, true, err);
  if (!obj) {
    print_system_text(as, as.drv.output_name, err);
    msg_report(as.msg, MSG_CANT_CREATE_OBJ, as.drv.output_name);
    return;
  }
  emobj_write_object(as, *obj);
}

void run_sequence(Assembly &as, std::vector<std::string> args) {
  AsmOptions &o = as.opt;
  DriverState &d = as.drv;

  // 1-2. Loop guard; messages with the default templates and the database.
  d.loop_guard_count = 0;
  msg_init(as.msg, &as.host);

  // 3-5. Arguments, the pre-message hook, option scanning.
  run_set_message_hook(as);
  parse_command_line(as, std::move(args));

  // 6. The device.
  if (o.device_name.empty()) msg_report(as.msg, MSG_NO_TARGET_DEVICE);
  load_device(as);

  // 7-9. HTML report header, the source check, the identification text.
  write_udf_header(as, d.args);
  if (o.source_files.empty()) msg_report(as.msg, MSG_NO_FILE_ARGUMENTS);
  d.ident = fmt_str("%s build %s ", o.version_text, ASZEL18_BUILD_NUMBER);

  // 10. The cross-reference file.
  d.xref_name = replace_extension(o.source_files[0], "crf");
  if (o.xref) {
    int err = 0;
    auto f = create_file(d.xref_name, false, err);
    if (!f) {
      print_system_text(as, d.xref_name, err);
      msg_report(as.msg, MSG_CANT_CREATE_FILE, "cross reference", d.xref_name);
    } else {
      d.xref = std::move(f);
    }
  }

  // 11-15. Symbol table, input state, temporary labels, the parse.
  create_symbol_table(as);
  d.next_source = 0;
  tlab_init(as.tlab);
  parse_input(as);
  list_discard_pending_comments(as);

  // 16-17. No optimizer on extended-instruction-set code; configuration psects.
  if (o.xinst) o.optimize = false;
  cfg_make_psects(as);

  // 18-19. Output names.
  d.output_name = !o.output_file.empty() ? o.output_file
                                         : replace_extension(o.source_files[0], o.asm_output ? "opt" : "obj");
  if (o.listing) {
    if (!o.listing_file.empty()) {
      d.listing_name = o.listing_file;
    } else {
      d.listing_name = replace_extension(o.source_files[0], "lst");
    }
    d.rlf_name = replace_extension(d.listing_name, "rlf");
  }

  // 20-21. Reset the reader; the listing file takes standard output.
  d.next_source = 0;
  if (!o.asm_output) as.lex.list_on = o.listing;
  if (!o.asm_output && o.listing) {
    int err = 0;
    if (!reopen_stdout(as, d.listing_name, err)) {
      print_system_text(as, d.listing_name, err);
      msg_report(as.msg, MSG_CANT_CREATE_LIST, d.listing_name);
    }
  }

  // 22-28. Line counters; the IF pass, psect classification, operand rewriting,
  // the optimizer and the errata pass run here on the statement lists.
  as.lex.msg_line = 0;
  list_if_pass_all(as);
  optim_select_psects(as);
  if (o.compat_mode & (2 | 4 | 8)) cmode_rewrite_operands(as);
  if (d.dump_stmts) debug_dump_statements(as, *as.io.out);

  // 28. The instruction-set symbols.
  define_isa_symbol(as, "isa$xinst", o.xinst ? 1 : 0);
  define_isa_symbol(as, "isa$std", o.xinst ? 0 : 1);

  // 29. Output.
  write_output(as);
  d.xref.reset();
  if (as.io.out) as.io.out->flush();

  // 30. The HTML report is closed.
  close_udf(as);
}

}  // namespace

void run_set_message_hook(Assembly &as) {
  msg_set_prehook(as.msg, [&as] { msg_set_position(as.msg, as.lex.cur_file, &as.lex.msg_line, nullptr, nullptr); });
}

std::string replace_extension(const std::string &name, const char *ext) {
  size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + "." + ext;
}

const std::string *next_source_file(Assembly &as) {
  const auto &src = as.opt.source_files;
  if (as.drv.next_source >= src.size() || as.drv.next_source > 0xFFFF) return nullptr;
  return &src[as.drv.next_source++];
}

int run_assembly(Assembly &as, std::vector<std::string> args) {
  try {
    run_sequence(as, std::move(args));
  } catch (const AsmExit &e) {
    if (as.io.out) as.io.out->flush();
    return e.status;
  } catch (const std::bad_alloc &) {
    try {
      msg_report(as.msg, MSG_OUT_OF_MEMORY);
    } catch (const AsmExit &) {
    }
    return 1;
  }
  return msg_exit_status(as.msg);
}
