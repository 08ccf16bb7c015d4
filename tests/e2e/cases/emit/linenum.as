        psect   code,class=CODE,reloc=2
        debug_source c          ; labels take part in the line information
lab:    nop                     ; the label and the nop share one line symbol
        nop
        ds      2               ; no line symbol for DS
        nop
two     macro
        nop
        nop
        endm
        two                     ; one line symbol for each statement the expansion makes
; Line-number symbols with -V: one per source line, none for DS, after a file-name symbol;
; statements of a macro expansion get one each, though they share their line.
; RUN: -mcpu=ZEL18A44 -V %s
; RUN zel18dump: linenum.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=13 loc=0x0 psect="code"
; OUT:   0000: 00 F0 00 F0
; OUT: TEXT len=15 loc=0x6 psect="code"
; OUT:   0006: 00 F0 00 F0 00 F0
; OUT: SYM len=85
; OUT:   value=0x0 type=5(file) base="" name="linenum.as"
; OUT:   value=0x0 type=4(line) base="code" name="3"
; OUT:   value=0x2 type=4(line) base="code" name="4"
; OUT:   value=0x6 type=4(line) base="code" name="6"
; OUT:   value=0x8 type=4(line) base="code" name="11"
; OUT:   value=0xA type=4(line) base="code" name="11"
; OUT: END len=2
