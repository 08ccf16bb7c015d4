; Bit instructions (f, b, a): every mnemonic and bit number, the access suffix, the access or
; banked word between address and bit, the default access, a relocatable address, and a
; relocatable bit number with its range check.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: bit-file.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=6 flags=0x10(global) name="ram"
; OUT: XPSECT len=21 size=0x0 reloc=0x0 space=0 delta=1 psect="ram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=44
; OUT:   value=0x0 type=22(extern) base="" name="xbit"
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=37 loc=0x0 psect="code"
; OUT:   0000: 20 91 20 9E 8A 86 8A 87 21 72 21 74 22 B9 23 AB
; OUT:   0010: 24 8C 25 97 D8 A4 26 B0 02 83 00 90
; OUT: RELOC len=62
; OUT:   offset=0x18 type=0x11 psect bytes=1 target="ram"
; OUT:   offset=0x1A type=0x30 check desc="bit number" value=extern(xbit) limit=0x7
; OUT:   offset=0x1A type=0xFC complex bits=12 expr=0x27 + ((extern(xbit) & 0x7) << 0x9)
; OUT: END len=2
        psect   code,class=CODE,reloc=2
; The bit number times 200, a banked access 100.
        bcf     0x20,0          ; 9000 + 100 + 20 = 9120
        bcf     0x20,7,c        ; 9000 + E00 + 20 = 9E20
        bsf     0xF8A,3         ; an access SFR is accessed: 8000 + 600 + 8A = 868A
        bsf     0xF8A,3,b       ; 8000 + 100 + 600 + 8A = 878A
        btg     0x21,1,a        ; 7000 + 200 + 21 = 7221
        btg     0x21,2,0        ; 0 is access: 7000 + 400 + 21 = 7421
        btfsc   0x22,4,1        ; 1 is banked: B000 + 100 + 800 + 22 = B922
        btfss   0x23,5          ; banked RAM is banked: A000 + 100 + A00 + 23 = AB23
        bsf     0x24,c,6        ; access in the middle: 8000 + C00 + 24 = 8C24
        bcf     0x25,b,3        ; banked in the middle: 9000 + 100 + 600 + 25 = 9725
        btfss   0xFD8,2         ; A000 + 400 + D8 = A4D8
        btfsc   c:0x26,0        ; B000 + 26 = B026
; A relocatable address: its low byte by psect relocation.
        bsf     var,1           ; 8000 + 100 + 200 + 02 = 8302
; A relocatable bit number: a range check and a 12-bit field for the linker.
        bcf     0x27,xbit,c     ; bit and address by the linker = 9000
        global  xbit

        psect   ram,class=RAM
        ds      2
var:    ds      1
