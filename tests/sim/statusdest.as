; STATUS as the destination: an instruction that sets flags only sets them, any other writes
; STATUS like memory; its top three bits do not exist.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s statusdest.obj
; EXPECT: W=07 STATUS=03
; EXPECT: 0x00=1B 0x01=1F 0x02=10 0x03=01 0x04=0D 0x05=08 0x06=07
        processor ZEL18A44
STATUS  equ     0xFD8
        psect   text,class=CODE,reloc=2
        movlw   0x1B
        movwf   STATUS,c        ; a plain write
        movff   STATUS,0x00
        clrf    STATUS,c        ; only Z is set: 1F
        movff   STATUS,0x01
        movlw   0x00
        movwf   STATUS,c
        movlw   0xFF
        addwf   STATUS,f,c      ; the flags of 00 + FF: N
        movff   STATUS,0x02
        swapf   STATUS,f,c      ; no flags: written, 01
        movff   STATUS,0x03
        movlw   0xED
        movwf   STATUS,c        ; 0D
        movff   STATUS,0x04
        rlcf    STATUS,f,c      ; the flags of rotating 0D, OV kept: 08
        movff   STATUS,0x05
        decf    STATUS,w,c      ; W = 07 with C DC
        movwf   0x06,c
        sleep
