; A relocatable listing file: listing text with relocations between its pieces, a second
; IDENT (written at a DS or ORG), and with -x the data bytes of each record.
; RUN zel18dump: t.rlf
; OUT: IDENT len=21 order32=0,1,2,3 order16=0,1 machine="Orvane ZEL18" tail=3,11
; OUT: LR_TEXT len=5
; OUT:   "  10 "
; OUT: LR_RELOC len=20 base=0x0 bytes=4 format=6 expr=0x4 + text
; OUT: LR_TEXT len=17
; OUT:   "  movlw 12h\x0A"
; OUT:   "  11 "
; OUT: LR_RELOC len=13 base=0xD000 bits=11 format=4 expr=extern(ext)
; OUT: IDENT len=21 order32=0,1,2,3 order16=0,1 machine="Orvane ZEL18" tail=3,11
; OUT: LR_TEXT len=1
; OUT:   "x"
; OUT: END len=2
; RUN zel18dump: -x t2.obj
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; OUT:   hex: 00 01 02 03 00 01 00 03 0B
; OUT: END len=2
; OUT:   hex: 00 00
; HEXFILE: t.rlf
; | 15 00 07  00 01 02 03 00 01 "Orvane ZEL18" 00 03 0B
; | 05 00 11  "  10 "
; | 14 00 12  00 00 00 00  00  34  06  10 "text" 00 03 04 00 00 00 04  00
; | 11 00 11  "  movlw 12h" 0A "  11 "
; | 0D 00 12  00 D0 00 00  00  FB  04  20 "ext" 00  00     # "0" + 11 + 0xC0: an 11-bit field
; | 15 00 07  00 01 02 03 00 01 "Orvane ZEL18" 00 03 0B
; | 01 00 11  "x"
; | 02 00 06  00 00
; HEXFILE: t2.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 02 00 06  00 00
