// Instruction operand checks and the RAM access selection.
#include "isa/operand.h"

#include "device/chip.h"
#include "driver/assembly.h"
#include "isa/ops.h"

void operand_check_available(Assembly &as, const Keyword *kw) {
  if (!kw) return;
  if (as.opt.xinst && (kw->kind == ADDFSR || kw->kind == CALLW)) return;
  if (!(static_cast<uint32_t>(chip_arch(as)) & kw->avail)) msg_report(as.msg, MSG_ILLEGAL_INSTRUCTION);
}

void operand_check_extended(Assembly &as) {
  if (!as.opt.xinst) msg_report(as.msg, MSG_XINST_NEEDED);
}

bool operand_fsr_ok(const Value &v) {
  return v.v_rtype == RT_ABS && static_cast<uint64_t>(v.v_offs) < 4;
}

uint32_t operand_select_access(Assembly &as, const Value &v, uint32_t given) {
  if (v.v_flags & VF_ACCESS) {
    if (given == BANKED) {
      msg_report(as.msg, MSG_BANKED_COMMON_CONFLICT);
      return BANKED;
    }
    return ACCESS;
  }
  if (given) return given;
  if (v.v_rtype == RT_ABS) {
    uint64_t addr = static_cast<uint64_t>(v.v_offs);
    uint32_t acc = chip_in_access_sfr(as, addr) ? ACCESS : BANKED;
    if (as.opt.no_trans) {
      if (acc == BANKED && chip_in_access_bank(as, addr)) acc = as.opt.xinst ? BANKED : ACCESS;
      msg_report(as.msg, MSG_ACCESS_BIT_ASSUMED, acc == ACCESS ? "access-bank" : "banked memory");
    }
    return acc;
  }
  if (as.opt.no_trans) msg_report(as.msg, MSG_ACCESS_BIT_ASSUMED, "banked memory");
  return BANKED;
}
