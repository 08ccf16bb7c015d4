// The listing: paginated text lines decorated with line numbers, addresses and the bytes the
// encoder produced, written to the listing file and, byte for byte, to the relocatable listing
// file, whose LR_RELOC records stand where the listing shows relocatable values.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "lang/expr.h"

struct Assembly;

// One field the encoder produced for the current line.
struct ListItem {
  uint32_t base = 0;   // bits of the instruction word around the field
  Value value;         // the field's value (its constant part is shown)
  unsigned nbytes = 0;
  unsigned width = 0;  // bits
};

// The listing controls: those of the command line, then as the source's LIST, PAGELENGTH,
// PAGEWIDTH, COND and EXPAND set them.
struct ListControls {
  int page_width = 0;        // -T, LIST c=, PAGEWIDTH; 0: the default
  int page_length = 0;       // -F, LIST n=, PAGELENGTH; 0: no pagination
  bool expansions = false;   // -I, EXPAND / NOEXPAND: macro expansions are listed
  bool cond = false;         // COND / NOCOND
  bool truncate = false;     // LIST t=
};

struct LstState {
  ListControls ctl;
  int page_width = 0;
  int page_length = 0;       // 0: no pagination
  int page_lines = 0;        // lines on the current page; 0: the next line starts a page
  int page_no = 0;
  long line_no = 0;          // listed lines so far
  std::string stamp;         // ctime text with its newline
  std::string version;
  std::string title, subtitle;
  size_t name_width = 0;     // longest symbol name
  bool rlf = false;          // the relocatable listing file is open
  bool has_addr = false;     // an address item is recorded
  bool addr_reloc = false;
  Value addr;
  std::vector<ListItem> items;
  std::string scratch;
};

// The listing controls from the command line, before the source changes them.
void lst_init_controls(Assembly &as);
// Starts the listing: page geometry from the controls (width 132 and length 66 by default),
// the time stamp, title and version.
void lst_begin(Assembly &as, bool rlf_open);
// Records the address column of the next line.
void lst_set_address(Assembly &as, const Value &v, bool relocatable);
// Records one field of the next line (e may be null: a constant field).
void lst_add_item(Assembly &as, uint32_t base, const Value *e, unsigned nbytes, unsigned width);
// Prints one logical line (without its own newline), then forgets the items.
void lst_line(Assembly &as, std::string_view text);
// The symbol table pages.
void lst_symbols(Assembly &as);
// The whole listing after sizing: the code pages from the assembly text in listing mode, each
// statement encoded for its address and bytes; the summary comments; the symbol table. The
// relocatable listing goes to rlf when it could be created.
void lst_write(Assembly &as, std::ostream *rlf);
