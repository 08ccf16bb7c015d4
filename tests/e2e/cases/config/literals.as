	config	OSC=HS
	config	OSC=HS
	config	OSC=1
	config	WDT=1
	config	WDT=1
	config	WDT=0
	config	WDT=OFF
	config	CFGB=2
	config	CLK=SLOW
	config	IDLOC0=0x12
	config	IDLOC0=0x12
	config	IDLOC0=0x34
	config	IDLOC1=0x1FF
	config	IDLOC1=0xFF

; Programming a setting or register again: the same value is silent; another one is 1389 with
; what was there, a value name or the literal in hexadecimal. A literal for a setting lies in
; the setting's own bits (WDT=1 is the bits 0x4, the value ON), and a conflicting one is also
; reported as unknown (1363). A literal for a register with settings chooses their values; one
; for a register without settings is cut to its mask with warning 1388.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata %s
; EXIT: 1
; ERR: literals.as: 3: (1389) attempt to reprogram configuration setting "OSC" with 0x1 (is HS)
; ERR: literals.as: 3: (1363) unknown configuration setting/register (OSC = 0x1) used
; ERR: literals.as: 6: (1389) attempt to reprogram configuration setting "WDT" with 0x0 (is 0x1)
; ERR: literals.as: 6: (1363) unknown configuration setting/register (WDT = 0x0) used
; ERR: literals.as: 7: (1389) attempt to reprogram configuration setting "WDT" with OFF (is 0x1)
; ERR: literals.as: 9: (1389) attempt to reprogram configuration setting "CLK" with SLOW (is FAST)
; ERR: literals.as: 12: (1389) attempt to reprogram configuration register "IDLOC0" with 0x34 (is 0x12)
; ERR: literals.as: 13: (1388) configuration setting/register of "IDLOC1" with 0x1FF will be truncated by 0xFF (warning)
; FILE: t.cfgdata
; | CWORD:300000:0F:05:CFGA
; | CSETTING:3:OSC:Oscillator
; | CVALUE:0:LP:low power
; | CVALUE:2:HS:high speed
; | CSETTING:C:WDT:Watchdog
; | CVALUE:0:OFF:disabled
; | CVALUE:4:ON:enabled
; | CWORD:300001:0F:05:CFGB
; | CSETTING:3:CLK:Clock
; | CVALUE:0:SLOW:slow
; | CVALUE:2:FAST:fast
; | CWORD:200000:FF:FF:IDLOC0
; | CWORD:200001:FF:FF:IDLOC1
