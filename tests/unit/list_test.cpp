// The statement list: new statements, deletion, comments and summary comments,
// inherited positions, generated and removed labels, and reference lists (the statement-level IF pass is
// an assembly-text case).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/run.h"
#include "isa/ops.h"
#include "lang/list.h"
#include "lang/sym.h"
#include "test_context.h"

namespace {

struct Fix : TestContext {
  Symbol *text = nullptr;
  Fix() {
    open_text("");
    text = sym_lookup(as, "text", SF_PSECT);
    as.sym.cur_psect = text;
    as.lex.cur_file = as.strings.intern("a.as");
  }
  Statement *add(uint32_t kind) {
    Statement *n = list_new_statement(as);
    n->op_type = kind;
    list_add_statement(as, n);
    return n;
  }
  Statement *label(const char *name, uint32_t flags = 0) {
    Symbol *s = sym_lookup(as, name);
    s->s_flags |= flags;
    Statement *n = add(NAME);
    n->op_label = s;
    sym_define_label(as, s, n);
    return n;
  }
  Statement *jump(uint32_t kind, Statement *target) {
    Statement *n = add(kind);
    n->op_opnd1.o_mode = OM_PROG;
    n->op_opnd1.o_value.v_rtype = RT_SYM;
    n->op_opnd1.o_value.v_sym = target->op_label;
    return n;
  }
  std::vector<Statement *> nodes(Symbol *ps = nullptr) {
    std::vector<Statement *> v;
    for (Statement *n = list_first(ps ? ps : text); n->op_type; n = n->op_next) v.push_back(n);
    return v;
  }
  static std::vector<std::string> comments(const Statement *n) {
    return stmt_comment(n) ? *stmt_comment(n) : std::vector<std::string>{};
  }
};

using Strs = std::vector<std::string>;
using V = std::vector<int>;

std::string where(const char *file, uint64_t line) { return std::string(file ? file : "-") + ":" + std::to_string(line); }

TEST(List, NewStatementPositionAndFlags) {
  struct Case {
    bool listing_on, line_numbers, hl_set;
    uint32_t markers, flags;
    std::string asm_pos, src_pos;
  };
  const Case cases[] = {
      {false, false, false, 0, NF_NOLIST, "a.as:12", "-:0"},
      {true, false, false, LM_VOLATILE, NF_VOLATILE, "a.as:12", "-:0"},
      {true, false, false, LM_VOLSFR | LM_VOLATILE, NF_VOLATILE | NF_NOOPT, "a.as:12", "-:0"},
      {true, true, false, 0, 0, "a.as:12", "a.as:12"},             // -V
      {true, true, true, 0, 0, "a.as:12", "m.c:77"},               // a LINE position beats -V
      {true, false, true, LM_SRCPOS, NF_SRCPOS, "m.c:77", "m.c:77"},  // ";#"
      {true, false, false, LM_SRCPOS, NF_SRCPOS, "-:0", "-:0"},
  };
  for (const Case &c : cases) {
    Fix f;
    f.as.lex.line_no = 12;
    f.as.opt.line_numbers = c.line_numbers;
    f.as.list.src = StmtSource{"m.c", 77, c.hl_set};
    f.as.lex.list_on = c.listing_on;
    f.as.lex.m_volatile = c.markers & LM_VOLATILE;
    f.as.lex.m_volsfr = c.markers & LM_VOLSFR;
    f.as.lex.m_hl = c.markers & LM_SRCPOS;
    Statement *n = list_new_statement(f.as);
    std::string got = where(stmt_asmfile(f.as.list, n), n->op_asmline) + " " + where(stmt_srcfile(f.as.list, n), n->op_srcline);
    EXPECT_EQ(got, c.asm_pos + " " + c.src_pos) << c.markers;
    EXPECT_EQ(n->op_flags, c.flags) << got;
    EXPECT_EQ(n->op_serial, 1u);
  }

  // Appending copies the parser's state and makes the node the current statement.
  Fix f;
  f.as.list.src.asmopt = NF_NOOPT;
  f.as.list.src.callstack = 5;
  EXPECT_FALSE(list_attach_eol_comment(f.as, "; nothing yet"));
  Statement *a = f.add(NOP), *b = f.add(MOVLW);
  EXPECT_EQ(f.nodes(), (std::vector<Statement *>{a, b}));
  EXPECT_EQ(b->op_psect, f.text);
  EXPECT_EQ(b->op_flags, NF_NOOPT | NF_NOLIST);
  EXPECT_EQ(stmt_callstack(f.as.list, b), 5u);
  EXPECT_TRUE(list_attach_eol_comment(f.as, "; here"));
  EXPECT_STREQ(stmt_eolcomment(b), "; here");
}

TEST(List, DeleteUnlinksAndNewNodesStartClean) {
  Fix f;
  Statement *a = f.add(NOP), *victim = f.add(NOP), *c = f.add(NOP);
  victim->op_num = 99;
  EXPECT_EQ(list_delete(f.as, victim), 1);
  EXPECT_EQ(list_delete(f.as, victim), 0);  // the second call changes nothing
  EXPECT_EQ(f.nodes(), (std::vector<Statement *>{a, c}));
  EXPECT_EQ(c->op_prev, a);
  Statement *again = list_new_statement(f.as);  // may reuse the deleted node, never its contents
  EXPECT_EQ(again->op_num, 0u);
  EXPECT_EQ(again->op_serial, 4u);

  // The operand's mode and access bytes share the value's storage: storing a whole value
  // through a reference must leave them alone.
  Statement *n = f.add(MOVWF);
  n->op_opnd1.o_mode = OM_FILE;
  n->op_opnd1.o_access = ACCESS;
  Value big = expr_abs(-1);
  big.v_flags = 0xFF;
  n->op_opnd1.o_value = big;
  EXPECT_EQ(n->op_opnd1.o_mode, OM_FILE);
  EXPECT_EQ(n->op_opnd1.o_access, ACCESS);
  EXPECT_EQ(n->op_opnd1.o_value.v_offs, -1);

  // A line number beyond 32 bits (only a LINE directive can give one) stays at the largest.
  f.as.list.src.hl_set = true;
  f.as.list.src.hl_file = "x.c";
  f.as.list.src.hl_line = uint64_t{1} << 40;
  EXPECT_EQ(list_new_statement(f.as)->op_srcline, UINT32_MAX);
}

TEST(List, Comments) {
  Fix plain;  // only the assembly text and the listing show comment lines: not kept without them
  list_add_comment(plain.as, "; one");
  EXPECT_EQ(stmt_comment(plain.add(NOP)), nullptr);

  Fix f;
  f.as.opt.asm_output = true;
  list_add_comment(f.as, "; one");
  list_add_comment(f.as, "; two");
  Statement *a = f.add(NOP), *b = f.add(NOP);
  EXPECT_EQ(Fix::comments(a), (Strs{"\n", "; one\n", "; two\n"}));
  EXPECT_EQ(stmt_comment(b), nullptr);  // never an empty vector

  list_add_comment(f.as, "; dropped");
  list_discard_pending_comments(f.as);
  list_add_comment(f.as, "; psect");
  list_move_comments_to_psect(f.as, f.text);
  EXPECT_EQ(sym_lists(f.text).s_pcomments, (Strs{"\n", "; psect\n"}));
  EXPECT_EQ(stmt_comment(f.add(NOP)), nullptr);

  // Deleting moves the comments to the next node, after that node's own.
  list_add_comment(f.as, "; x");
  Statement *d = f.add(NOP);
  list_add_comment(f.as, "; y");
  Statement *e = f.add(NOP);
  EXPECT_EQ(list_delete(f.as, d), 1);
  EXPECT_EQ(Fix::comments(e), (Strs{"\n", "; y\n", "\n", "; x\n"}));
}

struct TempDir {
  std::filesystem::path path;
  explicit TempDir(const char *tag) {
    path = std::filesystem::temp_directory_path() / (std::string("list_test_") + tag + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    setenv("TEMP", path.c_str(), 1);
  }
  ~TempDir() {
    unsetenv("TEMP");
    std::filesystem::remove_all(path);
  }
  bool empty() const { return std::filesystem::is_empty(path); }
};

TEST(List, SummaryComments) {
  TempDir dir("summary");
  {
    Fix f;
    f.as.opt.listing = true;
    list_add_comment(f.as, ";!first");
    list_add_comment(f.as, "; kept");
    list_add_comment(f.as, ";!");
    list_add_comment(f.as, ";!second line");
    Statement *n = f.add(NOP);
    EXPECT_EQ(Fix::comments(n), (Strs{"\n", "; kept\n"}));  // never a ";!" line
    EXPECT_FALSE(dir.empty());

    list_flush_summary(f.as, false);
    EXPECT_EQ(f.out.str(), ";!first\n;!\n;!second line\n");
    f.out.str("");
    Strs listed;
    list_flush_summary(f.as, true, [&](std::string_view s) { listed.emplace_back(s); });
    EXPECT_EQ(f.out.str(), "first\n\nsecond line\n");
    EXPECT_EQ(listed, (Strs{"first", "", "second line"}));
  }
  EXPECT_TRUE(dir.empty());  // the file goes with the run
}

TEST(List, SummaryFileFailures) {
  const std::pair<std::string, int> cases[] = {{"/nonexistent-list-test/sub", 141}, {std::string(5000, 'd'), 2082}};
  for (const auto &[dir, num] : cases) {
    setenv("TEMP", dir.c_str(), 1);
    Fix f;
    EXPECT_THROW(list_add_comment(f.as, ";!x"), AsmExit);
    if (num == 141) {
      EXPECT_NE(f.err.str().find("can't open temp file \"" + dir + "/asz"), std::string::npos);
    }
    EXPECT_EQ(f.message_numbers(), V{num});
  }
  unsetenv("TEMP");
}

// With -O, a node without a high-level position inherits the one of the node before it.
TEST(List, InheritedPositions) {
  Fix g;
  g.as.opt.listing = g.as.opt.optimize = true;
  g.as.lex.line_no = 9;
  g.as.list.src.hl_set = true;
  g.as.list.src.hl_file = "m.c";
  g.as.list.src.hl_line = 50;
  g.add(NOP);
  g.as.list.src.hl_set = false;
  Statement *y = g.add(NOP);
  EXPECT_STREQ(stmt_srcfile(g.as.list, y), "m.c");
  EXPECT_EQ(y->op_srcline, 50u);
}

TEST(List, LabelBefore) {
  Fix f;
  Statement *lab = f.label("start"), *a = f.add(NOP), *b = f.add(NOP);
  EXPECT_EQ(list_label_before(f.as, a), lab);  // no new node
  Statement *g = list_label_before(f.as, b);
  EXPECT_EQ(f.nodes(), (std::vector<Statement *>{lab, a, g, b}));
  EXPECT_EQ(g->op_type, NAME);
  EXPECT_EQ(g->op_psect, f.text);
  EXPECT_STREQ(g->op_label->s_name, "L1");
  EXPECT_EQ(g->op_label->s_defnode, g);
  EXPECT_STREQ(list_label_before(f.as, lab)->op_label->s_name, "L2");  // at the head
}

TEST(List, DeleteLabel) {
  const std::pair<const char *, int> cases[] = {
      {"__end_of_main", 0}, {"__ccov7", 0}, {"__end_ofx", 1}, {"__cco", 1}, {"l12", 1}};
  for (auto [name, expect] : cases) {
    Fix f;
    Statement *lab = f.label(name);
    Symbol *s = lab->op_label;
    list_add_reference(f.as, f.add(NOP), lab);
    EXPECT_EQ(list_delete_label(f.as, lab), expect) << name;
    EXPECT_EQ(f.as.list.labels_removed, static_cast<uint32_t>(expect)) << name;
    EXPECT_EQ(s->s_defnode, expect ? nullptr : lab) << name;
    EXPECT_EQ(s->s_flags & SF_UNDEF, expect ? SF_UNDEF : 0) << name;
    EXPECT_EQ(s->s_refcnt, expect ? 0u : 1u) << name;
    EXPECT_EQ(f.nodes().size(), expect ? 1u : 2u) << name;
  }
}

TEST(List, ReferencesAndUnusedLabels) {
  Fix f;
  Statement *used = f.label("used");
  Statement *unused = f.label("unused");
  Statement *global = f.label("glob", SF_GLOBAL);
  f.as.list.src.asmopt = NF_NOOPT;
  Statement *kept = f.label("noopt");
  f.as.list.src.asmopt = 0;
  Statement *end = f.label("__end_of_f");
  Statement *skip = f.add(BTFSC);
  Statement *skipped_label = f.label("mid");
  Statement *skipped = f.add(NOP);
  Statement *reached = f.add(NOP);
  Statement *jmp = f.jump(GOTO, used);
  Statement *call = f.jump(CALL, used);
  Statement *bra = f.jump(BRA, skipped_label);

  EXPECT_EQ(list_jump_target(skip), reached);
  EXPECT_EQ(list_jump_target(jmp), used);
  EXPECT_EQ(list_jump_target(skipped), nullptr);

  build_references(f.as, f.text);
  build_references(f.as, f.text);  // a rebuild adds nothing twice
  ASSERT_NE(stmt_refs(used), nullptr);
  EXPECT_EQ(*stmt_refs(used), (RefVec{jmp, call}));
  ASSERT_NE(stmt_refs(reached), nullptr);
  EXPECT_EQ(*stmt_refs(reached), (RefVec{skip}));
  ASSERT_NE(stmt_refs(skipped_label), nullptr);
  EXPECT_EQ(*stmt_refs(skipped_label), (RefVec{bra}));
  EXPECT_TRUE(global->op_label->s_flags & SF_KEEP);
  EXPECT_FALSE(used->op_label->s_flags & SF_KEEP);

  EXPECT_EQ(remove_unused_labels(f.as, f.text), 1u);  // only "unused"
  std::vector<Statement *> left = f.nodes();
  EXPECT_EQ(std::find(left.begin(), left.end(), unused), left.end());
  for (Statement *s : {used, global, kept, end, skipped_label})
    EXPECT_NE(std::find(left.begin(), left.end(), s), left.end()) << s->op_label->s_name;

  // Deleting a referrer takes it off its target's list; then the label goes too.
  EXPECT_EQ(list_delete(f.as, bra), 1);
  EXPECT_TRUE(stmt_refs(skipped_label)->empty());
  EXPECT_EQ(remove_unused_labels(f.as, f.text), 1u);
  list_drop_reference(f.as, jmp, used);
  EXPECT_EQ(*stmt_refs(used), (RefVec{call}));

  clear_references(f.as, f.text);
  EXPECT_EQ(stmt_refs(used), nullptr);
  EXPECT_EQ(stmt_refs(reached), nullptr);
}

}  // namespace
