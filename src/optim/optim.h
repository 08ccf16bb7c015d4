// The optimizer's psect selection: which psects it may rewrite, and how procedural
// abstraction groups them.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

struct Assembly;
struct Symbol;

struct OptimState {
  std::vector<Symbol *> optimizable;  // in definition order
  std::vector<Symbol *> abstraction;  // selected psects without "minocg"
  std::map<uint32_t, std::vector<Symbol *>> groups;  // "minocg" psects by group number
};

// Whether the optimizer may rewrite the psect: an executable, non-note psect whose name begins
// with "intcode" or contains "text", and does not begin with "swtext".
bool optim_selects(const Symbol *psect);
// Builds the three lists over every psect, in definition order.
void optim_select_psects(Assembly &as);
