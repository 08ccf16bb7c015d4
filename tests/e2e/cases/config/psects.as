	psect	code,class=CODE,delta=1
	config	OSC=HS
	config	IDLOC0=0x12
	nop
; The config and idloc psects made from CONFIG directives: an ORG and one data item per
; register, two bytes for a register with bits above 0xFF, the unit's other register written
; with its defaults (1311, as it has settings), the user-ID byte written alone; the comment
; lines after the code in -A output; the psects and bytes in the object file. The warning
; comes after the whole source has been read, at its last line.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Oc.opt %s
; ERR: %s: 78: (1311) missing configuration setting for config word 0x300001; using default (warning)
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
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata %s
; ERR: %s: 78: (1311) missing configuration setting for config word 0x300001; using default (warning)
; RUN zel18dump: psects.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=9 flags=0xD0(global,ovrld,abs) name="config"
; OUT: XPSECT len=27 size=0x0 reloc=0x0 space=4 delta=1 psect="config" class="CONFIG" with=""
; OUT: PSECTBOUND len=27 lead=13 flags=0xD0(global,ovrld,abs) base=0x300000 size=0x300003 space=4 delta=1 psect="config" class="CONFIG"
; OUT: PSECT len=8 flags=0xD0(global,ovrld,abs) name="idloc"
; OUT: XPSECT len=25 size=0x0 reloc=0x0 space=5 delta=1 psect="idloc" class="IDLOC" with=""
; OUT: PSECTBOUND len=25 lead=13 flags=0xD0(global,ovrld,abs) base=0x200000 size=0x200001 space=5 delta=1 psect="idloc" class="IDLOC"
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x0 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=11 loc=0x0 psect="code"
; OUT:   0000: 00 F0
; OUT: TEXT len=11 loc=0x200000 psect="idloc"
; OUT:   200000: 12
; OUT: TEXT len=12 loc=0x300000 psect="config"
; OUT:   300000: 06
; OUT: TEXT len=13 loc=0x300001 psect="config"
; OUT:   300001: AB 01
; OUT: END len=2
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
