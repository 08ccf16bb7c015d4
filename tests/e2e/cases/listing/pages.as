	psect	data,abs,ovrld,class=CODE,delta=1
	org	0x100
count	equ	0x42
	movlw	count	; a long comment that runs past the page width of this listing and continues
	list	nolist
	nop
	list	list
	addlw	1

; Pages of 20 lines at width 80: a form feed after every 16th line counting the 5 header lines,
; numbered page headers, a line continued at 48 characters, the address column of an absolute
; psect, statements made under NOLIST left out (their bytes still counted), and the symbol
; table on a page of its own.
; RUN: -mcpu=ZEL18A44 -L -T80 -F20 %s
; ENV: SOURCE_DATE_EPOCH=0
; OUTFILE: pages.lst
; |
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 1
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; |      1                           	processor	ZEL18A44
; |      2                           	pagelength 20
; |      3                           	pagewidth 80
; |      4                           	psect	data,global,abs,ovrld,class=CODE,delta=1
; |      5                           
; |      6                           	psect	data
; |      7  0000                     	org	256
; |      8  0100  0E42               	movlw	66	; a long comment that runs past the pa
; |       +                          ge width of this listing and continues
; |      9  0104  0F01               	addlw	1
; |     10                           tosu	equ	0xFFF
; | 
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 2
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
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
; | 
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 3
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
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
; | 
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 4
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
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
; | 
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000               Page 5
; |                                                        Thu Jan  1 00:00:00 1970
; |
; |
; |     44                           fsr2h	equ	0xFDA
; |     45                           fsr2l	equ	0xFD9
; |     46                           status	equ	0xFD8
; | 
; |
; | Orvane Technology ZEL18 Macro Assembler  build 20261205120000               Page 6
; | Symbol Table                                           Thu Jan  1 00:00:00 1970
; |
; |      count 000042     isa$std 000001   isa$xinst 000000  
; | 
