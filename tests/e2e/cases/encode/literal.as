; Literal instructions (k): ADDLW, MOVLW and RETLW with the ends of the
; byte range, negative and character literals, LOW and HIGH, SETCNT's six bits, and a
; relocatable literal.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: literal.obj
        psect   code,class=CODE,reloc=2
        addlw   0x12            ; 0F00 + 12 ;= 0F12
        movlw   0xDE            ; 0E00 + DE ;= 0EDE
        retlw   0xF0            ; 0C00 + F0 ;= 0CF0
        movlw   0               ;= 0E00
        movlw   255             ; 0E00 + FF ;= 0EFF
        addlw   -1              ; a negative literal in 8 bits: 0F00 + FF ;= 0FFF
        movlw   -128            ; 0E00 + 80 ;= 0E80
        retlw   'A'             ; 0C00 + 41 ;= 0C41
        movlw   low(0x1234)     ; 0E00 + 34 ;= 0E34
        movlw   high(0x1234)    ; 0E00 + 12 ;= 0E12
        setcnt  0               ;= 0140
        setcnt  63              ; six bits: 0140 + 3F ;= 017F
; A relocatable literal: its low byte by psect relocation.
        movlw   var             ; 0E00 + 03 ;= 0E03 [+0 psect bytes=1 target="ram"]
        addlw   var+2           ; 0F00 + 05 ;= 0F05 [+0 psect bytes=1 target="ram"]

        psect   ram,class=RAM
        ds      3
var:    ds      1
