// The statement list: new statements, the node pool, deletion, comments and summary comments,
// line records, generated and removed labels, reference lists, and the statement-level IF pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "isa/ops.h"
#include "lang/list.h"
#include "lang/sym.h"

namespace {

struct Fix {
  std::ostringstream err, out;
  Assembly as;
  Symbol *text = nullptr;
  Fix() {
    as.io.err = &err;
    as.msg.err = &err;
    as.io.out = &out;
    msg_init(as.msg, nullptr);
    msg_set_prehook(as.msg, [this] { msg_set_position(as.msg, as.lex.cur_file, &as.lex.msg_line, nullptr, nullptr); });
    sym_init(as);
    text = sym_lookup(as, "text", SF_PSECT);
    as.sym.cur_psect = text;
    as.lex.cur_file = as.strings.intern("a.as");
  }
  std::vector<int> messages() {
    std::vector<int> nums;
    std::string s = err.str();
    std::regex re("\\((\\d+)\\) ");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), re); it != std::sregex_iterator(); ++it)
      nums.push_back(std::stoi((*it)[1]));
    err.str("");
    return nums;
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
    return n->op_comment ? *n->op_comment : std::vector<std::string>{};
  }
};

using Strs = std::vector<std::string>;
using V = std::vector<int>;

TEST(List, NewStatementPositionAndFlags) {
  struct Case {
    const char *name;
    bool listing_on, line_numbers, hl_set;
    uint32_t markers;
    uint32_t flags;
    uint64_t asmline, srcline;
    const char *asmfile, *srcfile;
  };
  const Case cases[] = {
      {"plain, listing off", false, false, false, 0, NF_NOLIST, 12, 0, "a.as", nullptr},
      {"volatile", true, false, false, LM_VOLATILE, NF_VOLATILE, 12, 0, "a.as", nullptr},
      {"volsfr wins", true, false, false, LM_VOLSFR | LM_VOLATILE, 0x42, 12, 0, "a.as", nullptr},
      {"-V copies the assembler position", true, true, false, 0, 0, 12, 12, "a.as", "a.as"},
      {"LINE position beats -V", true, true, true, 0, 0, 12, 77, "a.as", "m.c"},
      {";# takes the high-level position", true, false, true, LM_SRCPOS, NF_SRCPOS, 77, 77, "m.c", "m.c"},
      {";# without one", true, false, false, LM_SRCPOS, NF_SRCPOS, 0, 0, nullptr, nullptr},
  };
  for (const Case &c : cases) {
    Fix f;
    f.as.lex.msg_line = 12;
    f.as.opt.line_numbers = c.line_numbers;
    f.as.list.src = StmtSource{};
    f.as.list.src.listing_on = c.listing_on;
    f.as.list.src.markers = c.markers;
    f.as.list.src.hl_set = c.hl_set;
    f.as.list.src.hl_file = f.as.strings.intern("m.c");
    f.as.list.src.hl_line = 77;
    Statement *n = list_new_statement(f.as);
    EXPECT_EQ(n->op_flags, c.flags) << c.name;
    EXPECT_EQ(n->op_asmline, c.asmline) << c.name;
    EXPECT_EQ(n->op_srcline, c.srcline) << c.name;
    EXPECT_STREQ(n->op_asmfile, c.asmfile) << c.name;
    EXPECT_STREQ(n->op_srcfile, c.srcfile) << c.name;
    EXPECT_EQ(n->op_serial, 1u) << c.name;
  }
}

TEST(List, AddStatementCopiesParserState) {
  Fix f;
  f.as.list.src.asmopt = NF_NOOPT;
  f.as.list.src.callstack = 5;
  f.as.list.src.dbgsrc = 2;
  int expansion = 0;
  f.as.list.src.macro = &expansion;
  EXPECT_FALSE(list_attach_eol_comment(f.as, "; nothing yet"));
  Statement *a = f.add(NOP);
  Statement *b = f.add(MOVLW);
  EXPECT_EQ(f.nodes(), (std::vector<Statement *>{a, b}));
  EXPECT_EQ(b->op_psect, f.text);
  EXPECT_EQ(b->op_flags & NF_NOOPT, NF_NOOPT);
  EXPECT_EQ(b->op_callstack, 5u);
  EXPECT_EQ(b->op_dbgsrc, 2u);
  EXPECT_EQ(b->op_macro, &expansion);
  EXPECT_EQ(b->op_serial, 2u);
  EXPECT_TRUE(list_attach_eol_comment(f.as, "; here"));
  EXPECT_STREQ(b->op_eolcomment, "; here");
  EXPECT_EQ(a->op_eolcomment, nullptr);
}

