// The object record writer: record layouts byte by byte, the complex-expression encoder, the
// relocation entries, the flush rules of the buffers, and the dumper reading back what was
// written (including damaged files).
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "dump.h"
#include "output/objout.h"
#include "test_context.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Bytes from numbers and strings (each string followed by its NUL).
Bytes B(std::initializer_list<std::variant<int, std::string_view>> parts) {
  Bytes v;
  for (const auto &p : parts) {
    if (const int *n = std::get_if<int>(&p)) {
      v.push_back(static_cast<uint8_t>(*n));
    } else {
      std::string_view s = std::get<std::string_view>(p);
      v.insert(v.end(), s.begin(), s.end());
      v.push_back(0);
    }
  }
  return v;
}

// One record: length, type, data.
Bytes R(unsigned type, const Bytes &data) {
  Bytes v{static_cast<uint8_t>(data.size() & 0xFF), static_cast<uint8_t>(data.size() >> 8),
          static_cast<uint8_t>(type)};
  v.insert(v.end(), data.begin(), data.end());
  return v;
}

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes v;
  for (const auto &p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

const Bytes IDENT_A44 = R(OR_IDENT, B({0, 1, 2, 3, 0, 1, "ZEL18A44", 3, 11}));
const Bytes END = R(OR_END, B({0, 0}));

Value psect_rel(Symbol *p, int64_t offs, uint8_t kind = RT_PSECT) {
  Value v;
  v.v_rtype = kind;
  v.v_sym = p;
  v.v_offs = offs;
  return v;
}
// A node over copies of the operands, kept as a node's operand records are: adjacent.
Value node(uint8_t kind, const Value *left, const Value *right = nullptr, int64_t offs = 0) {
  static std::deque<std::array<Value, 2>> records;
  std::array<Value, 2> &r = records.emplace_back();
  r[0] = *left;
  if (right) r[1] = *right;
  Value v;
  v.v_rtype = kind;
  v.v_ops = r.data();
  v.v_offs = offs;
  return v;
}

struct Obj : TestContext {
  std::ostringstream file;
  Symbol *p;  // the current psect
  Symbol *s;  // an external symbol
  Obj() {
    open_text("");
    as.msg.warn_threshold = -9;
    p = psect("p");
    as.sym.cur_psect = p;
    s = sym_lookup(as, "s");
    s->s_flags |= SF_GLOBAL | SF_EXTERN;
  }
  Symbol *psect(const char *name) { return sym_lookup(as, name, SF_PSECT); }
  Symbol *define(const char *name, const Value &v) {
    Symbol *x = sym_lookup(as, name);
    x->s_value = v;
    x->s_flags = (x->s_flags & ~SF_UNDEF) | SF_EQU;
    return x;
  }
  void open() { obj_open(as, file, "ZEL18A44"); }
  Bytes bytes() {
    std::string t = file.str();
    return Bytes(t.begin(), t.end());
  }
  Bytes encode(const Value &v, bool report = true) {
    Bytes out;
    obj_encode_expr(as, v, out, report);
    return out;
  }
  // The dumper's lines for what was written.
  std::vector<std::string> dump(int expect_status = 0) {
    Bytes b = bytes();
    std::ostringstream out, derr;
    EXPECT_EQ(dump_object(b, "t.obj", {}, out, derr), expect_status) << derr.str();
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // Only the record lines of the dump.
  std::vector<std::string> headers() {
    std::vector<std::string> h;
    for (auto &l : dump())
      if (l[0] != ' ') h.push_back(l);
    return h;
  }
};

using V = std::vector<int>;
using L = std::vector<std::string>;

TEST(ObjOut, ComplexEncoding) {
  Obj o;
  Symbol *a = o.psect("a"), *b = o.psect("b");
  Value pa = psect_rel(a, 0), pb = psect_rel(b, 0);
  Value sub = node(RT_SUB, &pa, &pb);
  Value ext = psect_rel(o.s, 0, RT_SYM), c1 = expr_abs(1), c2 = expr_abs(2), pp = psect_rel(o.p, 0);
  Value in21 = node(21, &pp);
  Symbol *x = o.define("x", psect_rel(o.p, 2));
  Symbol *y = o.define("y", psect_rel(x, 3, RT_SYM));
  struct Case {
    const char *name;
    Value v;
    Bytes want;
  } cases[] = {
      {"psect plus offset", psect_rel(o.p, 5), B({16, "p", 3, 5, 0, 0, 0, 4})},
      {"external plus offset", psect_rel(o.s, 5, RT_SYM), B({32, "s", 3, 5, 0, 0, 0, 4})},
      {"right operand first", node(RT_HIGH, &sub), B({16, "b", 16, "a", 5, 2})},
      {"negative constant", expr_abs(-1), B({3, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"low 32 bits", expr_abs(0x100000005LL), B({3, 5, 0, 0, 0})},
      {"symbol looked through", psect_rel(x, 1, RT_SYM), B({16, "p", 3, 2, 0, 0, 0, 4, 3, 1, 0, 0, 0, 4})},
      {"chain looked through", psect_rel(y, 0, RT_SYM), B({16, "p", 3, 2, 0, 0, 0, 4, 3, 3, 0, 0, 0, 4})},
      {"seg of a psect", psect_rel(o.p, 0, RT_PSECT | RT_SEG), B({144, "p"})},
      {"seg of an external", psect_rel(o.s, 0, RT_SYM | RT_SEG), B({160, "s"})},
      {"seg of a label", psect_rel(x, 0, RT_SYM | RT_SEG), B({144, "p"})},
      {"node constant part", node(RT_NOT, &ext, nullptr, 2), B({32, "s", 13, 3, 2, 0, 0, 0, 4})},
      {"binary 15 as stored", node(15, &c1, &c2), B({3, 2, 0, 0, 0, 3, 1, 0, 0, 0, 15})},
      {"unary 21 and 23 as stored", node(23, &in21), B({16, "p", 21, 23})},
      {"binary 22 as stored", node(22, &pa, &c1), B({3, 1, 0, 0, 0, 16, "a", 22})},
  };
  for (const auto &c : cases) EXPECT_EQ(o.encode(c.v), c.want) << c.name;
  Value defined;
  defined.v_rtype = RT_DEFINED;
  defined.v_str = "n";
  EXPECT_EQ(o.encode(defined), B({20, "n"}));
  EXPECT_EQ(o.message_numbers(), V{});
}

TEST(ObjOut, CurrentLocation) {
  Obj o;
  Value dot;
  dot.v_rtype = RT_DOT;
  dot.v_sym = o.p;
  EXPECT_EQ(o.encode(dot), B({16, "p"}));  // location 0, offset 0
  o.p->s_psect.p_curr = 4;
  o.p->s_psect.p_delta = 2;
  dot.v_offs = 1;
  EXPECT_EQ(o.encode(dot), B({3, 3, 0, 0, 0, 16, "p", 4}));  // 4 / 2 + 1
  Symbol *q = o.psect("q");
  q->s_flags |= PSF_ABS | PSF_OVRLD;
  q->s_psect.p_curr = 6;
  o.as.sym.cur_psect = q;
  dot.v_sym = q;
  EXPECT_EQ(o.encode(dot), B({3, 7, 0, 0, 0}));  // absolute: 6 + 1 alone
}

TEST(ObjOut, EncoderReports) {
  Obj o;
  Symbol *u = sym_lookup(o.as, "u");
  Value ref = psect_rel(u, 0, RT_SYM);
  EXPECT_EQ(o.encode(ref), B({32, "u"}));
  EXPECT_EQ(o.encode(ref), B({32, "u"}));
  EXPECT_EQ(o.message_numbers(), V{800});  // once: the symbol became global
  EXPECT_TRUE(u->s_flags & SF_GLOBAL);

  Value str;
  str.v_rtype = RT_STRING;
  Value pp = psect_rel(o.p, 0);
  Value sum = node(RT_ADD, &pp, &str);
  EXPECT_EQ(o.encode(sum), B({16, "p", 4}));  // nothing for the bad node
  std::string text = o.take();
  EXPECT_NE(text.find("(2116) bad operator in complex relocation: 22"), std::string::npos) << text;
  EXPECT_EQ(o.encode(sum, false), Bytes{});  // sizing mode: 779 and stop
  EXPECT_EQ(o.message_numbers(), V{779});

  Symbol *c1 = sym_lookup(o.as, "c1"), *c2 = sym_lookup(o.as, "c2");
  o.define("c1", psect_rel(c2, 0, RT_SYM));
  o.define("c2", psect_rel(c1, 0, RT_SYM));
  o.encode(psect_rel(c1, 0, RT_SYM));  // a cycle of definitions ends in 839, not a crash
  EXPECT_EQ(o.message_numbers(), V{839});
}

TEST(ObjOut, FieldsAndRelocations) {
  Obj o;
  o.open();
  Value c300 = expr_abs(300), sfr = expr_abs(0xF80), neg = expr_abs(-1);
  Value rel = psect_rel(o.p, 3), ext = psect_rel(o.s, 1, RT_SYM), far = psect_rel(o.p, 0x1000);
  obj_put_field(o.as, 0x0E00, &c300, 2, 8);  // movlw 300: truncated to 0x2C
  obj_put_field(o.as, 0x6E00, &sfr, 2, 8);   // an access SFR address: no warning
  obj_put_field(o.as, 0x0E00, &neg, 2, 8);   // negative: no warning
  obj_put_field(o.as, 0, &rel, 2, 16);       // psect-relative, 2 bytes: 0x12
  obj_put_field(o.as, 0xD000, &ext, 2, 11);  // symbol-relative, 11 bits: 0xEB (bits 11, kind 2, 11)
  obj_put_field(o.as, 0x0100, &far, 2, 12);  // offset beyond 12 bits: complex 0xFC, base only
  obj_put_field(o.as, 0, nullptr, 1, 0);
  EXPECT_EQ(o.message_numbers(), V{1352});
  EXPECT_EQ(o.p->s_psect.p_curr, 13u);
  obj_finish(o.as, {});
  Bytes text = B({0, 0, 0, 0, "p", 0x2C, 0x0E, 0x80, 0x6E, 0xFF, 0x0E, 3, 0, 1, 0xD0, 0, 1, 0});
  Bytes reloc = B({6, 0, 0x12, "p", 8, 0, 0xEB, "s", 10, 0, 0xFC, 16, "p", 3, 0, 0x10, 0, 0, 4, 0});
  EXPECT_EQ(o.bytes(), cat({IDENT_A44, R(OR_TEXT, text), R(OR_RELOC, reloc), END}));
}

TEST(ObjOut, RelocationFailures) {
  Obj o;
  o.open();
  Symbol *lng = sym_lookup(o.as, std::string(506, 'n'));
  lng->s_flags |= SF_GLOBAL | SF_EXTERN;
  Value ext = psect_rel(o.s, 0, RT_SYM), longref = psect_rel(lng, 0, RT_SYM), str;
  str.v_rtype = RT_STRING;
  obj_put_field(o.as, 0x1200, &ext, 2, 128);     // 16 bytes: no type byte holds it
  obj_put_field(o.as, 0x3400, &longref, 2, 16);  // entry of 3 + 507 bytes
  obj_put_field(o.as, 0x5600, &str, 2, 16);      // a kind the encoder does not know
  EXPECT_EQ(o.message_numbers(), (V{808, 839, 779}));
  obj_finish(o.as, {});
  EXPECT_EQ(o.headers(), (L{"IDENT len=17 order32=0,1,2,3 order16=0,1 machine=\"ZEL18A44\" tail=3,11",
                            "TEXT len=12 loc=0x0 psect=\"p\"", "END len=2"}));
  EXPECT_EQ(o.dump()[2], "  0000: 00 12 00 34 00 56");  // base values only
}

TEST(ObjOut, RangeChecksAndConditions) {
  Obj o;
  o.open();
  Value five = expr_abs(5), seven = expr_abs(7), nine = expr_abs(9), ext = psect_rel(o.s, 0, RT_SYM);
  obj_add_range_check(o.as, five, seven, "bit number");  // passes: nothing
  obj_add_range_check(o.as, nine, seven, "bit number");
  obj_put_field(o.as, 0x9000, nullptr, 2, 0);
  obj_add_range_check(o.as, ext, seven, "bit number");
  obj_put_condition(o.as, ext);
  obj_add_range_check(o.as, ext, seven, std::string(600, 'd'));
  EXPECT_EQ(o.message_numbers(), V{801});
  obj_finish(o.as, {});
  Bytes checks = cat({B({0, 0, 0x30, 0x13, "bit number", 3, 9, 0, 0, 0, 3, 7, 0, 0, 0, 0x12}),
                      B({2, 0, 0x30, 0x13, "bit number", 32, "s", 3, 7, 0, 0, 0, 0x12})});
  EXPECT_EQ(o.bytes(), cat({IDENT_A44, R(OR_TEXT, B({0, 0, 0, 0, "p", 0, 0x90})), R(OR_RELOC, checks),
                            R(OR_COND_EXPR, B({32, "s", 0})), END}));
}

TEST(ObjOut, PsectRecords) {
  Obj o;
  o.open();
  Symbol *c = o.psect("c"), *w = o.psect("w");
  c->s_flags |= PSF_GLOBAL | PSF_ABS | PSF_OVRLD | PSF_LOCAL | PSF_NOTE;
  PsectPart &pp = c->s_psect;
  pp.p_size = 0x100;
  pp.p_reloc = 2;
  pp.p_class = sym_lookup(o.as, "CODE", SF_CLASS);
  pp.p_space = 1;
  pp.p_delta = 2;
  pp.p_with = w;
  pp.p_limit = 0x1234;
  obj_write_psect(o.as, c, 0x10, 0x20);
  obj_write_psect(o.as, w, 0, 0);  // nothing set: PSECT alone
  w->s_psect.p_delta = 1;
  obj_write_psect(o.as, w, 4, 8);  // a base: PSECTBOUND without abs
  obj_write_extent(o.as, w, 10);
  obj_finish(o.as, {});
  EXPECT_EQ(o.bytes(),
            cat({IDENT_A44, R(OR_PSECT, B({0xD0, 0x10, "c"})),
                 R(OR_XPSECT, B({0, 1, 0, 0, 2, 0, 0, 0, 1, 2, 0, 0, "c", "CODE", "w"})),
                 R(OR_PSECTLIM, B({0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "c"})),
                 R(OR_PSECTBOUND, B({13, 0xD0, 0, 0x10, 0, 0, 0, 0x20, 0, 0, 0, 1, 2, "c", "CODE"})),
                 R(OR_PSECT, B({0, 0, "w"})), R(OR_PSECT, B({0, 0, "w"})),
                 R(OR_XPSECT, B({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, "w", "", ""})),
                 R(OR_PSECTBOUND, B({13, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0, 0, 1, "w", ""})),
                 R(OR_TEXT, B({10, 0, 0, 0, "w"})), END}));
}

TEST(ObjOut, SymbolEntries) {
  Obj o;
  o.open();
  Symbol *lab = o.define("L", psect_rel(o.p, 0x10));
  Symbol *alias = o.define("m", psect_rel(o.s, 4, RT_SYM));
  Symbol *chained = o.define("n", psect_rel(lab, 2, RT_SYM));
  Symbol *k = o.define("k", expr_abs(0x1234));
  obj_put_symbol(o.as, lab, 0x10);
  obj_put_symbol(o.as, o.s, ST_EXTERN);
  obj_put_symbol(o.as, alias, 0x10);      // relative to an external: type 24
  obj_put_symbol(o.as, alias, ST_LOCAL);  // the same without the global bit: nothing
  obj_put_symbol(o.as, chained, ST_LOCAL);
  obj_put_symbol(o.as, k, 0x10);
  obj_put_sym_entry(o.as, 0x20, ST_LINE, "p", "12");
  obj_put_sym_entry(o.as, 0, ST_FILE, "", "main.as");
  obj_finish(o.as, {});
  Bytes syms = B({0x10, 0, 0, 0, 0x10, 0, "p", "L",  //
                  0, 0, 0, 0, 22, 0, "", "s",        //
                  4, 0, 0, 0, 24, 0, "s", "m",       //
                  0x12, 0, 0, 0, 7, 0, "p", "n",     //
                  0x34, 0x12, 0, 0, 0x10, 0, "", "k",
                  0x20, 0, 0, 0, 4, 0, "p", "12",  //
                  0, 0, 0, 0, 5, 0, "", "main.as"});
  EXPECT_EQ(o.bytes(), cat({IDENT_A44, R(OR_SYM, syms), END}));
}

TEST(ObjOut, FunctionInformationAndFinish) {
  Obj o;
  o.open();
  obj_write_fnconf(o.as, "a", "b", "c", 2);
  obj_put_fn_names(o.as, FN_CALL, "a", "b");
  obj_put_fn_names(o.as, FN_ARG, "a", "?a");
  obj_put_fn_indir(o.as, "f", 0x1234);
  obj_put_fn_names(o.as, FN_ADDR, "f");
  obj_put_fn_size(o.as, "f", 2, 4);
  obj_put_fn_names(o.as, FN_ROOT, "f");
  obj_put_fn_names(o.as, FN_BREAK, "a", "b");
  obj_write_signat(o.as, "f", 0x4321);
  obj_put_dabs(o.as, 1, 0x10, 2, "x");
  obj_flush_dabs(o.as);
  obj_finish(o.as, {"t.rlf", "t.lst", true, 4, "p"});
  Bytes fn = B({1, "a", "b", 2, "a", "?a", 3, "f", 0x34, 0x12, 4, "f", 5, "f", 2, 0, 0, 0, 4, 0, 0, 0, 6, "f", 9, "a",
                "b"});
  EXPECT_EQ(o.bytes(), cat({IDENT_A44, R(OR_FNCONF, B({"a", "b", "c", 2, 0})), R(OR_SIGNAT, B({0x21, 0x43, "f"})),
                            R(OR_DABS, B({1, 0x10, 0, 0, 0, 2, 0, 0, 0, "x"})),
                            R(OR_LISTRELOC, B({"t.rlf", "t.lst"})), R(OR_START, B({4, 0, 0, 0, "p"})),
                            R(OR_FNINFO, fn), END}));
}

TEST(ObjOut, IdentAndFnalignLimits) {
  Obj o;
  obj_open(o.as, o.file, std::string(600, 'i'));
  std::string n507(507, 'b'), n600(600, 'c');
  const std::string_view g1[] = {n507}, g2[] = {n600}, g3[] = {"a", "b"};
  std::string n506(506, 'a');
  const std::string_view g0b[] = {n506};
  obj_write_fnalign(o.as, 0, g0b);  // 2 + 507 bytes: one record
  obj_write_fnalign(o.as, 1, g1);   // would reach 510: the group number alone first
  obj_write_fnalign(o.as, 2, g2);   // cut to 509 characters: 512 data bytes
  obj_write_fnalign(o.as, 3, g3);
  obj_finish(o.as, {});
  EXPECT_EQ(o.headers(), (L{"IDENT len=509 order32=0,1,2,3 order16=0,1 machine=\"" + std::string(500, 'i') +
                                "\" tail=3,11",
                            "FNALIGN len=509 group=0", "FNALIGN len=2 group=1", "FNALIGN len=510 group=1",
                            "FNALIGN len=2 group=2", "FNALIGN len=512 group=2", "FNALIGN len=6 group=3", "END len=2"}));
}

TEST(ObjOut, TextAndRelocationFlushes) {
  Obj o;
  o.open();
  for (int i = 0; i < 300; ++i) obj_put_field(o.as, 0x1234, nullptr, 2, 0);
  obj_finish(o.as, {});
  // A TEXT record holds at most 508 data bytes: 6 of header fields and 251 words.
  EXPECT_EQ(o.headers()[1], "TEXT len=508 loc=0x0 psect=\"p\"");
  EXPECT_EQ(o.headers()[2], "TEXT len=104 loc=0x1F6 psect=\"p\"");

  // Entries of 3 + 101 bytes: four fill a RELOC record, the fifth field opens a new TEXT record.
  Obj r;
  Symbol *q = r.psect(std::string(100, 'q').c_str());
  r.as.sym.cur_psect = q;
  r.open();
  Value v = psect_rel(q, 0);
  for (int i = 0; i < 5; ++i) obj_put_field(r.as, 0, &v, 2, 16);
  obj_finish(r.as, {});
  std::string qn = "\"" + std::string(100, 'q') + "\"";
  L lines = r.dump();
  EXPECT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[1], "TEXT len=113 loc=0x0 psect=" + qn);
  EXPECT_EQ(lines[3], "RELOC len=416");
  EXPECT_EQ(lines[7], "  offset=0x6 type=0x12 psect bytes=2 target=" + qn);
  EXPECT_EQ(lines[8], "TEXT len=107 loc=0x8 psect=" + qn);
  EXPECT_EQ(lines[11], "  offset=0x0 type=0x12 psect bytes=2 target=" + qn);
}

TEST(ObjOut, SymbolBufferFlush) {
  // A 400-character absolute symbol needs 408 bytes: written with 11 small entries (9 bytes
  // each, 410 bytes free), after them with 12 (401 free).
  for (int small : {11, 12}) {
    Obj o;
    o.open();
    Symbol *big = o.define(std::string(400, 'z').c_str(), expr_abs(0));
    Symbol *a = o.define("a", expr_abs(1));
    for (int i = 0; i < small; ++i) obj_put_symbol(o.as, a, 0x10);
    obj_put_symbol(o.as, big, 0x10);
    obj_finish(o.as, {});
    L h = o.headers();
    if (small == 11) {
      EXPECT_EQ(h[1], "SYM len=507");
    } else {
      EXPECT_EQ(h[1], "SYM len=108");
      EXPECT_EQ(h[2], "SYM len=408");
    }
  }
}

TEST(ObjOut, RelocatableListing) {
  Obj o;
  obj_open_listing(o.as, o.file);
  obj_put_listing_text(o.as, std::string(600, 'x'));
  Value v = psect_rel(o.p, 0);
  obj_put_listing_reloc(o.as, v, 0x0E00, obj_size_code(16), 4);
  obj_put_listing_reloc(o.as, v, 0, obj_size_code(11), 4);
  obj_put_listing_text(o.as, " y\n");
  obj_write_ident(o.as, OBJ_LISTING_IDENT);
  obj_finish_listing(o.as);
  Bytes ident = R(OR_IDENT, B({0, 1, 2, 3, 0, 1, "Orvane ZEL18", 3, 11}));
  Bytes b = o.bytes();
  EXPECT_EQ(Bytes(b.begin(), b.begin() + ident.size()), ident);
  EXPECT_EQ(Bytes(b.begin() + ident.size(), b.begin() + ident.size() + 3), (Bytes{0xFD, 0x01, OR_LR_TEXT}));
  Bytes tail = cat({R(OR_LR_TEXT, Bytes(91, 'x')), R(OR_LR_RELOC, B({0, 0x0E, 0, 0, 0, '2', 4, 16, "p", 0})),
                    R(OR_LR_RELOC, B({0, 0, 0, 0, 0, ('0' + 11 + 0xC0) & 0xFF, 4, 16, "p", 0})),
                    R(OR_LR_TEXT, B({' ', 'y', '\n'})), ident, END});
  ASSERT_EQ(b.size(), ident.size() + 3 + 509 + tail.size());
  EXPECT_EQ(Bytes(b.end() - static_cast<long>(tail.size()), b.end()), tail);
}

// The dumper on damaged copies of a valid file: status 1 for every truncation, never a crash or
// an out-of-bounds read (the messages themselves are end-to-end cases).
TEST(ObjDump, DamagedFiles) {
  Obj o;
  o.open();
  Value ext = psect_rel(o.s, 0, RT_SYM), seven = expr_abs(7);
  Value hi = node(RT_HIGH, &ext);
  obj_put_field(o.as, 0x0E00, &hi, 2, 8);
  obj_add_range_check(o.as, ext, seven, "bit number");
  obj_put_condition(o.as, ext);
  obj_put_sym_entry(o.as, 1, 16, "p", "q");
  obj_put_fn_size(o.as, "f", 1, 2);
  obj_finish(o.as, {"a.rlf", "a.lst", true, 0, "p"});
  const Bytes good = o.bytes();
  std::ostringstream out, err;
  ASSERT_EQ(dump_object(good, "t.obj", {}, out, err), 0) << err.str();

  // Every truncation and many random corruptions: the dumper must stay in bounds (sanitizers).
  std::mt19937 rng(7);
  for (size_t n = 0; n < good.size(); ++n) {
    std::ostringstream o2, e2;
    EXPECT_EQ(dump_object(Bytes(good.begin(), good.begin() + n), "t", {}, o2, e2), 1);
  }
  for (int i = 0; i < 3000; ++i) {
    Bytes b = good;
    for (int k = 0, m = 1 + i % 4; k < m; ++k) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    std::ostringstream o2, e2;
    dump_object(b, "t", {}, o2, e2);
  }
}

}  // namespace
