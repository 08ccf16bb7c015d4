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

; Macro expansions are listed only under EXPAND (off at the start): the first two expansions
; are left out, their bytes still counted in the addresses that follow.
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
; |      9                           tosu	equ	0xFFF
; |     10                           tosh	equ	0xFFE
; |     11                           tosl	equ	0xFFD
; |     12                           stkptr	equ	0xFFC
; |     13                           pclatu	equ	0xFFB
; |     14                           pclath	equ	0xFFA
; |     15                           pcl	equ	0xFF9
; |     16                           tblptru	equ	0xFF8
; |     17                           tblptrh	equ	0xFF7
; |     18                           tblptrl	equ	0xFF6
; |     19                           tablat	equ	0xFF5
; |     20                           prodh	equ	0xFF4
; |     21                           prodl	equ	0xFE8
; |     22                           indf0	equ	0xFEF
; |     23                           postinc0	equ	0xFEE
; |     24                           postdec0	equ	0xFED
; |     25                           preinc0	equ	0xFEC
; |     26                           plusw0	equ	0xFEB
; |     27                           fsr0h	equ	0xFEA
; |     28                           fsr0l	equ	0xFE9
; |     29                           wreg	equ	0xFF3
; |     30                           indf1	equ	0xFE7
; |     31                           postinc1	equ	0xFE6
; |     32                           postdec1	equ	0xFE5
; |     33                           preinc1	equ	0xFE4
; |     34                           plusw1	equ	0xFE3
; |     35                           fsr1h	equ	0xFE2
; |     36                           fsr1l	equ	0xFE1
; |     37                           bsr	equ	0xFE0
; |     38                           indf2	equ	0xFDF
; |     39                           postinc2	equ	0xFDE
; |     40                           postdec2	equ	0xFDD
; |     41                           preinc2	equ	0xFDC
; |     42                           plusw2	equ	0xFDB
; |     43                           fsr2h	equ	0xFDA
; |     44                           fsr2l	equ	0xFD9
; |     45                           status	equ	0xFD8
; |
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000 
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |    isa$std 000001   isa$xinst 000000  
