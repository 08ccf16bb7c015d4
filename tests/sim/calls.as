; call, rcall, return, retlw, retfie (which sets GIE, INTCON bit 7), the fast register save,
; push and pop, and the return address rewritten through TOS.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s calls.obj
; EXPECT: W=5A STATUS=05 C=1 Z=1 BSR=03 STKPTR=00
; EXPECT: 0x00=11 0x01=22 0x02=01 0x03=44 0x04=33 0x05=03 0x06=01 0x07=01 0x08=02 0x09=00
; EXPECT: 0x0A=01 0x0B=01 0x0C=01 0x0D=66 0x0E=77 0xFF2=80
        processor ZEL18A44
STATUS  equ     0xFD8
BSR     equ     0xFE0
STKPTR  equ     0xFFC
TOSL    equ     0xFFD
TOSH    equ     0xFFE
TOSU    equ     0xFFF
        psect   text,class=CODE,reloc=2
        movlw   0x11
        call    setw            ; W = 22
        movwf   0x01,c
        rcall   near
        movlw   0x33
        movlb   3
        bsf     STATUS,0
        call    clobber,f       ; W, STATUS and BSR come back with the fast return
        movwf   0x04,c          ; 33
        movff   BSR,0x05        ; 03
        movff   STATUS,0x06     ; 01
        call    outer
        movff   STKPTR,0x09     ; 00
        call    isr
        movlw   0x66
        call    isr2,f          ; W comes back with the fast retfie
        movwf   0x0D,c          ; 66
        push
        movff   STKPTR,0x0A     ; 01
        pop
        push
        movlw   low(tgt)        ; the return address becomes tgt
        movwf   TOSL,c
        movlw   high(tgt)
        movwf   TOSH,c
        clrf    TOSU,c          ; Z
        return
        reset
tgt:    bsf     0x0B,0,c
        movlw   0x5A
        sleep

setw:   movwf   0x00,c
        retlw   0x22
near:   incf    0x02,f,c
        return
clobber:
        movlw   0x44
        movwf   0x03,c
        movlb   5
        bcf     STATUS,0
        return  f
outer:  movff   STKPTR,0x07     ; 01
        call    inner
        return
inner:  movff   STKPTR,0x08     ; 02
        return
isr:    bsf     0x0C,0,c
        retfie
isr2:   movlw   0x77
        movwf   0x0E,c
        retfie  f
