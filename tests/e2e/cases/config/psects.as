	psect	code,class=CODE,delta=1
	config	OSC=HS
	config	IDLOC0=0x12
	nop
; The config and idloc psects made from CONFIG directives: an ORG and one data item per
; register, two bytes for a register with bits above 0xFF, the unit's other register written
; with its defaults (1311, as it has settings), the user-ID byte written alone; the comment
; lines after the code in -A output. The warning comes after the whole source has been read,
; at its last line.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Oc.opt %s
; ERR: %s: 51: (1311) missing configuration setting for config word 0x300001; using default (warning)
; OUTFILE: c.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	code,global,class=CODE,delta=1
; | 	psect	idloc,global,abs,ovrld,class=IDLOC,space=5,delta=1,noexec
; | 	psect	config,global,abs,ovrld,class=CONFIG,space=4,delta=1,noexec
; |
; | 	psect	code
; | 	nop
; |
; | 	psect	idloc
; | 	org	2097152
; | 	db	18
; |
; | 	psect	config
; | 	org	3145728
; | 	db	6
; | 	org	3145729
; | 	dw	427
; | %equates(F)
; | ;Config register IDLOC0 @ 0x200000
; | ;	using specified literal value
; | ;Config register CFGA @ 0x300000
; | ;	Oscillator
; | ;	OSC = HS, high speed
; | ;Config register CFGW @ 0x300001
; | ;	unspecified, using default values
; | ;	High bit
; | ;	BIG = 0x1, unprogrammed default
; FILE: t.cfgdata
; | CWORD:300000:0F:05:CFGA
; | CSETTING:3:OSC:Oscillator
; | CVALUE:0:LP:low power
; | CVALUE:2:HS:high speed
; | CWORD:300001:1FF:1AB:CFGW
; | CSETTING:100:BIG:High bit
; | CVALUE:100:ON:set
; | CVALUE:0:OFF:clear
; | CWORD:200000:FF:FF:IDLOC0
