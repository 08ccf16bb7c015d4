; Many global labels with long names: a SYM entry is the name, the base psect's name and 8
; bytes, and one is added only while a byte of the 512 stays free, so the symbols (in hash
; bucket order: h = 2h + byte, modulo 60493) take two records.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: symflush.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=495
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_a"
; OUT:   value=0x2 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_b"
; OUT:   value=0x4 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_c"
; OUT:   value=0x6 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_d"
; OUT:   value=0x8 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_e"
; OUT:   value=0xA type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_f"
; OUT:   value=0xC type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_g"
; OUT:   value=0xE type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_h"
; OUT: SYM len=137
; OUT:   value=0x10 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_i"
; OUT:   value=0x12 type=16(global) base="code" name="a_symbol_with_a_rather_long_name_for_the_table_j"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=29 loc=0x0 psect="code"
; OUT:   0000: 00 F0 00 F0 00 F0 00 F0 00 F0 00 F0 00 F0 00 F0
; OUT:   0010: 00 F0 00 F0
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        irpc    n,abcdefghij
        global  a_symbol_with_a_rather_long_name_for_the_table_&n
a_symbol_with_a_rather_long_name_for_the_table_&n:
        nop
        endm
