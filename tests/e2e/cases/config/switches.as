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
; ERR: %s: 144: (1311) missing configuration setting for config word 0x300001; using default (warning)
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
; |     10                           tosu	equ	0xFFF
; |     11                           tosh	equ	0xFFE
; |     12                           tosl	equ	0xFFD
; |     13                           stkptr	equ	0xFFC
; |     14                           pclatu	equ	0xFFB
; |     15                           pclath	equ	0xFFA
; |     16                           pcl	equ	0xFF9
; |     17                           tblptru	equ	0xFF8
; |     18                           tblptrh	equ	0xFF7
; |     19                           tblptrl	equ	0xFF6
; |     20                           tablat	equ	0xFF5
; |     21                           prodh	equ	0xFF4
; |     22                           prodl	equ	0xFE8
; |     23                           indf0	equ	0xFEF
; |     24                           postinc0	equ	0xFEE
; |     25                           postdec0	equ	0xFED
; |     26                           preinc0	equ	0xFEC
; |     27                           plusw0	equ	0xFEB
; |     28                           fsr0h	equ	0xFEA
; |     29                           fsr0l	equ	0xFE9
; |     30                           wreg	equ	0xFF3
; |     31                           indf1	equ	0xFE7
; |     32                           postinc1	equ	0xFE6
; |     33                           postdec1	equ	0xFE5
; |     34                           preinc1	equ	0xFE4
; |     35                           plusw1	equ	0xFE3
; |     36                           fsr1h	equ	0xFE2
; |     37                           fsr1l	equ	0xFE1
; |     38                           bsr	equ	0xFE0
; |     39                           indf2	equ	0xFDF
; |     40                           postinc2	equ	0xFDE
; |     41                           postdec2	equ	0xFDD
; |     42                           preinc2	equ	0xFDC
; |     43                           plusw2	equ	0xFDB
; |     44                           fsr2h	equ	0xFDA
; |     45                           fsr2l	equ	0xFD9
; |     46                           status	equ	0xFD8
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
; | tosu	equ	0xFFF
; | tosh	equ	0xFFE
; | tosl	equ	0xFFD
; | stkptr	equ	0xFFC
; | pclatu	equ	0xFFB
; | pclath	equ	0xFFA
; | pcl	equ	0xFF9
; | tblptru	equ	0xFF8
; | tblptrh	equ	0xFF7
; | tblptrl	equ	0xFF6
; | tablat	equ	0xFF5
; | prodh	equ	0xFF4
; | prodl	equ	0xFE8
; | indf0	equ	0xFEF
; | postinc0	equ	0xFEE
; | postdec0	equ	0xFED
; | preinc0	equ	0xFEC
; | plusw0	equ	0xFEB
; | fsr0h	equ	0xFEA
; | fsr0l	equ	0xFE9
; | wreg	equ	0xFF3
; | indf1	equ	0xFE7
; | postinc1	equ	0xFE6
; | postdec1	equ	0xFE5
; | preinc1	equ	0xFE4
; | plusw1	equ	0xFE3
; | fsr1h	equ	0xFE2
; | fsr1l	equ	0xFE1
; | bsr	equ	0xFE0
; | indf2	equ	0xFDF
; | postinc2	equ	0xFDE
; | postdec2	equ	0xFDD
; | preinc2	equ	0xFDC
; | plusw2	equ	0xFDB
; | fsr2h	equ	0xFDA
; | fsr2l	equ	0xFD9
; | status	equ	0xFD8
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
