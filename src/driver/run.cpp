// The run sequence in stages: each step completes before the next begins.
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

std::unique_ptr<OutFile> create_file(const std::string &name, int &err) {
  auto f = std::make_unique<OutFile>();
  bool ok = f->create(name);
  err = errno;
  return ok ? std::move(f) : nullptr;
}

// Completes an output file: a failed write, or a name that is one of the run's inputs, is
// reported once and leaves the file as it was before the run.
void finish_file(Assembly &as, std::unique_ptr<OutFile> &f, const char *kind, unsigned write_msg = MSG_WRITE_ERROR) {
  if (!f) return;
  bool ok = f->commit(as.drv.inputs);
  int err = errno;
  std::string name = f->target();
  f.reset();
  if (ok) return;
  if (err == EEXIST) {
    msg_report(as.msg, MSG_OUTPUT_IS_INPUT, kind, name);
    return;
  }
  print_system_text(as, name, err);
  if (write_msg == MSG_WRITE_ERROR) msg_report(as.msg, MSG_WRITE_ERROR, kind, name);
  else msg_report(as.msg, write_msg);
}

// Points standard output at a new file; false (and standard output unchanged) on failure.
bool reopen_stdout(Assembly &as, const std::string &name, const char *kind, int &err) {
  auto f = create_file(name, err);
  if (!f) return false;
  if (!as.io.out_owned) as.io.out_before = as.io.out;
  as.io.out_owned = std::move(f);
  as.io.out = as.io.out_owned.get();
  as.io.out_kind = kind;
  return true;
}

// Loads the named device, binds the core SFRs to it and widens it for --maxizel.
void load_device(Assembly &as) {
  chipinfo_load(as, as.opt.device_name, as.opt.chipinfo_path);
  sfr_init(as);
  if (as.opt.maximal_device && as.dev.chip) chip_widen(*as.dev.chip);
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
  std::ostream &u = *as.drv.udf;
  u << "<h1>AS</h1>\n<h2>Assembler</h2>\n<p>";
  for (size_t i = 1; i < args.size(); ++i) u << (i > 1 ? " " : "") << args[i];
  u << "</p>\n";
}

void close_udf(Assembly &as) {
  if (!as.drv.udf) return;
  *as.drv.udf << "</body>\n</html>\n";
  finish_file(as, as.drv.udf, "HTML report");
}