TEST(List, PoolRecyclesZeroedNodes) {
  Fix f;
  std::vector<Statement *> v;
  for (int i = 0; i < 64; ++i) v.push_back(f.add(NOP));
  EXPECT_EQ(f.as.list.node_blocks.size(), 1u);
  f.add(NOP);
  EXPECT_EQ(f.as.list.node_blocks.size(), 2u);

  Statement *victim = v[10];
  victim->op_flags = NF_HIDDEN;
  victim->op_num = 99;
  EXPECT_EQ(list_delete(f.as, victim), 1);
  EXPECT_EQ(victim->op_serial, 0u);
  EXPECT_EQ(list_delete(f.as, victim), 0);  // the second call changes nothing
  EXPECT_EQ(f.nodes().size(), 64u);
  EXPECT_EQ(v[9]->op_next, v[11]);
  EXPECT_EQ(v[11]->op_prev, v[9]);

  Statement *again = list_new_statement(f.as);
  EXPECT_EQ(again, victim);
  EXPECT_EQ(again->op_flags, NF_NOLIST);
  EXPECT_EQ(again->op_num, 0u);
  EXPECT_EQ(again->op_serial, 66u);
}

TEST(List, PendingComments) {
  Fix f;
  list_add_comment(f.as, "; one");
  list_add_comment(f.as, "; two");
  Statement *a = f.add(NOP);
  Statement *b = f.add(NOP);
  EXPECT_EQ(Fix::comments(a), (Strs{"\n", "; one\n", "; two\n"}));
  EXPECT_EQ(b->op_comment, nullptr);  // never an empty vector

  list_add_comment(f.as, "; dropped");
  list_discard_pending_comments(f.as);
  EXPECT_EQ(f.add(NOP)->op_comment, nullptr);

  list_add_comment(f.as, "; for the psect");
  list_move_comments_to_psect(f.as, f.text);
  EXPECT_EQ(f.text->s_pcomments, (Strs{"\n", "; for the psect\n"}));
  EXPECT_TRUE(f.as.list.pending.empty());
}

TEST(List, CommentOperations) {
  Fix f;
  list_add_comment(f.as, "; a");
  Statement *a = f.add(NOP);
  list_add_comment(f.as, "; b");
  Statement *b = f.add(NOP);
  Statement *c = f.add(NOP);

  list_copy_comments(f.as, c, a);
  EXPECT_EQ(Fix::comments(c), (Strs{"\n", "; a\n"}));
  list_copy_comments(f.as, b, a);  // replaces b's own
  EXPECT_EQ(Fix::comments(b), (Strs{"\n", "; a\n"}));
  list_free_comments(f.as, c);
  list_copy_comments(f.as, a, c);  // c has none: nothing happens
  EXPECT_TRUE(list_has_comments(f.as, a));
  EXPECT_FALSE(list_has_comments(f.as, c));

  std::string seen;
  list_for_each_comment(f.as, a, [&](const std::string &s) { seen += s; });
  EXPECT_EQ(seen, "\n; a\n");

  // Deleting moves the comments to the next node, after that node's own.
  EXPECT_EQ(list_delete(f.as, a), 1);
  EXPECT_EQ(Fix::comments(b), (Strs{"\n", "; a\n", "\n", "; a\n"}));
  EXPECT_EQ(list_delete(f.as, b), 1);
  EXPECT_EQ(Fix::comments(c), (Strs{"\n", "; a\n", "\n", "; a\n"}));
  EXPECT_EQ(f.messages(), V{});
}

TEST(List, CommentChecks) {
  Fix f;
  f.as.msg.check_msg = MSG_ASSERT_ERROR;
  EXPECT_FALSE(list_has_comments(f.as, nullptr));
  list_for_each_comment(f.as, f.add(NOP), nullptr);
  list_copy_comments(f.as, nullptr, nullptr);
  std::string e = f.err.str();
  for (const char *cond : {"np != NULL", "fp != NULL", "dst != NULL", "src != NULL"})
    EXPECT_NE(e.find(cond), std::string::npos) << cond;
}

