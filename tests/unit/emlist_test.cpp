// Listing lines: margins, address and code columns, continuation lines, pages, the symbol
// table, and the relocatable listing file written beside it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "driver/assembly.h"
#include "dump.h"
#include "output/emlist.h"
#include "test_context.h"

namespace {

const std::string STAMP = "Thu Jan  1 00:00:00 1970\n";

struct Lst : TestContext {
  std::ostringstream rlf;
  explicit Lst(int width = 80, int length = 0, bool with_rlf = false) {
    setenv("SOURCE_DATE_EPOCH", "0", 1);
    sym_init(as);
    as.opt.page_width = width;
    as.opt.form_length = length;
    as.drv.ident = "V1 build 7 ";
    if (with_rlf) obj_open_listing(as, rlf);
    lst_begin(as, with_rlf);
  }
  std::string text() { return out.str(); }
  // The relocatable listing's records as the dumper prints them.
  std::string rlf_dump() {
    obj_finish_listing(as);
    std::string b = rlf.str();
    std::vector<uint8_t> bytes(b.begin(), b.end());
    std::ostringstream o, e;
    EXPECT_EQ(dump_object(bytes, "t.rlf", {}, o, e), 0) << e.str();
    return o.str();
  }
};

// The header of an unpaginated code listing at width 80, empty title and subtitle.
std::string plain_header() {
  return "\n\nOrvane Tessel KV8 Assembler V1 build 7 \n" + std::string(54, ' ') + " " + STAMP + "\n\n";
}

TEST(Listing, CodeLineColumns) {
  Lst l;
  lst_set_address(l.as, expr_abs(0x10), false);
  Value k = expr_abs(0x12C);  // cut to 8 bits in the word
  lst_add_item(l.as, 0x0E00, &k, 2, 8);
  lst_line(l.as, "\tmovlw\t300");
  lst_line(l.as, ";; a note");
  lst_line(l.as, "");
  // Column count: 13, + 5 for the word: 14 blanks reach column 32.
  EXPECT_EQ(l.text(), plain_header() +
                          "     1  0010  0E2C " + std::string(14, ' ') + "\tmovlw\t300\n"
                          "     2 ;; a note\n"
                          "     3        " + std::string(19, ' ') + "\n");
}

TEST(Listing, LongLinesContinue) {
  Lst l;
  std::string text(100, 'a');
  lst_line(l.as, text);
  std::string lead = "       " + std::string(19, ' ');
  EXPECT_EQ(l.text(), plain_header() +
                          "     1 " + lead + std::string(48, 'a') + "\n"
                          "      +" + lead + std::string(48, 'a') + "\n"
                          "      +" + lead + "aaaa\n");
}

TEST(Listing, PagesEndWithFormFeeds) {
  Lst l(80, 20);
  for (int i = 0; i < 12; ++i) lst_line(l.as, ";; x");
  std::string page = "\n\nOrvane Tessel KV8 Assembler V1 build 7 " + std::string(25, ' ') + "Page 1\n" +
                     std::string(54, ' ') + " " + STAMP + "\n\n";
  std::string body;
  for (int i = 1; i <= 11; ++i) body += fmt_str("%6d ;; x\n", i);
  // 5 header lines and 11 listed lines fill a 20-line page (4 are left blank).
  std::string second = "\n\nOrvane Tessel KV8 Assembler V1 build 7 " + std::string(25, ' ') + "Page 2\n" +
                       std::string(54, ' ') + " " + STAMP + "\n\n";
  EXPECT_EQ(l.text(), page + body + "\f" + second + "    12 ;; x\n");
}

TEST(Listing, PageLengthBelowSixteenMeansSixtySix) {
  Lst l(80, 10);
  EXPECT_EQ(l.as.lst.page_length, 66);
}

TEST(Listing, SymbolTableSideBySide) {
  Lst l(50, 0);
  for (const char *n : {"alpha", "b", "gamma"}) {
    Symbol *s = sym_lookup(l.as, n);
    s->s_flags &= ~SF_UNDEF;
    s->s_value = expr_abs(0x12);
    s->s_refcnt = 2;
  }
  Symbol *e = sym_lookup(l.as, "ext");  // undefined global: external
  e->s_flags |= SF_GLOBAL;
  e->s_refcnt = 1;
  l.as.lst.name_width = 5;
  lst_symbols(l.as);
  // Nothing was listed before: the table has its own header. Entries are 5 + 1 + 8 = 14 wide;
  // a fourth would make 42 + 5 + 7 > 50.
  std::string head = "\n\nOrvane Technology ZEL18 Macro Assembler V1 build 7 \n" + std::string(0, ' ') +
                     fmt_str("%-24.24s ", "Symbol Table") + STAMP + "\n";
  std::string t = l.text();
  ASSERT_EQ(t.substr(0, head.size()), head);
  std::string body = t.substr(head.size());
  // Bucket order decides the order; check the layout and the marks instead.
  EXPECT_NE(body.find("alpha 000012  "), std::string::npos);
  EXPECT_NE(body.find("    b 000012  "), std::string::npos);
  EXPECT_NE(body.find("  ext 000000* "), std::string::npos);
  size_t nl = body.find('\n');
  EXPECT_EQ(nl, 42u);
  EXPECT_EQ(body.size(), 42u + 1 + 14 + 1);
}

TEST(Listing, RelocatableListingFile) {
  Lst l(80, 0, true);
  Symbol *text = sym_lookup(l.as, "text", SF_PSECT);
  Value addr;
  addr.v_rtype = RT_PSECT;
  addr.v_sym = text;
  addr.v_offs = 4;
  lst_set_address(l.as, addr, true);
  lst_add_item(l.as, 0xD000, &addr, 2, 11);
  lst_line(l.as, "\tbra\tx");
  std::string lst = l.text().substr(plain_header().size());
  // 13 + 5 + 1 for the apostrophe: 13 blanks.
  EXPECT_EQ(lst, "     1  0004' D004' " + std::string(13, ' ') + "\tbra\tx\n");
  std::string d = l.rlf_dump();
  EXPECT_NE(d.find("LR_RELOC len=20 base=0x0 bytes=4 format=6 expr=0x4 + text"), std::string::npos) << d;
  EXPECT_NE(d.find("LR_RELOC len=20 base=0xD000 bits=11 format=4 expr=0x4 + text"), std::string::npos) << d;
  EXPECT_NE(d.find("\"  D004\""), std::string::npos) << d;
}

}  // namespace
