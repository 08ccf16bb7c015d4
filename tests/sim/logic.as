; The logic group (andwf iorwf xorwf comf movf swapf, the literal forms, clrf setf clrw movwf):
; Z and N only, C untouched.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s logic.obj
; EXPECT: W=0F STATUS=01 C=1 Z=0 N=0
; EXPECT: 0x00=00 0x01=30 0x02=10 0x03=04 0x04=FC 0x05=10 0x06=04 0x07=04 0x08=FF 0x09=00
; EXPECT: 0x0A=01 0x0B=05
        processor ZEL18A44
STATUS  equ     0xFD8
        psect   text,class=CODE,reloc=2
        movlw   0xF0
        movwf   0x00,c
        movlw   0x3C
        andwf   0x00,w,c        ; W = 30
        movwf   0x01,c
        movlw   0x0F
        iorwf   0x00,f,c        ; FF: N
        movff   STATUS,0x02
        movlw   0xFF
        xorwf   0x00,f,c        ; 00: Z
        movff   STATUS,0x03
        comf    0x01,w,c        ; W = CF: N
        movwf   0x04,c
        movff   STATUS,0x05
        swapf   0x04,f,c        ; FC, no flags
        movf    0x00,f,c        ; Z
        movff   STATUS,0x06
        movf    0x04,w,c        ; W = FC: N
        andlw   0x0F            ; 0C
        iorlw   0x80            ; 8C: N
        xorlw   0x8C            ; 00: Z
        movff   STATUS,0x07
        setf    0x08,c          ; no flags
        clrf    0x09,c          ; Z
        bsf     STATUS,0        ; C = 1
        movlw   0x55
        iorlw   0x00            ; neither Z nor N, C stays
        movff   STATUS,0x0A
        clrw                    ; W = 0: Z
        movlw   0xA5
        movwf   0x0B,c
        movlw   0x0F
        andwf   0x0B,f,c        ; 05
        sleep
