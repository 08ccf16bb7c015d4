; Operands resolved at encoding: truncation, temporary labels, label differences, "$", and a
; condition the linker decides.
; RUN: -mcpu=ZEL18A44 -W-4 %s
; RUN zel18dump: values.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=43
; OUT:   value=0x0 type=22(extern) base="" name="ext"
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=19 loc=0x0 psect="code"
; OUT:   0000: 2C 0E FE D7 01 D0 08 0E 00 F0
; OUT: COND_EXPR len=6 expr=extern(ext)
; OUT: TEXT len=13 loc=0xA psect="code"
; OUT:   000A: 00 F0 0C 00
; OUT: RELOC len=8
; OUT:   offset=0x2 type=0x12 psect bytes=2 target="code"
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        global  ext
1:
a1:     movlw   300             ; WARNING 1352
        bra     1b              ; d = 0 - 4: D7FE
        bra     1f              ; d = 8 - 6: D001
        movlw   a2-a1           ; 0E08
1:
a2:     nop
        if      ext             ; not a constant: the linker decides
        nop
        dw      $               ; 12 bytes into code
