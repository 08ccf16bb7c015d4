; Rotations through the carry and without it.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s rotate.obj
; EXPECT: W=81 STATUS=10 C=0 Z=0 N=1
; EXPECT: 0x00=02 0x01=01 0x02=03 0x03=10 0x04=81 0x05=00 0x06=04 0x07=80
        processor ZEL18A44
STATUS  equ     0xFD8
        psect   text,class=CODE,reloc=2
        movlw   0x81
        movwf   0x00,c
        bcf     STATUS,0
        rlcf    0x00,f,c        ; 02, C = 1
        movff   STATUS,0x01
        rlcf    0x00,f,c        ; 05, C = 0
        rrcf    0x00,f,c        ; 02, C = 1
        rrcf    0x00,w,c        ; W = 81, C = 0: N
        movwf   0x02,c
        movff   STATUS,0x03
        rlncf   0x02,f,c        ; 03
        rrncf   0x02,w,c        ; W = 81: N
        movwf   0x04,c
        clrf    0x05,c
        bcf     STATUS,0
        rlcf    0x05,f,c        ; 00: Z
        movff   STATUS,0x06
        bsf     STATUS,0
        rrcf    0x07,f,c        ; 80, C = 0: N
        sleep
