// Compatibility operand rewriting.
#include "driver/cmode.h"

#include <cstring>

#include "driver/assembly.h"
#include "isa/ops.h"
#include "optim/optim.h"

namespace {

// Instructions whose first operand is a file register with an access bit.
bool file_register_kind(uint32_t k) {
  uint8_t form = ops_class(k).form;
  return form == OF_FILE_DEST || form == OF_FILE || form == OF_FILE_BIT;
}

// A label's address: a psect-relative leaf, or a symbol leaf naming a label.
bool label_address(const Value &v) {
  if (v.v_rtype == RT_PSECT) return true;
  return v.v_rtype == RT_SYM && v.v_sym && v.v_sym->s_defnode;
}

// Walks the binary operators of v (left operands recursively, right ones iteratively) and
// wraps each psect-relative leaf in "low". Any other node ends the walk.
void low_leaves(Assembly &as, Value *v, int depth) {
  while (v) {
    if (label_address(*v)) {
      expr_unary(as, OPR_LOW, *v);
      return;
    }
    if (!expr_is_binary(v->v_rtype) || depth > 10000) return;
    low_leaves(as, v->v_left(), depth + 1);
    v = v->v_right();
  }
}

}  // namespace

void cmode_rewrite_operands(Assembly &as) {
  for (Symbol *p : as.optim.optimizable) {
    for (Statement *n = p->s_stmts->head.op_next; n->op_type; n = n->op_next) {
      const char *eol = stmt_eolcomment(n);
      if (!eol || std::strncmp(eol, ";#", 2) != 0) continue;
      Value &v = n->op_opnd1.o_value;
      if (n->op_type == MOVLB && label_address(v)) {
        expr_unary(as, OPR_HIGH, v);
        list_notes(as, n).op_eolcomment = ";# assembler added high";
      } else if (file_register_kind(n->op_type) && n->op_access == BANKED) {
        low_leaves(as, &v, 0);
        list_notes(as, n).op_eolcomment = ";# assembler added low";
      }
    }
  }
}
