// PSECT flags and the ordering of psects.
#include "lang/psect.h"

#include <algorithm>

#include "driver/assembly.h"
#include "isa/ops.h"

namespace {

bool positive(const Value &v) { return v.v_rtype == RT_ABS && v.v_offs >= 0; }

// A valued flag: error `bad` for a value that is not a positive constant; a different non-zero
// value than the one already given is warning `redef` and keeps the old one.
template <class T>
void valued(Assembly &as, T &field, const Value &v, unsigned bad, unsigned redef, uint64_t max) {
  if (!positive(v)) msg_report(as.msg, bad);
  uint64_t n = static_cast<uint64_t>(v.v_offs);
  if (n > max) n = max;
  if (field != 0 && n != 0 && static_cast<uint64_t>(field) != n) {
    msg_report(as.msg, redef);
    return;
  }
  if (n != 0) field = static_cast<T>(n);
}

}  // namespace

void psect_enter(Assembly &as, Symbol *p) {
  if (!p) return;
  if (p != as.sym.cur_psect) as.sym.cur_psect = p;
  list_move_comments_to_psect(as, p);
}

void psect_flag(Assembly &as, Symbol *p, unsigned word, Value *v, Symbol *name) {
  PsectPart &pp = p->s_psect;
  static const Value zero{};
  const Value &val = v ? *v : zero;
  switch (word) {
  case PFW_GLOBAL: p->s_flags |= PSF_GLOBAL; break;
  case PFW_PURE: p->s_flags |= PSF_PURE; break;
  case PFW_OVRLD: p->s_flags |= PSF_OVRLD; break;
  case PFW_ABS: p->s_flags |= PSF_ABS; break;
  case PFW_COMMON: p->s_flags |= PSF_COMMON; break;
  case PFW_BIT: p->s_flags |= PSF_BIT; break;
  case PFW_LOCAL: p->s_flags |= PSF_LOCAL; break;
  case PFW_NOTE: p->s_flags |= PSF_NOTE; break;
  case PFW_SIZE: valued(as, pp.p_size, val, MSG_PSECT_SIZE_ARG, MSG_PSECT_SIZE_REDEFINED, UINT64_MAX); break;
  case PFW_LIMIT: valued(as, pp.p_limit, val, MSG_PSECT_LIMIT_ARG, MSG_PSECT_LIMIT_REDEFINED, 0xFFFF); break;
  case PFW_RELOC: valued(as, pp.p_reloc, val, MSG_PSECT_RELOC_ARG, MSG_PSECT_RELOC_REDEFINED, UINT64_MAX); break;
  case PFW_DELTA: valued(as, pp.p_delta, val, MSG_PSECT_DELTA_ARG, MSG_PSECT_DELTA_REDEFINED, 0xFF); break;
  case PFW_SPACE: valued(as, pp.p_space, val, MSG_PSECT_SPACE_ARG, MSG_PSECT_SPACE_REDEFINED, 0xFF); break;
  case PFW_CLASS:
    if (pp.p_class && pp.p_class != name) msg_report(as.msg, MSG_PSECT_ONE_CLASS);
    else pp.p_class = name;
    break;
  case PFW_WITH:
    if (pp.p_with && pp.p_with != name) msg_report(as.msg, MSG_PSECT_ONE_WITH);
    else pp.p_with = name;
    break;
  case PFW_GROUP:
    if (val.v_rtype != RT_ABS) msg_report(as.msg, MSG_OPERAND_ERROR);
    pp.p_group = static_cast<uint32_t>(val.v_offs);
    break;
  case PFW_INLINE: pp.p_inline = 1; break;
  case PFW_KEEP: pp.p_keep = 1; break;
  case PFW_NOEXEC: pp.p_noexec = 1; break;
  case PFW_LOWDATA: pp.p_lowdata = 1; break;
  case PFW_MINOCG: pp.p_optim |= PO_MINOCG; break;
  case PFW_CODECOV: pp.p_optim |= PO_CODECOV; break;
  default: break;
  }
}

void psect_optim(Assembly &as, Symbol *p, const std::vector<unsigned> &items) {
  static_cast<void>(as);
  PsectPart &pp = p->s_psect;
  bool inl = false, remove = false;
  for (unsigned w : items) {
    switch (w) {
    case PFW_INLINE: pp.p_optim |= PO_INLINE; inl = true; break;
    case PFW_PA: pp.p_optim |= PO_PA; break;
    case PFW_JUMP: pp.p_optim |= PO_JUMP; break;
    case PFW_PEEP: pp.p_optim |= PO_PEEP; break;
    case PFW_REMOVE: pp.p_optim |= PO_REMOVE; remove = true; break;
    case PFW_CODECOV: pp.p_optim |= PO_CODECOV; break;
    default: break;
    }
  }
  pp.p_optim |= PO_GIVEN;
  if (inl) pp.p_inline = 1;
  if (!remove) pp.p_keep = 1;
}

void psect_finish(Assembly &as, Symbol *p) {
  if (!(p->s_flags & PSF_LOCAL)) p->s_flags |= PSF_GLOBAL;
  else if (p->s_flags & PSF_GLOBAL) msg_report(as.msg, MSG_LOCAL_AND_GLOBAL_PSECT);
  if (p->s_flags & PSF_NOTE) {
    PsectPart &pp = p->s_psect;
    pp.p_noexec = 1;
    if (pp.p_group || pp.p_inline || pp.p_optim || pp.p_keep) msg_report(as.msg, MSG_NOTE_PSECT_FLAGS);
    pp.p_group = 0;
    pp.p_inline = 0;
    pp.p_optim = 0;
    pp.p_keep = 0;
    if (pp.p_space != SPACE_NOTE && as.msg.check_msg)
      msg_check_failed(as.msg, "pc->s_psect.p_space == SPACE_NOTE", __FILE__, __LINE__);
  }
}

std::vector<Symbol *> psect_order(Assembly &as) {
  std::vector<Symbol *> all;
  all.reserve(as.list.lists.size());
  for (StatementList *l : as.list.lists)
    if (l->psect) all.push_back(l->psect);
  for (Symbol *p : all) {
    uint32_t n = 1;
    // A chain longer than the psect count has a cycle that does not pass through p.
    for (Symbol *q = p; q && n <= all.size() + 1; q = q->s_psect.p_with, ++n) {
      if (q == p && n > 1) {
        // reported where the psect was first named
        msg_report_at(as.msg, {p->s_file, static_cast<long>(p->s_line)}, MSG_WITH_CYCLIC);
        break;
      }
      if (q->s_psect.p_depth >= n) break;
      q->s_psect.p_depth = n;
    }
  }
  std::stable_sort(all.begin(), all.end(), [](const Symbol *a, const Symbol *b) {
    if (a->s_psect.p_depth != b->s_psect.p_depth) return a->s_psect.p_depth > b->s_psect.p_depth;
    return a->s_serial > b->s_serial;
  });
  return all;
}
