	config	default_configs=always
	config	OSC=2
	config	default_idlocs=off
; The switches: default_configs always writes every register of the device with the comment
; lines after the code in the listing (which drops the first two characters of each); a
; setting given as a literal. With default_configs off only the programmed unit is written,
; its unspecified register skipped (still 1311, as it has settings). The warnings come after
; the whole source has been read, at its last line.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -L -T80 %s
; ENV: SOURCE_DATE_EPOCH=0
; ERR: %s: 72: (1311) missing configuration setting for config word 0x300001; using default (warning)
; OUTFILE: switches.lst
; |
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000 
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; |      1                           	processor	ZEL18A44
; |      2                           	pagewidth 80
; |      3                           	psect	config,global,abs,ovrld,class=CONFIG,spac
; |       +                          e=4,delta=1,noexec
; |      4                           
; |      5                           	psect	config
; |      6  0000                     	org	3145728
; |      7  300000  06                 	db	6
; |      8  300001                     	org	3145729
; |      9  300001  01AB               	dw	427
; | %equates(F,10)
; | onfig register CFGA @ 0x300000
; | Oscillator
; | OSC = 0x2, user specified literal
; | onfig register CFGW @ 0x300001
; | unspecified, using default values
; | High bit
; | BIG = 0x1, unprogrammed default
; |
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000 
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |    isa$std 000001   isa$xinst 000000  
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
