; Data statements: bytes, words and double words low byte first, strings, negative items, and a
; word holding an address. "$" is the location at the statement: in a data list every item's
; "$" is the address of the list's first byte. A floating constant is decimal text converted to
; a double, 0.0 or infinity beyond its range with no message; the item is that value as a single.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: data.obj
        nop                     ;= F000
        dw      $,$,$           ;= 0002 0002 0002
        db      $,$+1           ;= 08 09
        ddw     $,$             ;= 000A 0000 000A 0000
        dw      $               ;= 0012
        psect   code,class=CODE,reloc=2
        db      1,0xFF,"ab"     ; one byte each ;= 01 FF 61 62
        db      -1              ;= FF
        dw      0x1234,-2       ; two bytes each, low first ;= 34 12 FE FF
        ddw     0x12345678      ; four bytes ;= 78 56 34 12
        dw      here            ; a psect relocation of two bytes ;= 0F 00 [+0 psect bytes=2 target="code"]
here:   db      0               ; at 0F ;= 00
        ddw     1.5             ;= 0000 3FC0
        ddw     1e999           ;= 0000 7F80
        ddw     -1e999          ;= 0000 FF80
        ddw     1.0e-999        ;= 0000 0000
        ddw     -1.0E-999       ;= 0000 8000
