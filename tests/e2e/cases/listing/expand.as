	psect	code,class=CODE,delta=1
two	macro
	nop
	nop
	endm
	two
	list	noexpand
	two
	list	expand
	two
	retlw	0
	list	noexpand
	rept	2
1:	nop
	endm
	dw	1b
1:	nop
	dw	1b
	nolist
2:	nop
	list
	dw	2b

; Macro expansions are listed only under EXPAND (off at the start): the first two expansions
; are left out, their bytes still counted in the addresses that follow. Temporary labels of
; statements left out (a REPT expansion, a NOLIST stretch) still count: each "1b" and "2b"
; shows the address of the nearest label before it.
; RUN: -mcpu=ZEL18A44 -L -T80 %s
; ENV: SOURCE_DATE_EPOCH=0
; OUTFILE: expand.lst
; |
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000 
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; |      1                           	processor	ZEL18A44
; |      2                           	pagewidth 80
; |      3                           	psect	code,global,class=CODE,delta=1
; |      4                           
; |      5                           	psect	code
; |      6  0008' F000               	nop
; |      7  000A' F000               	nop
; |      8  000C' 0C00               	retlw	0
; |      9  0012' 0010'              	dw	1b
; |     10  0014'                    1:
; |     11  0014' F000               	nop
; |     12  0016' 0014'              	dw	1b
; |     13  001A' 0018'              	dw	2b
; |     14                           tosu	equ	0xFFF
; |     15                           tosh	equ	0xFFE
; |     16                           tosl	equ	0xFFD
; |     17                           stkptr	equ	0xFFC
; |     18                           pclatu	equ	0xFFB
; |     19                           pclath	equ	0xFFA
; |     20                           pcl	equ	0xFF9
; |     21                           tblptru	equ	0xFF8
; |     22                           tblptrh	equ	0xFF7
; |     23                           tblptrl	equ	0xFF6
; |     24                           tablat	equ	0xFF5
; |     25                           prodh	equ	0xFF4
; |     26                           prodl	equ	0xFE8
; |     27                           indf0	equ	0xFEF
; |     28                           postinc0	equ	0xFEE
; |     29                           postdec0	equ	0xFED
; |     30                           preinc0	equ	0xFEC
; |     31                           plusw0	equ	0xFEB
; |     32                           fsr0h	equ	0xFEA
; |     33                           fsr0l	equ	0xFE9
; |     34                           wreg	equ	0xFF3
; |     35                           indf1	equ	0xFE7
; |     36                           postinc1	equ	0xFE6
; |     37                           postdec1	equ	0xFE5
; |     38                           preinc1	equ	0xFE4
; |     39                           plusw1	equ	0xFE3
; |     40                           fsr1h	equ	0xFE2
; |     41                           fsr1l	equ	0xFE1
; |     42                           bsr	equ	0xFE0
; |     43                           indf2	equ	0xFDF
; |     44                           postinc2	equ	0xFDE
; |     45                           postdec2	equ	0xFDD
; |     46                           preinc2	equ	0xFDC
; |     47                           plusw2	equ	0xFDB
; |     48                           fsr2h	equ	0xFDA
; |     49                           fsr2l	equ	0xFD9
; |     50                           status	equ	0xFD8
; |
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000 
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |    isa$std 000001   isa$xinst 000000  
