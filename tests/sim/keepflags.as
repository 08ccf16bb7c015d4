; A flag that a caller reads after the call: adding 0 sets OV to 0 here, so the addition must
; not shrink to the carry it leaves, though its Z and N are no results (";funcret").
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s keepflags.obj
; EXPECT: W=00 STATUS=04 C=0 Z=1 BSR=00
; EXPECT: 0x00=00 0x01=00
        processor ZEL18A44
        psect   text,class=CODE,reloc=2
        movlw   0x7F
        addlw   1               ; OV=1, N=1
        call    addzero
        bov     ovset
        clrf    0x01,c          ; Z
        bra     done
ovset:  setf    0x01,c
done:   sleep

addzero:
        movlw   0
        addwf   0x00,f,c        ; OV=0, Z=1
        return  ;funcret
