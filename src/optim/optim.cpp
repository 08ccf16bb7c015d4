// Psect selection for the optimizer.
#include "optim/optim.h"

#include <string_view>

#include "driver/assembly.h"

bool optim_selects(const Symbol *p) {
  if (!p || (p->s_flags & PSF_NOTE) || p->s_psect.p_noexec || !p->s_name) return false;
  std::string_view n = p->s_name;
  if (n.empty() || n.starts_with("swtext")) return false;
  return n.starts_with("intcode") || n.find("text") != std::string_view::npos;
}

void optim_select_psects(Assembly &as) {
  OptimState &o = as.optim;
  o.optimizable.clear();
  o.abstraction.clear();
  o.groups.clear();
  for (StatementList *l : as.list.lists) {
    Symbol *p = l->psect;
    if (!optim_selects(p)) continue;
    o.optimizable.push_back(p);
    if (p->s_psect.p_optim & PO_MINOCG) o.groups[p->s_psect.p_group].push_back(p);
    else o.abstraction.push_back(p);
  }
}
