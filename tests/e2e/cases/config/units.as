	config	pad_punits=on
	config	OSC=HSPLL
	config	OSC=HS4
	config	OSC=LP
	config	CFG4=0x34
; A value named by one of its aliases shows the name the source used last (message 1389, the
; comment lines after the code), not the record's first name. Programming units of three
; registers in four addresses (CFGPROG=3,1,4): the register at 300003 lies in no unit and is
; written on its own; the unit's free addresses are padded once.
; RUN: -mcpu=GAPCHIP -Cgap.ini --cfgdata=t.cfgdata -A -Ou.opt %s
; EXIT: 1
; ERR: %s: 4: (1389) attempt to reprogram configuration setting "OSC" with LP (is HS4)
; OUTFILE: u.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	GAPCHIP
; | 	psect	config,global,abs,ovrld,class=CONFIG,space=4,delta=1,noexec
; |
; | 	psect	config
; | 	org	3145728
; | 	db	6
; | 	org	3145729
; | 	db	255
; | 	org	3145730
; | 	db	255
; | 	org	3145731
; | 	db	52
; | wreg	equ	0xFF3
; | ;Config register CFGA @ 0x300000
; | ;	Oscillator
; | ;	OSC = HS4, high speed
; | ; Padding undefined space
; | ; Padding undefined space
; | ;Config register CFG4 @ 0x300003
; | ;	using specified literal value
; FILE: t.cfgdata
; | CWORD:300000:0F:05:CFGA
; | CSETTING:3:OSC:Oscillator
; | CVALUE:0:LP:low power
; | CVALUE:2:HSPLL,HS4:high speed
; | CWORD:300003:FF:FF:CFG4
; FILE: gap.ini
; | [GAPCHIP]
; | ARCH=ZEL18
; | RAMSIZE=1000
; | ROMSIZE=8000
; | PCBITS=E
; | BSRBITS=4
; | COMMON=0-5F
; | SFRCOMMON=F60-FFF
; | GPRBANKS=0-EFF
; | SFRBANKS=F00-FFF
; | CFGMEM=300000-30000D
; | CFGPROG=3,1,4
; | SFR=WREG,FF3
