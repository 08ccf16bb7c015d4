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
;!summary line

; Macro expansions are listed only under EXPAND (off at the start): the first two expansions
; are left out, their bytes still counted in the addresses that follow. Temporary labels of
; statements left out (a REPT expansion, a NOLIST stretch) still count: each "1b" and "2b"
; shows the address of the nearest label before it. The summary comments follow the code, each
; without its first two characters.
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
; | %equates(F,14)
; | summary line
; |
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000 
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |    isa$std 000001   isa$xinst 000000  
