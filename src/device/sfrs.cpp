// Core SFR table: binding by name to the device's registers, lookups by id and address.
#include "device/sfrs.h"

#include <algorithm>

#include "device/chip.h"
#include "driver/assembly.h"

namespace {

constexpr bool table_in_id_order() {
  for (uint32_t i = 0; i < SFR_COUNT; ++i)
    if (core_sfrs[i].id != i + 1 || !core_sfrs[i].name) return false;
  return core_sfrs[SFR_COUNT].id == SFR_END;
}
static_assert(table_in_id_order(), "core SFR table out of id order");

// The id of the core register an operand names; 0 if it names none.
uint32_t operand_id(const Assembly &as, SfrOperand v) {
  const SfrState &s = as.dev.sfr;
  if (!v || *v < 0) return 0;
  return sfr_id_at(s, static_cast<uint64_t>(*v));
}

bool id_in(uint32_t id, uint32_t a, uint32_t b) { return id >= a && id <= b; }

// Position of an access register within its pointer's group of five (0 = INDFn), or -1.
int indirect_slot(uint32_t id) {
  for (uint32_t base : {SFR_INDF0, SFR_INDF1, SFR_INDF2})
    if (id_in(id, base, base + 4)) return static_cast<int>(id - base);
  return -1;
}

}  // namespace

void sfr_init(Assembly &as) {
  SfrState &s = as.dev.sfr;
  if (s.initialized) return;
  s.bound = 0;
  s.addr.fill(0);
  const ChipInfo *c = as.dev.chip.get();
  for (const CoreSfr &e : core_sfrs) {
    if (e.id == SFR_END || !c) break;
    const ChipSfr *rp = chip_find_sfr(*c, e.name);
    if (!rp) continue;  // the device lacks it: unbound
    const ChipSfr &r = *rp;
    s.addr[e.id] = r.addr;
    s.by_addr[s.bound++] = {r.addr, e.id};
  }
  // Two core registers at one address make the classification ambiguous; a correct device
  // description has none. The first in id order keeps the address.
  auto first = s.by_addr.begin(), last = first + s.bound;
  std::stable_sort(first, last, [](const SfrState::Bound &a, const SfrState::Bound &b) { return a.addr < b.addr; });
  auto kept = std::unique(first, last, [](const SfrState::Bound &a, const SfrState::Bound &b) { return a.addr == b.addr; });
  MSG_CHECK(as.msg, kept == last);
  s.bound = static_cast<uint32_t>(kept - first);
  s.initialized = true;
}

uint32_t sfr_id_at(const SfrState &s, uint64_t addr) {
  if (!s.initialized) return 0;
  auto first = s.by_addr.begin(), last = first + s.bound;
  auto it = std::lower_bound(first, last, addr, [](const SfrState::Bound &b, uint64_t a) { return b.addr < a; });
  return it != last && it->addr == addr ? it->id : 0;
}

uint64_t sfr_addr(const Assembly &as, uint32_t id) {
  if (id < 1 || id > SFR_COUNT) return 0;
  return as.dev.sfr.addr[id];
}

const char *sfr_name(const Assembly &as, long long addr) {
  if (addr < 0) return nullptr;
  uint32_t id = sfr_id_at(as.dev.sfr, static_cast<uint64_t>(addr));
  return id ? core_sfrs[id - 1].name : nullptr;
}

bool sfr_is_sfr(Assembly &as, SfrOperand v) {
  if (!as.dev.sfr.initialized || !v || *v < 0) return false;
  if (operand_id(as, v)) return true;
  return as.dev.chip && chip_in_sfr_area(as, static_cast<uint64_t>(*v));
}

bool sfr_is_indirect(const Assembly &as, SfrOperand v) { return indirect_slot(operand_id(as, v)) >= 0; }

unsigned sfr_fsr_number(const Assembly &as, SfrOperand v) {
  uint32_t id = operand_id(as, v);
  if (id_in(id, SFR_INDF0, SFR_PLUSW0)) return 1;
  if (id_in(id, SFR_INDF1, SFR_PLUSW1)) return 2;
  if (id_in(id, SFR_INDF2, SFR_PLUSW2)) return 3;
  return 0;
}

bool sfr_is_wreg(const Assembly &as, SfrOperand v) { return operand_id(as, v) == SFR_WREG; }
bool sfr_is_status(const Assembly &as, SfrOperand v) { return operand_id(as, v) == SFR_STATUS; }
bool sfr_is_bsr(const Assembly &as, SfrOperand v) { return operand_id(as, v) == SFR_BSR; }
bool sfr_is_pc(const Assembly &as, SfrOperand v) { return id_in(operand_id(as, v), SFR_PCLATU, SFR_PCL); }
bool sfr_is_tos(const Assembly &as, SfrOperand v) { return id_in(operand_id(as, v), SFR_TOSU, SFR_TOSL); }
bool sfr_is_postinc(const Assembly &as, SfrOperand v) { return indirect_slot(operand_id(as, v)) == 1; }
bool sfr_is_postdec(const Assembly &as, SfrOperand v) { return indirect_slot(operand_id(as, v)) == 2; }
bool sfr_is_preinc(const Assembly &as, SfrOperand v) { return indirect_slot(operand_id(as, v)) == 3; }
bool sfr_is_plusw(const Assembly &as, SfrOperand v) { return indirect_slot(operand_id(as, v)) == 4; }
