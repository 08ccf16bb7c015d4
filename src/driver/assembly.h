// The context of one run: every piece of mutable state, composed of the module states.
#pragma once

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "config/cfgdata.h"
#include "device/chip.h"
#include "driver/alert.h"
#include "driver/options.h"
#include "host/kvinstdir.h"
#include "host/outfile.h"
#include "input/lexutil.h"
#include "input/macro.h"
#include "lang/expr.h"
#include "lang/list.h"
#include "lang/parser.h"
#include "lang/sym.h"
#include "lang/tlab.h"
#include "optim/optim.h"
#include "output/emlist.h"
#include "output/emobj.h"
#include "output/objout.h"
#include "support/strtab.h"

// The run's streams. Tests point them at string streams.
struct Streams {
  std::istream *in = &std::cin;       // standard input (argument lists)
  bool in_is_tty = false;             // whether standard input is a terminal
  std::ostream *out = &std::cout;     // standard output: the listing or assembly text goes here
  std::ostream *err = &std::cerr;     // error stream
  std::unique_ptr<std::istream> in_owned;   // command file reopened as standard input
  std::unique_ptr<OutFile> out_owned;       // standard output reopened on a file
  const char *out_kind = "";                // what that file is, for its write-error message
  std::ostream *out_before = nullptr;       // standard output as it was before the reopening
  std::unique_ptr<OutFile> err_owned;       // error stream reopened by -E<file>
};

// Driver state beyond the options.
struct DriverState {
  std::string program_dir;  // from the first argument
  unsigned next_source = 0; // index of the next source file to open (16 bits in use)
  std::string ident;        // "%s build %s "
  std::string output_name, listing_name, rlf_name, xref_name;
  std::unique_ptr<OutFile> xref;        // cross-reference file, when -C
  std::unique_ptr<OutFile> udf;         // HTML report, when --udf=
  std::unique_ptr<OutFile> trace;       // debug trace, when --kvdebug=trace=
  std::vector<FileId> inputs;           // every file read: no output may replace one
  std::string cmdfile;                  // the command file's name, when "@file" was given
  std::vector<std::string> args;        // the argument list that was scanned
  unsigned long long loop_guard_limit = 500000000ULL;
  unsigned long long loop_guard_count = 0;
  bool dump_stmts = false;              // --kvdebug=stmts: print the statement lists after the IF pass
};

struct Assembly {
  Streams io;
  MsgState msg;
  AsmOptions opt;
  HostState host;
  DriverState drv;
  StringTable strings;
  LexState lex;
  MacroState mac;
  CfgData cfg;
  DeviceState dev;
  ExprState expr;
  ListState list;
  SymState sym;
  TlabTable tlab;
  ObjState obj;  // object and relocatable listing record writer
  LstState lst;  // the listing's pages and the current line's items
  OptimState optim;
  EmitState emit;  // sizing and encoding
  ParserState parse;
  Declarations decl;  // what the source declares for the outputs

  Assembly() { msg.err = io.err; }
  Assembly(const Assembly &) = delete;
  Assembly &operator=(const Assembly &) = delete;
};