void write_output(Assembly &as) {
  AsmOptions &o = as.opt;
  int err = 0;
  if (o.asm_output) {
    if (!reopen_stdout(as, as.drv.output_name, "assembler", err)) {
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
  if (o.listing) {
    auto rlf = create_file(as.drv.rlf_name, err);
    if (!rlf) {
      print_system_text(as, as.drv.rlf_name, err);
      msg_report(as.msg, MSG_CANT_CREATE_RLF, as.drv.rlf_name);
    }
    {
      MsgAt listing(as.msg);  // the listing moves the message position through the statements
      lst_write(as, rlf.get());
    }
    finish_file(as, rlf, "relocatable list");
  }
  auto obj = create_file(as.drv.output_name, err);
  if (!obj) {
    print_system_text(as, as.drv.output_name, err);
    msg_report(as.msg, MSG_CANT_CREATE_OBJ, as.drv.output_name);
    return;
  }
  emobj_write_object(as, *obj);
  finish_file(as, obj, "object", MSG_OBJ_WRITE_ERROR);
}

// The cross-reference file, when -C asks for one; the run goes on without it on failure.
void create_xref(Assembly &as) {
  DriverState &d = as.drv;
  d.xref_name = replace_extension(as.opt.source_files[0], "crf");
  if (!as.opt.xref) return;
  int err = 0;
  auto f = create_file(d.xref_name, err);
  if (!f) {
    print_system_text(as, d.xref_name, err);
    msg_report(as.msg, MSG_CANT_CREATE_FILE, "cross reference", d.xref_name);
    return;
  }
  d.xref = std::move(f);
}

// The output names, and the listing file in place of standard output.
void name_outputs(Assembly &as) {
  const AsmOptions &o = as.opt;
  DriverState &d = as.drv;
  d.output_name = !o.output_file.empty() ? o.output_file
                                         : replace_extension(o.source_files[0], o.asm_output ? "opt" : "obj");
  if (o.listing) {
    d.listing_name = !o.listing_file.empty() ? o.listing_file : replace_extension(o.source_files[0], "lst");
    d.rlf_name = replace_extension(d.listing_name, "rlf");
  }
  d.next_source = 0;
  if (o.asm_output) return;
  as.lex.list_on = o.listing;
  int err = 0;
  if (o.listing && !reopen_stdout(as, d.listing_name, "list", err)) {
    print_system_text(as, d.listing_name, err);
    msg_report(as.msg, MSG_CANT_CREATE_LIST, d.listing_name);
  }
}

}  // namespace

void run_start(Assembly &as) {
  as.drv.loop_guard_count = 0;
  msg_init(as.msg, &as.host);
  msg_set_prehook(as.msg, [&as] { msg_set_position(as.msg, as.lex.cur_file, &as.lex.msg_line, nullptr, nullptr); });
}

void run_setup(Assembly &as, std::vector<std::string> args) {
  AsmOptions &o = as.opt;
  parse_command_line(as, std::move(args));
  if (o.device_name.empty()) msg_report(as.msg, MSG_NO_TARGET_DEVICE);
  load_device(as);
  write_udf_header(as, as.drv.args);
  if (o.source_files.empty()) msg_report(as.msg, MSG_NO_FILE_ARGUMENTS);
  as.drv.ident = fmt_str("%s build %s ", o.version_text, ASZEL18_BUILD_NUMBER);
  create_xref(as);
}

void run_open_input(Assembly &as, std::optional<std::string_view> text) {
  sym_init(as);  // the predefined symbol, the default psect, the "(command line)" position
  as.drv.next_source = 0;
  tlab_init(as.tlab);
  lex_init(as);
  macro_init(as);
  lst_init_controls(as);
  if (text && !as.opt.source_files.empty()) lex_open_text(as, *next_source_file(as), *text);
}

void run_parse(Assembly &as) {
  parse(as);
  sym_break_cycles(as);
  as.lex.radix = 10;
  list_discard_pending_comments(as);
}

void run_finish_lists(Assembly &as) {
  AsmOptions &o = as.opt;
  if (o.xinst) o.optimize = false;
  cfg_make_psects(as);
  name_outputs(as);
  lex_clear_msg_line(as);
  list_if_pass_all(as);
  // The psects are selected with or without -O: the compatibility rewriting and the errata NOP
  // pass work on that list.
  optim_select_psects(as);
  if (o.compat_mode & (2 | 4 | 8)) cmode_rewrite_operands(as);
  optim_run(as);
  if (o.errata_mask & 0x4001) optim_errata_pass(as);
  if (as.drv.dump_stmts) debug_dump_statements(as, *as.io.out);
  define_isa_symbol(as, "isa$xinst", o.xinst ? 1 : 0);
  define_isa_symbol(as, "isa$std", o.xinst ? 0 : 1);
}

void run_write_outputs(Assembly &as) {
  write_output(as);
  finish_file(as, as.drv.xref, "cross reference");
  if (as.io.out) as.io.out->flush();
  if (as.io.out_owned) {
    as.io.out = as.io.out_before;
    finish_file(as, as.io.out_owned, as.io.out_kind);
  }
  close_udf(as);
  finish_file(as, as.drv.trace, "debug trace");
  as.msg.trace = nullptr;
  // A message file that can no longer be written: said on the standard error stream instead.
  if (as.io.err_owned && !as.io.err_owned->check()) {
    int err = errno;
    std::string name = as.io.err_owned->target();
    as.io.err = as.msg.err = &std::cerr;
    as.io.err_owned.reset();
    print_system_text(as, name, err);
    msg_report(as.msg, MSG_WRITE_ERROR, "error", name);
  }
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
    run_start(as);
    run_setup(as, std::move(args));
    run_open_input(as);
    run_parse(as);
    run_finish_lists(as);
    run_write_outputs(as);
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
