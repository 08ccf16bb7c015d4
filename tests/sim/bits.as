; Bit instructions: bcf bsf btg, and btfsc btfss skipping or not, on access, banked and core
; registers.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s bits.obj
; EXPECT: W=0E STATUS=14 Z=1 N=1 BSR=02
; EXPECT: 0x00=77 0x01=21 0x02=0C 0x210=11
        processor ZEL18A44
STATUS  equ     0xFD8
WREG    equ     0xFF3
        psect   text,class=CODE,reloc=2
        setf    0x00,c
        bcf     0x00,3,c        ; F7
        bcf     0x00,7,c        ; 77
        bsf     0x01,0,c
        bsf     0x01,6,c        ; 41
        btg     0x01,6,c        ; 01
        btg     0x01,5,c        ; 21
        clrf    0x02,c          ; Z
        btfsc   0x00,3,c        ; clear: skips
        bsf     0x02,0,c
        btfss   0x00,2,c        ; set: skips
        bsf     0x02,1,c
        btfsc   0x00,2,c        ; set: no skip
        bsf     0x02,2,c
        btfss   0x00,7,c        ; clear: no skip
        bsf     0x02,3,c        ; 0C
        movlb   2
        bsf     0x10,4,b        ; 0x210 = 10
        btg     0x10,0,b        ; 11
        bsf     STATUS,2
        bsf     STATUS,4        ; Z N
        movlw   0x0F
        bcf     WREG,0          ; 0E
        sleep
