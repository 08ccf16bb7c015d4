// Temporary labels: definitions recorded during the emitter's walk, references resolved by a
// search from the walk's position.
#include "lang/tlab.h"

#include <algorithm>

#include "driver/assembly.h"
#include "lang/list.h"
#include "lang/sym.h"

void tlab_init(TlabTable &t) {
  t.entries.clear();
  t.cursor = 0;
  t.read = 0;
}

void tlab_reset(TlabTable &t) { t.cursor = 0; }

void tlab_define(Assembly &as, uint64_t number, Statement *node) {
  TlabTable &t = as.tlab;
  if (t.cursor < t.entries.size()) {
    const TlabEntry &e = t.entries[t.cursor];
    if (e.number != number || e.node != node) msg_report(as.msg, MSG_PHASE_ERROR);
  } else {
    t.entries.push_back(TlabEntry{number, node});
  }
  ++t.cursor;
}

const Statement *tlab_find(const TlabTable &t, int64_t number, bool forward) {
  if (number < 0) return nullptr;
  uint64_t num = static_cast<uint64_t>(number);
  size_t cur = std::min(t.cursor, t.entries.size());
  if (forward) {
    for (size_t i = cur; i < t.entries.size(); ++i)
      if (t.entries[i].number == num) return t.entries[i].node;
  } else {
    for (size_t i = cur; i-- > 0;)
      if (t.entries[i].number == num) return t.entries[i].node;
  }
  return nullptr;
}

Value tlab_resolve(Assembly &as, int64_t number, bool forward) {
  const Statement *found = tlab_find(as.tlab, number, forward);
  if (!found) {
    msg_report(as.msg, MSG_UNDEFINED_TEMP_LABEL);
    return expr_abs(0xFFFF);
  }
  Value v;
  v.v_rtype = RT_PSECT;
  v.v_sym = found->op_psect;
  uint32_t delta = found->op_psect ? found->op_psect->s_psect.p_delta : 0;
  v.v_offs = delta ? found->op_addr / delta : found->op_addr;
  return v;
}