struct TempDir {
  std::filesystem::path path;
  explicit TempDir(const char *tag) {
    path = std::filesystem::temp_directory_path() / (std::string("list_test_") + tag);
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
  {
    TempDir dir("missing");
    setenv("TEMP", (dir.path / "no" / "such").c_str(), 1);
    Fix f;
    EXPECT_THROW(list_add_comment(f.as, ";!x"), AsmExit);
    std::string e = f.err.str();
    EXPECT_NE(e.find("(141) can't open temp file \"" + (dir.path / "no" / "such").string() + "/asz"),
              std::string::npos) << e;
  }
  {
    TempDir dir("long");
    setenv("TEMP", std::string(5000, 'd').c_str(), 1);
    Fix f;
    EXPECT_THROW(list_add_comment(f.as, ";!x"), AsmExit);
    EXPECT_EQ(f.messages(), V{2082});
  }
}

TEST(List, LineRecordsAndInheritedPositions) {
  Fix f;
  f.as.opt.listing = true;
  f.as.list.src.line_offset = 100;
  f.as.lex.msg_line = 3;
  Statement *a = f.add(NAME);
  Statement *b = f.add(NOP);  // same line: no new record
  f.as.lex.msg_line = 4;
  f.as.list.src.line_offset = 140;
  Statement *c = f.add(NOP);
  f.as.lex.msg_line = 0;
  Statement *d = f.add(NOP);  // line 0: none
  ASSERT_EQ(f.as.list.lines.size(), 2u);
  EXPECT_EQ(a->op_lineinfo, &f.as.list.lines[0]);
  EXPECT_EQ(b->op_lineinfo, nullptr);
  EXPECT_EQ(c->op_lineinfo, list_last_line_record(f.as));
  EXPECT_EQ(d->op_lineinfo, nullptr);
  const LineRecord &r = *c->op_lineinfo;
  EXPECT_STREQ(r.file, "a.as");
  EXPECT_EQ(r.line, 4u);
  EXPECT_EQ(r.stmt, c);
  EXPECT_EQ(r.offset, 140u);

  // With -O no records are made, and a node without a high-level position inherits one.
  Fix g;
  g.as.opt.listing = g.as.opt.optimize = true;
  g.as.lex.msg_line = 9;
  g.as.list.src.hl_set = true;
  g.as.list.src.hl_file = "m.c";
  g.as.list.src.hl_line = 50;
  Statement *x = g.add(NOP);
  g.as.list.src.hl_set = false;
  Statement *y = g.add(NOP);
  EXPECT_EQ(list_last_line_record(g.as), nullptr);
  EXPECT_STREQ(y->op_srcfile, "m.c");
  EXPECT_EQ(y->op_srcline, 50u);
  EXPECT_EQ(x->op_lineinfo, nullptr);
}

TEST(List, LabelBefore) {
  Fix f;
  Statement *lab = f.label("start");
  Statement *a = f.add(NOP);
  Statement *b = f.add(NOP);
  EXPECT_EQ(list_label_before(f.as, a), lab);
  EXPECT_EQ(f.nodes().size(), 3u);

  Statement *g = list_label_before(f.as, b);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(f.nodes(), (std::vector<Statement *>{lab, a, g, b}));
  EXPECT_EQ(g->op_type, NAME);
  EXPECT_EQ(g->op_psect, f.text);
  EXPECT_STREQ(g->op_label->s_name, "L1");
  EXPECT_EQ(g->op_label->s_defnode, g);
  EXPECT_EQ(list_label_before(f.as, b), g);
  EXPECT_STREQ(list_label_before(f.as, lab)->op_label->s_name, "L2");  // at the head
  EXPECT_EQ(f.nodes().front()->op_label->s_defnode, f.nodes().front());
}

TEST(List, DeleteLabel) {
  struct Case {
    const char *name;
    int removed;
  };
  const Case cases[] = {{"__end_of_main", 0}, {"__ccov7", 0}, {"__end_ofx", 1}, {"__cco", 1}, {"l12", 1}};
  for (const Case &c : cases) {
    Fix f;
    Statement *lab = f.label(c.name);
    Symbol *s = lab->op_label;
    Statement *next = f.add(NOP);
    list_add_reference(f.as, next, lab);
    EXPECT_EQ(list_delete_label(f.as, lab), c.removed) << c.name;
    EXPECT_EQ(f.as.list.labels_removed, static_cast<uint32_t>(c.removed)) << c.name;
    EXPECT_EQ(f.as.list.labels_changed, c.removed == 1) << c.name;
    EXPECT_EQ(s->s_defnode, c.removed ? nullptr : lab) << c.name;
    EXPECT_EQ((s->s_flags & SF_UNDEF) != 0, c.removed == 1) << c.name;
    EXPECT_EQ(s->s_refcnt, c.removed ? 0u : 1u) << c.name;
    EXPECT_EQ(f.nodes().size(), c.removed ? 1u : 2u) << c.name;
    EXPECT_EQ(list_delete_label(f.as, lab), 0) << c.name;
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
  ASSERT_NE(used->op_refs, nullptr);
  EXPECT_EQ(*used->op_refs, (RefVec{jmp, call}));
  EXPECT_EQ(*reached->op_refs, (RefVec{skip}));
  EXPECT_EQ(*skipped_label->op_refs, (RefVec{bra}));
  EXPECT_TRUE(global->op_label->s_flags & SF_KEEP);
  EXPECT_FALSE(used->op_label->s_flags & SF_KEEP);

  EXPECT_EQ(remove_unused_labels(f.as, f.text), 1u);  // only "unused"
  std::vector<Statement *> left = f.nodes();
  EXPECT_EQ(std::find(left.begin(), left.end(), unused), left.end());
  for (Statement *s : {used, global, kept, end, skipped_label})
    EXPECT_NE(std::find(left.begin(), left.end(), s), left.end()) << s->op_label->s_name;

  // Deleting a referrer takes it off its target's list; then the label goes too.
  EXPECT_EQ(list_delete(f.as, bra), 1);
  EXPECT_TRUE(skipped_label->op_refs->empty());
  EXPECT_EQ(remove_unused_labels(f.as, f.text), 1u);
  list_drop_reference(f.as, jmp, used);
  EXPECT_EQ(*used->op_refs, (RefVec{call}));

  clear_references(f.as, f.text);
  EXPECT_EQ(used->op_refs, nullptr);
  EXPECT_EQ(reached->op_refs, nullptr);
}

// IF pass cases: space-separated nodes. I1/I0: IF with that absolute condition, IR: IF with a
// relocatable condition, S1/S0: ELSIF, E: ELSE, N: ENDIF, x: an instruction, L: a label,
// T: a temporary label. The expected marks give "H" for each hidden node, "." otherwise.
TEST(List, IfPass) {
  struct Case {
    std::string nodes, hidden;
    V msgs;
  };
  std::string deep = "I0", deep_marks = ".";
  for (int i = 0; i < 9; ++i) deep += " I1", deep_marks += " .";
  const Case cases[] = {
      {"I0 x L T N x", ". H . . . .", {}},
      {"I1 x E x N x", ". . . H . .", {}},
      {"I0 x S1 x E x N x", ". H . . . H . .", {}},
      {"I1 x S1 x E x N", ". . . H . H .", {}},
      {"I0 x S0 x E x N", ". H . H . . .", {}},
      {"I0 x S0 x S1 x E x N x", ". H . H . . . H . .", {}},
      {"I0 I1 x E x N x N x", ". . H . H . H . .", {}},
      {"I1 I0 x E x N N", ". . H . . . .", {}},
      {"I0 IR N x", ". H . .", {}},
      {"IR x", ". .", {}},
      {"N x", ". .", {1490}},
      {"I1 x", ". .", {1489}},
      {deep + " x", deep_marks + " .", {1003}},
  };
  for (const Case &c : cases) {
    Fix f;
    std::istringstream in(c.nodes);
    std::string marks;
    for (std::string t; in >> t;) {
      uint32_t kind = t[0] == 'I' ? IF : t[0] == 'S' ? ELSIF : t[0] == 'E' ? ELSE : t[0] == 'N' ? ENDIF
                    : t[0] == 'L' ? NAME : t[0] == 'T' ? TLABEL : NOP;
      Statement *n = f.add(kind);
      if (t.size() > 1) {
        n->op_opnd1.o_mode = OM_VALUE;
        n->op_opnd1.o_value = expr_abs(t[1] == '1');
        if (t[1] == 'R') n->op_opnd1.o_value = expr_dot(f.text);
      }
    }
    list_if_pass(f.as, f.text);
    for (Statement *n : f.nodes()) marks += (marks.empty() ? "" : " ") + std::string(n->op_flags & NF_HIDDEN ? "H" : ".");
    EXPECT_EQ(marks, c.hidden) << c.nodes;
    EXPECT_EQ(f.messages(), c.msgs) << c.nodes;
  }
}

TEST(List, IfPassMessages) {
  Fix f;
  Statement *e = f.add(ENDIF);
  e->op_srcfile = "prog.c";
  e->op_srcline = 42;
  f.as.lex.msg_line = 7;
  list_if_pass(f.as, f.text);
  EXPECT_NE(f.err.str().find("prog.c: 42: (1490) ENDIF not inside an IF directive"), std::string::npos) << f.err.str();
  EXPECT_EQ(f.as.lex.msg_line, 7);  // the position is restored
  EXPECT_STREQ(f.as.lex.cur_file, "a.as");
  f.err.str("");

  f.add(IF)->op_opnd1.o_value = expr_abs(1);
  list_if_pass_all(f.as);  // every psect, the default one first
  EXPECT_NE(f.err.str().find("(1489) unterminated IF directive at end of psect text"), std::string::npos) << f.err.str();
}

}  // namespace
