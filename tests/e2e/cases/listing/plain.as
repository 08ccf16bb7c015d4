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

; The listing without pages, read through the relocatable listing, which holds its text byte
; for byte: one header with title, time stamp and subtitle; line numbers, addresses, code
; words, ";;" lines from the first column; the core SFR equates; the symbol table side by side
; at width 80. LR_RELOC records stand where the listing shows a relocatable value (the
; addresses, both words of the long GOTO, the symbol value), and an IDENT follows the ORG. The
; apostrophes that mark relocatable values in the listing itself are in expand.as.
; RUN: -mcpu=ZEL18A44 -L -T80 %s
; ENV: SOURCE_DATE_EPOCH=0
; RUN zel18dump: plain.rlf
; OUT: IDENT len=21 order32=0,1,2,3 order16=0,1 machine="Orvane ZEL18" tail=3,11
; OUT: LR_TEXT len=492
; OUT:   "\x0A"
; OUT:   "\x0A"
; OUT:   "Orvane Tessel KV8 Assembler  build 20261205120000 \x0A"
; OUT:   "Demo                                                   Thu Jan  1 00:00:00 1970\x0A"
; OUT:   "\x0A"
; OUT:   "first page\x0A"
; OUT:   "     1                           \x09processor\x09ZEL18A44\x0A"
; OUT:   "     2                           \x09pagewidth 80\x0A"
; OUT:   "     3                           \x09psect\x09code,global,reloc=2,class=CODE,delta=1\x0A"
; OUT:   "     4                           \x09psect\x09abs1,global,abs,ovrld,class=CODE,delta=1\x0A"
; OUT:   "     5                           \x0A"
; OUT:   "     6                           \x09psect\x09code\x0A"
; OUT:   "     7  "
; OUT: LR_RELOC len=14 base=0x0 bytes=4 format=6 expr=code
; OUT: LR_TEXT len=82
; OUT:   "                     start:\x0A"
; OUT:   "     8                           \x09callstack 0\x0A"
; OUT:   "     9  "
; OUT: LR_RELOC len=14 base=0x0 bytes=4 format=6 expr=code
; OUT: LR_TEXT len=38
; OUT:   "  0E05               \x09movlw\x095\x0A"
; OUT:   "    10  "
; OUT: LR_RELOC len=20 base=0x0 bytes=4 format=6 expr=0x2 + code
; OUT: LR_TEXT len=6
; OUT:   "  EF00"
; OUT: LR_RELOC len=26 base=0xEF00 bytes=1 format=4 expr=(code >> 0x1) & 0xFF
; OUT: LR_TEXT len=6
; OUT:   "  F000"
; OUT: LR_RELOC len=20 base=0xF000 bits=12 format=4 expr=code >> 0x9
; OUT: LR_TEXT len=151
; OUT:   "         \x09goto\x09start\x0A"
; OUT:   "    11                           \x0A"
; OUT:   "    12 ;; a note\x0A"
; OUT:   "    13                           \x0A"
; OUT:   "    14                           \x09psect\x09abs1\x0A"
; OUT: IDENT len=21 order32=0,1,2,3 order16=0,1 machine="Orvane ZEL18" tail=3,11
; OUT: LR_TEXT len=509
; OUT:   "    15  0000                     \x09org\x0932\x0A"
; OUT:   "    16  0020  1234               \x09dw\x094660\x0A"
; OUT:   "    17                           tosu\x09equ\x090xFFF\x0A"
; OUT:   "    18                           tosh\x09equ\x090xFFE\x0A"
; OUT:   "    19                           tosl\x09equ\x090xFFD\x0A"
; OUT:   "    20                           stkptr\x09equ\x090xFFC\x0A"
; OUT:   "    21                           pclatu\x09equ\x090xFFB\x0A"
; OUT:   "    22                           pclath\x09equ\x090xFFA\x0A"
; OUT:   "    23                           pcl\x09equ\x090xFF9\x0A"
; OUT:   "    24                           tblptru\x09equ\x090xFF8\x0A"
; OUT:   "    25                           t"
; OUT: LR_TEXT len=509
; OUT:   "blptrh\x09equ\x090xFF7\x0A"
; OUT:   "    26                           tblptrl\x09equ\x090xFF6\x0A"
; OUT:   "    27                           tablat\x09equ\x090xFF5\x0A"
; OUT:   "    28                           prodh\x09equ\x090xFF4\x0A"
; OUT:   "    29                           prodl\x09equ\x090xFE8\x0A"
; OUT:   "    30                           indf0\x09equ\x090xFEF\x0A"
; OUT:   "    31                           postinc0\x09equ\x090xFEE\x0A"
; OUT:   "    32                           postdec0\x09equ\x090xFED\x0A"
; OUT:   "    33                           preinc0\x09equ\x090xFEC\x0A"
; OUT:   "    34                           plusw0\x09equ\x090xFEB\x0A"
; OUT:   "    35                           fsr0h\x09"
; OUT: LR_TEXT len=509
; OUT:   "equ\x090xFEA\x0A"
; OUT:   "    36                           fsr0l\x09equ\x090xFE9\x0A"
; OUT:   "    37                           wreg\x09equ\x090xFF3\x0A"
; OUT:   "    38                           indf1\x09equ\x090xFE7\x0A"
; OUT:   "    39                           postinc1\x09equ\x090xFE6\x0A"
; OUT:   "    40                           postdec1\x09equ\x090xFE5\x0A"
; OUT:   "    41                           preinc1\x09equ\x090xFE4\x0A"
; OUT:   "    42                           plusw1\x09equ\x090xFE3\x0A"
; OUT:   "    43                           fsr1h\x09equ\x090xFE2\x0A"
; OUT:   "    44                           fsr1l\x09equ\x090xFE1\x0A"
; OUT:   "    45                           bsr\x09equ\x090xFE0\x0A"
; OUT:   "   "
; OUT: LR_TEXT len=509
; OUT:   " 46                           indf2\x09equ\x090xFDF\x0A"
; OUT:   "    47                           postinc2\x09equ\x090xFDE\x0A"
; OUT:   "    48                           postdec2\x09equ\x090xFDD\x0A"
; OUT:   "    49                           preinc2\x09equ\x090xFDC\x0A"
; OUT:   "    50                           plusw2\x09equ\x090xFDB\x0A"
; OUT:   "    51                           fsr2h\x09equ\x090xFDA\x0A"
; OUT:   "    52                           fsr2l\x09equ\x090xFD9\x0A"
; OUT:   "    53                           status\x09equ\x090xFD8\x0A"
; OUT:   "\x0A"
; OUT:   "\x0A"
; OUT:   "Orvane Technology ZEL18 Macro Assembler  build 20261205120000 \x0A"
; OUT:   "Symbol Table                                 "
; OUT: LR_TEXT len=47
; OUT:   "          Thu Jan  1 00:00:00 1970\x0A"
; OUT:   "\x0A"
; OUT:   "     start "
; OUT: LR_RELOC len=14 base=0x0 bytes=4 format=4 expr=code
; OUT: LR_TEXT len=41
; OUT:   "     isa$std 000001   isa$xinst 000000  \x0A"
; OUT: END len=2
