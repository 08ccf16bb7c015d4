	psect	data,abs,ovrld,class=CODE,delta=1
	org	0x100
count	equ	0x42
	movlw	count	; a long comment that runs past the page width of this listing and continues
	list	nolist
	nop
	list	list
	addlw	1

; Pages of 40 lines at width 80: a form feed after every 36th line counting the 5 header lines,
; numbered page headers, a line continued at 48 characters, the address column of an absolute
; psect, statements made under NOLIST left out (their bytes still counted), and the symbol
; table on a page of its own.
; RUN: -mcpu=ZEL18A44 -L -T80 -F40 %s
; ENV: SOURCE_DATE_EPOCH=0
; OUTFILE: pages.lst
; |
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 1
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; |      1                           	processor	ZEL18A44
; |      2                           	pagelength 40
; |      3                           	pagewidth 80
; |      4                           	psect	data,global,abs,ovrld,class=CODE,delta=1
; |      5                           
; |      6                           	psect	data
; |      7  0000                     	org	256
; |      8  0100  0E42               	movlw	66	; a long comment that runs past the pa
; |       +                          ge width of this listing and continues
; |      9  0104  0F01               	addlw	1
; | %equates(F,10,0,21)
; | 
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 2
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; | %equates(F,31,21,16)
; | 
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000               Page 3
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |      count 000042     isa$std 000001   isa$xinst 000000  
; | 
