; Addition, subtraction, negation, increment and decrement, and the five flags they set.
; Each flag result is kept with movff STATUS (which sets no flags itself).
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s arith.obj
; EXPECT: W=7E STATUS=03 C=1 DC=1 Z=0 OV=0 N=0
; EXPECT: 0x00=1A 0x01=80 0x02=07 0x03=3C 0x04=FE 0x05=10 0x06=03 0x07=00 0x08=FF 0x09=10
; EXPECT: 0x0A=01 0x0B=80 0x0C=1A 0x0D=00 0x0E=07 0x10=10 0x11=02 0x12=FF 0x13=10 0x14=7F
; EXPECT: 0x15=09 0x16=F0 0x17=12
        processor ZEL18A44
STATUS  equ     0xFD8
        psect   text,class=CODE,reloc=2
        movlw   0x7F
        addlw   0x01            ; 80: DC OV N
        movwf   0x01,c
        movff   STATUS,0x00
        movlw   0xFF
        addlw   0x01            ; 00: C DC Z
        movff   STATUS,0x02
        movlw   0x03
        movwf   0x03,c
        movlw   0x05
        subwf   0x03,w,c        ; 3 - 5 = FE, borrow: N
        movwf   0x04,c
        movff   STATUS,0x05
        movlw   0x01
        subwf   0x03,f,c        ; 3 - 1 = 2: C DC
        movff   STATUS,0x06
        movlw   0x10
        addwfc  0x03,f,c        ; 2 + 10 + C = 13: no flag
        movff   STATUS,0x07
        bcf     STATUS,0
        movlw   0x13
        subwfb  0x03,w,c        ; 13 - 13 - !C = FF: N
        movwf   0x08,c
        movff   STATUS,0x09
        movlw   0x50
        subfwb  0x03,f,c        ; 50 - 13 - !C = 3C: C
        movff   STATUS,0x0A
        movlw   0x80
        movwf   0x0B,c
        negf    0x0B,c          ; -80 = 80: DC OV N
        movff   STATUS,0x0C
        clrf    0x0D,c
        negf    0x0D,c          ; -0 = 0: C DC Z
        movff   STATUS,0x0E
        movlw   0x0F
        movwf   0x10,c
        incf    0x10,f,c        ; 10: DC
        movff   STATUS,0x11
        decf    0x12,f,c        ; 0 - 1 = FF: N
        movff   STATUS,0x13
        movlw   0x80
        movwf   0x14,c
        decf    0x14,f,c        ; 80 - 1 = 7F: C OV
        movff   STATUS,0x15
        movlw   0x30
        sublw   0x20            ; 20 - 30 = F0: DC N
        movwf   0x16,c
        movff   STATUS,0x17
        decf    0x14,w,c        ; W = 7E: C DC
        sleep
