; Table reads of program memory in the four pointer modes; table writes move the pointer only;
; TBLPTRU keeps six bits; erased program memory reads FF, unplaced memory beyond it 00.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s table.obj
; EXPECT: W=F0 STATUS=04 TABLAT=FF TBLPTR=00FFF0
; EXPECT: 0x00=11 0x01=22 0x02=44 0x03=33 0x04=44 0x05=3F 0x06=00 0x07=FF
        processor ZEL18A44
TABLAT  equ     0xFF5
TBLPTRL equ     0xFF6
TBLPTRH equ     0xFF7
TBLPTRU equ     0xFF8
        psect   text,class=CODE,reloc=2
        movlw   low(tab)
        movwf   TBLPTRL,c
        movlw   high(tab)
        movwf   TBLPTRH,c
        clrf    TBLPTRU,c
        tblrd*+
        movff   TABLAT,0x00     ; 11
        tblrd*+
        movff   TABLAT,0x01     ; 22
        tblrd+*
        movff   TABLAT,0x02     ; 44
        tblrd*-                 ; 44 again, back to tab+2
        tblrd*
        movff   TABLAT,0x03     ; 33
        tblwt*+
        tblrd*
        movff   TABLAT,0x04     ; 44
        setf    TBLPTRU,c
        movff   TBLPTRU,0x05    ; 3F
        movlw   0x30
        movwf   TBLPTRU,c
        clrf    TBLPTRH,c
        clrf    TBLPTRL,c
        tblrd*
        movff   TABLAT,0x06     ; 00
        clrf    TBLPTRU,c
        setf    TBLPTRH,c
        movlw   0xF0
        movwf   TBLPTRL,c
        tblrd*
        movff   TABLAT,0x07     ; FF
        sleep
        psect   consts,class=CODE,reloc=2
tab:    db      0x11,0x22,0x33,0x44
