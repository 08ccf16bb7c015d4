; Bit instructions (f, b, a): every mnemonic and bit number, the access suffix, the access or
; banked word between address and bit, the default access, a relocatable address, and a
; relocatable bit number with its range check.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: bit-file.obj
        psect   code,class=CODE,reloc=2
; The bit number times 200, a banked access 100.
        bcf     0x20,0          ; 9000 + 100 + 20 ;= 9120
        bcf     0x20,7,c        ; 9000 + E00 + 20 ;= 9E20
        bsf     0xF8A,3         ; an access SFR is accessed: 8000 + 600 + 8A ;= 868A
        bsf     0xF8A,3,b       ; 8000 + 100 + 600 + 8A ;= 878A
        btg     0x21,1,a        ; 7000 + 200 + 21 ;= 7221
        btg     0x21,2,0        ; 0 is access: 7000 + 400 + 21 ;= 7421
        btfsc   0x22,4,1        ; 1 is banked: B000 + 100 + 800 + 22 ;= B922
        btfss   0x23,5          ; banked RAM is banked: A000 + 100 + A00 + 23 ;= AB23
        bsf     0x24,c,6        ; access in the middle: 8000 + C00 + 24 ;= 8C24
        bcf     0x25,b,3        ; banked in the middle: 9000 + 100 + 600 + 25 ;= 9725
        btfss   0xFD8,2         ; A000 + 400 + D8 ;= A4D8
        btfsc   c:0x26,0        ; B000 + 26 ;= B026
; A relocatable address: its low byte by psect relocation.
        bsf     var,1           ; 8000 + 100 + 200 + 02 ;= 8302 [+0 psect bytes=1 target="ram"]
; A relocatable bit number: a range check and a 12-bit field for the linker.
        bcf     0x27,xbit,c     ; bit and address, ((xbit & 7) << 9) + 27, by the linker
                                ;= 9000 [+0 check desc="bit number" value=extern(xbit) limit=0x7]
                                ;= [+0 complex bits=12 expr=0x27 + ((extern(xbit) & 0x7) << 0x9)]
        global  xbit

        psect   ram,class=RAM
        ds      2
var:    ds      1
