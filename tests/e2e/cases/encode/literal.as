; Literal instructions (k): every mnemonic of the ADDLW class, MOVLW, RETLW with the ends of the
; byte range, negative and character literals, LOW and HIGH, SETCNT's six bits, and a
; relocatable literal.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: literal.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=6 flags=0x10(global) name="ram"
; OUT: XPSECT len=21 size=0x0 reloc=0x0 space=0 delta=1 psect="ram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=49 loc=0x0 psect="code"
; OUT:   0000: 12 0F 34 08 56 0B 78 09 9A 0D BC 0A DE 0E F0 0C
; OUT:   0010: 00 0E FF 0E FF 0F 80 0E 41 0C 34 0E 12 0E 40 01
; OUT:   0020: 55 01 7F 01 03 0E 05 0F
; OUT: RELOC len=14
; OUT:   offset=0x24 type=0x11 psect bytes=1 target="ram"
; OUT:   offset=0x26 type=0x11 psect bytes=1 target="ram"
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        addlw   0x12            ; 0F00 + 12 = 0F12
        sublw   0x34            ; 0800 + 34 = 0834
        andlw   0x56            ; 0B00 + 56 = 0B56
        iorlw   0x78            ; 0900 + 78 = 0978
        mullw   0x9A            ; 0D00 + 9A = 0D9A
        xorlw   0xBC            ; 0A00 + BC = 0ABC
        movlw   0xDE            ; 0E00 + DE = 0EDE
        retlw   0xF0            ; 0C00 + F0 = 0CF0
        movlw   0               ; = 0E00
        movlw   255             ; 0E00 + FF = 0EFF
        addlw   -1              ; a negative literal in 8 bits: 0F00 + FF = 0FFF
        movlw   -128            ; 0E00 + 80 = 0E80
        retlw   'A'             ; 0C00 + 41 = 0C41
        movlw   low(0x1234)     ; 0E00 + 34 = 0E34
        movlw   high(0x1234)    ; 0E00 + 12 = 0E12
        setcnt  0               ; = 0140
        setcnt  0x15            ; 0140 + 15 = 0155
        setcnt  63              ; six bits: 0140 + 3F = 017F
; A relocatable literal: its low byte by psect relocation.
        movlw   var             ; 0E00 + 03 = 0E03
        addlw   var+2           ; 0F00 + 05 = 0F05

        psect   ram,class=RAM
        ds      3
var:    ds      1
