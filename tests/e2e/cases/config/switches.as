	config	default_configs=always
	config	OSC=2
	config	default_idlocs=off
; The switches: default_configs always writes every register of the device with the comment
; lines after the code; a setting given as a literal. With default_configs off only the programmed unit is written,
; its unspecified register skipped (still 1311, as it has settings). The warnings come after
; the whole source has been read, at its last line.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Oa.opt %s
; ERR: %s: 58: (1311) missing configuration setting for config word 0x300001; using default (warning)
; OUTFILE: a.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	config,global,abs,ovrld,class=CONFIG,space=4,delta=1,noexec
; |
; | 	psect	config
; | 	org	3145728
; | 	db	6
; | 	org	3145729
; | 	dw	427
; | %equates(F)
; | ;Config register CFGA @ 0x300000
; | ;	Oscillator
; | ;	OSC = 0x2, user specified literal
; | ;Config register CFGW @ 0x300001
; | ;	unspecified, using default values
; | ;	High bit
; | ;	BIG = 0x1, unprogrammed default
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Oo.opt o.as
; ERR: o.as: 2: (1311) missing configuration setting for config word 0x300000; using default (warning)
; OUTFILE: o.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	config,global,abs,ovrld,class=CONFIG,space=4,delta=1,noexec
; |
; | 	psect	config
; | 	org	3145729
; | 	dw	256
; | %equates(F)
; | ;Config register CFGA @ 0x300000
; | ;	unspecified, skipping
; | ;Config register CFGW @ 0x300001
; | ;	High bit
; | ;	BIG = ON, set
; FILE: o.as
; | 	config	default_configs=off
; | 	config	CFGW=0x100
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
