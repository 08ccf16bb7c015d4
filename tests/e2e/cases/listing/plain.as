	title	"Demo"
	subtitle "first page"
	psect	code,class=CODE,delta=1,reloc=2
	global	start
start:	movlw	5
	goto	start
;; a note
	psect	abs1,abs,ovrld,class=CODE,delta=1
	org	0x20
	dw	0x1234
	end

; The listing without pages: one header with title, time stamp and subtitle; line numbers,
; addresses (an apostrophe marks relocatable ones), code words, ";;" lines from the first
; column; the core SFR equates; the symbol table side by side at width 80. The relocatable
; listing is well formed.
; RUN: -mcpu=ZEL18A44 -L -T80 %s
; ENV: SOURCE_DATE_EPOCH=0
; OUTFILE: plain.lst
; |
; |
; | Orvane Tessel KV8 Assembler  build 20261205120000 
; | Demo                                                   Thu Jan  1 00:00:00 1970
; |
; | first page
; |      1                           	processor	ZEL18A44
; |      2                           	pagewidth 80
; |      3                           	psect	code,global,reloc=2,class=CODE,delta=1
; |      4                           	psect	abs1,global,abs,ovrld,class=CODE,delta=1
; |      5                           
; |      6                           	psect	code
; |      7  0000'                    start:
; |      8                           	callstack 0
; |      9  0000' 0E05               	movlw	5
; |     10  0002' EF00' F000'        	goto	start
; |     11                           
; |     12 ;; a note
; |     13                           
; |     14                           	psect	abs1
; |     15  0000                     	org	32
; |     16  0020  1234               	dw	4660
; |     17                           tosu	equ	0xFFF
; |     18                           tosh	equ	0xFFE
; |     19                           tosl	equ	0xFFD
; |     20                           stkptr	equ	0xFFC
; |     21                           pclatu	equ	0xFFB
; |     22                           pclath	equ	0xFFA
; |     23                           pcl	equ	0xFF9
; |     24                           tblptru	equ	0xFF8
; |     25                           tblptrh	equ	0xFF7
; |     26                           tblptrl	equ	0xFF6
; |     27                           tablat	equ	0xFF5
; |     28                           prodh	equ	0xFF4
; |     29                           prodl	equ	0xFE8
; |     30                           indf0	equ	0xFEF
; |     31                           postinc0	equ	0xFEE
; |     32                           postdec0	equ	0xFED
; |     33                           preinc0	equ	0xFEC
; |     34                           plusw0	equ	0xFEB
; |     35                           fsr0h	equ	0xFEA
; |     36                           fsr0l	equ	0xFE9
; |     37                           wreg	equ	0xFF3
; |     38                           indf1	equ	0xFE7
; |     39                           postinc1	equ	0xFE6
; |     40                           postdec1	equ	0xFE5
; |     41                           preinc1	equ	0xFE4
; |     42                           plusw1	equ	0xFE3
; |     43                           fsr1h	equ	0xFE2
; |     44                           fsr1l	equ	0xFE1
; |     45                           bsr	equ	0xFE0
; |     46                           indf2	equ	0xFDF
; |     47                           postinc2	equ	0xFDE
; |     48                           postdec2	equ	0xFDD
; |     49                           preinc2	equ	0xFDC
; |     50                           plusw2	equ	0xFDB
; |     51                           fsr2h	equ	0xFDA
; |     52                           fsr2l	equ	0xFD9
; |     53                           status	equ	0xFD8
; |      start 000000     isa$std 000001   isa$xinst 000000  
; RUN zel18dump: plain.rlf
