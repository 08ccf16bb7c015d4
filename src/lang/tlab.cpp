// Temporary labels: definitions recorded during the emitter's walk, references resolved by a
// search from the walk's position.
#include "lang/tlab.h"

#include <algorithm>

#include "driver/assembly.h"
#include "lang/list.h"
#include "lang/sym.h"

void tlab_init(TlabState &t) {
  t.entries.clear();
  t.cursor = 0;
}

void tlab_reset(TlabState &t) { t.cursor = 0; }

void tlab_define(Assembly &as, uint64_t number, const Statement *node) {
  TlabState &t = as.tlab;
  if (t.cursor < t.entries.size()) {
    const TlabEntry &e = t.entries[t.cursor];
    if (e.number != number || e.node != node) msg_report(as.msg, MSG_PHASE_ERROR);
  } else {
    t.entries.push_back(TlabEntry{number, const_cast<Statement *>(node)});
  }
  ++t.cursor;
}

Value tlab_resolve(Assembly &as, int64_t number, bool forward) {
  TlabState &t = as.tlab;
  const Statement *found = nullptr;
  if (number >= 0) {
    uint64_t num = static_cast<uint64_t>(number);
    size_t cur = std::min(t.cursor, t.entries.size());
    if (forward) {
      for (size_t i = cur; i < t.entries.size() && !found; ++i)
        if (t.entries[i].number == num) found = t.entries[i].node;
    } else {
      for (size_t i = cur; i-- > 0 && !found;)
        if (t.entries[i].number == num) found = t.entries[i].node;
    }
  }
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
