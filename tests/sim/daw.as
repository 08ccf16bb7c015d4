; Decimal adjustment after adding packed BCD numbers.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s daw.obj
; EXPECT: W=34 STATUS=01 C=1
; EXPECT: 0x00=83 0x01=98 0x02=0B 0x03=10 0x04=05
        processor ZEL18A44
STATUS  equ     0xFD8
        psect   text,class=CODE,reloc=2
        movlw   0x38
        addlw   0x45            ; 7D
        daw                     ; 38 + 45 = 83
        movwf   0x00,c
        movlw   0x99
        addlw   0x99            ; 32 with C DC OV
        daw                     ; 99 + 99 = 198: 98 and C
        movwf   0x01,c
        movff   STATUS,0x02
        movlw   0x05
        addlw   0x05            ; 0A, no flag
        daw                     ; 10
        movwf   0x03,c
        movlw   0xA5
        daw                     ; 05 and C
        movwf   0x04,c
        bcf     STATUS,0
        movlw   0xCE
        daw                     ; 34 and C
        sleep
