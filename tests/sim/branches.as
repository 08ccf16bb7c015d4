; Conditional branches on each flag both ways, bra forward and back, and the longer forms the
; assembler gives a conditional branch to a far label or into another psect.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s branches.obj
; EXPECT: W=00 STATUS=07 C=1 DC=1 Z=1
; EXPECT: 0x01=00 0x02=00 0x03=03 0x04=07
        processor ZEL18A44
        psect   text,class=CODE,reloc=2
        clrf    0x00,c          ; Z
        bz      1f
        bsf     0x01,0,c
1:      bnz     bad
        movlw   0x80
        addlw   0x80            ; 00: C Z OV
        bc      2f
        bsf     0x01,1,c
2:      bnc     bad
        bov     3f
        bsf     0x01,2,c
3:      bnov    bad
        bnn     4f
        bsf     0x01,3,c
4:      bn      bad
        movlw   0x7F
        addlw   1               ; 80: DC OV N
        bn      5f
        bsf     0x01,4,c
5:      bnn     bad
        bnc     6f
        bsf     0x01,5,c
6:      bz      bad
        bra     7f
bad:    reset
7:      movlw   3
        movwf   0x02,c
8:      incf    0x03,f,c
        decf    0x02,f,c
        bnz     8b              ; three times round; the last decf sets C DC Z
        iorlw   0               ; W = 3: Z clear
        bnz     far             ; too far for one word: an inverted branch over a bra
        reset
        rept    150
        reset
        endm
far:    bsf     0x04,0,c
        goto    other
        reset
back:   movlw   0
        iorlw   0               ; Z
        bz      there           ; another psect: an inverted branch over a goto
        reset
        psect   text2,class=CODE,reloc=2
other:  bsf     0x04,1,c
        goto    back
there:  bsf     0x04,2,c
        sleep
