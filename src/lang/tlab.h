// Temporary labels: the table of "<n>:" definitions in emission order and the resolution of
// "<n>f" and "<n>b" references against it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lang/expr.h"
#include "support/pool.h"

struct Assembly;
struct Statement;

struct TlabEntry {
  uint64_t number;   // the label's number as written
  Statement *node;   // its TLABEL node
};

struct TlabTable {
  PageVector<TlabEntry> entries;   // definitions in emission order
  size_t cursor = 0;               // definitions passed so far in the current walk
  size_t read = 0;                 // definitions read from the source: the table's size to reserve
};

// Empties the table (program start).
void tlab_init(TlabTable &t);
// Starts a repeated walk over the same statements.
void tlab_reset(TlabTable &t);
// A TLABEL node met in the walk: recorded on the first walk, checked against the table on a
// repeated one (840 "phase error" when it differs).
void tlab_define(Assembly &as, uint64_t number, Statement *node);
// The nearest definition of `number` after the definitions passed (forward) or among them
// (backward), without a report; null when there is none.
const Statement *tlab_find(const TlabTable &t, int64_t number, bool forward);
// The address of the nearest definition of `number` after the definitions passed (forward) or
// among them (backward): relative to the node's psect, in address units. 803 and the absolute
// value 0xFFFF when there is none.
Value tlab_resolve(Assembly &as, int64_t number, bool forward);
