; Every record type the assembler writes, in the record order of an object file, and the
; dumper's reading of it. The bytes are written by hand from the record layouts.
; RUN zel18dump: t.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: FNCONF len=8 first="a" second="b" third="c" number=2
; OUT: PSECT len=7 flags=0x30(global,pure) name="text"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="text" class="CODE" with=""
; OUT: PSECTLIM len=21 limit=0x100 psect="text"
; OUT: PSECT len=5 flags=0xD0(global,ovrld,abs) name="ab"
; OUT: PSECTBOUND len=17 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x10 space=0 delta=1 psect="ab" class=""
; OUT: SYM len=71
; OUT:   value=0x10 type=16(global) base="text" name="main"
; OUT:   value=0x0 type=22(extern) base="" name="ext"
; OUT:   value=0x4 type=24(symrel) base="ext" name="alias"
; OUT:   value=0x20 type=4(line) base="text" name="12"
; OUT:   value=0x0 type=5(file) base="" name="a b.as"
; OUT: SIGNAT len=7 signat=0x1234 name="main"
; OUT: FNALIGN len=6 group=0
; OUT:   member="f"
; OUT:   member="g"
; OUT: DABS len=13
; OUT:   space=1 addr=0x10 size=0x2 name="buf"
; OUT: TEXT len=17 loc=0x0 psect="text"
; OUT:   0000: 12 0E 80 6E 00 EF 00 F0
; OUT: RELOC len=51
; OUT:   offset=0x2 type=0x11 psect bytes=1 target="ab"
; OUT:   offset=0x4 type=0x22 symbol bytes=2 target="ext"
; OUT:   offset=0x6 type=0xFC complex bits=12 expr=high(a - b)
; OUT:   offset=0x6 type=0x30 check desc="bit number" value=extern(ext) limit=0x7
; OUT: COND_EXPR len=13 expr=text + 0x5
; OUT: TEXT len=11 loc=0x8 psect="text"
; OUT:   0008: 01 02
; OUT: TEXT len=7 extent=0x10 psect="ab"
; OUT: LISTRELOC len=12 rlf="t.rlf" lst="t.lst"
; OUT: START len=9 offset=0x0 psect="text"
; OUT: FNINFO len=58
; OUT:   FNCALL caller="main" callee="f"
; OUT:   FNARG function="main" args="?a_main"
; OUT:   FNINDIR name="main" signat=0x1234
; OUT:   FNADDR function="f"
; OUT:   FNSIZE function="main" first=0x2 second=0x4
; OUT:   FNROOT function="main"
; OUT:   FNBREAK first="f" second="g"
; OUT: END len=2
; HEXFILE: t.obj
; | 11 00 07  00 01 02 03 00 01 "ZEL18A44" 00 03 0B
; | 08 00 0D  "a" 00 "b" 00 "c" 00 02 00
; | 07 00 02  30 00 "text" 00
; | 17 00 08  00 00 00 00  02 00  00 00  00  01  00 00  "text" 00 "CODE" 00 00
; | 15 00 0F  00 01  00 00 00 00 00 00 00 00 00 00 00 00 00 00  "text" 00
; | 05 00 02  D0 00 "ab" 00
; | 11 00 17  0D  D0 00  00 00 00 00  10 00 00 00  00  01  "ab" 00 00
; | 47 00 04  10 00 00 00 10 00 "text" 00 "main" 00
; |           00 00 00 00 16 00 00 "ext" 00
; |           04 00 00 00 18 00 "ext" 00 "alias" 00
; |           20 00 00 00 04 00 "text" 00 "12" 00
; |           00 00 00 00 05 00 00 "a b.as" 00
; | 07 00 0B  34 12 "main" 00
; | 06 00 16  00 00 "f" 00 "g" 00
; | 0D 00 14  01  10 00 00 00  02 00 00 00  "buf" 00
; | 11 00 01  00 00 00 00 "text" 00  12 0E 80 6E 00 EF 00 F0
; | 33 00 03  02 00 11 "ab" 00
; |           04 00 22 "ext" 00
; |           06 00 FC  10 "b" 00 10 "a" 00 05 02  00          # high(a - b): right operand first
; |           06 00 30  13 "bit number" 00  20 "ext" 00  03 07 00 00 00  12
; | 0D 00 13  03 05 00 00 00  10 "text" 00  04  00             # "$" + 5 in a relocatable psect
; | 0B 00 01  08 00 00 00 "text" 00  01 02
; | 07 00 01  10 00 00 00 "ab" 00
; | 0C 00 10  "t.rlf" 00 "t.lst" 00
; | 09 00 05  00 00 00 00 "text" 00
; | 3A 00 0C  01 "main" 00 "f" 00
; |           02 "main" 00 "?a_main" 00
; |           03 "main" 00 34 12
; |           04 "f" 00
; |           05 "main" 00 02 00 00 00 04 00 00 00
; |           06 "main" 00
; |           09 "f" 00 "g" 00
; | 02 00 06  00 00
