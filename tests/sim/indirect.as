; Indirect addressing through the three pointers: INDF, POSTINC, POSTDEC, PREINC, PLUSW with
; a negative W, read-modify-write moving the pointer once, movff between pointers, wrapping,
; the width of FSRnH, and indirection onto an indirect register.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s indirect.obj
; EXPECT: W=00 STATUS=04 FSR0=0250 FSR1=0FEF FSR2=0000
; EXPECT: 0x00=A1 0x100=A2 0x101=A2 0x102=A2 0x103=A3 0x200=A2 0x201=A2 0x250=77
        processor ZEL18A44
INDF0   equ     0xFEF
POSTINC0 equ    0xFEE
POSTDEC0 equ    0xFED
PREINC0 equ     0xFEC
PLUSW0  equ     0xFEB
FSR0H   equ     0xFEA
FSR0L   equ     0xFE9
INDF1   equ     0xFE7
POSTINC1 equ    0xFE6
POSTINC2 equ    0xFDE
        psect   text,class=CODE,reloc=2
        lfsr    0,0x100
        movlw   0xA1
        movwf   POSTINC0,c      ; 0x100
        movlw   0xA2
        movwf   POSTINC0,c      ; 0x101
        movwf   INDF0,c         ; 0x102
        movlw   0xA3
        movwf   PREINC0,c       ; 0x103
        movf    POSTDEC0,w,c    ; A3, FSR0 back to 0x102
        movlw   0xFE
        movf    PLUSW0,w,c      ; 0x102 - 2: A1
        movwf   0x00,c
        lfsr    1,0x100
        incf    POSTINC1,f,c    ; 0x100 = A2, FSR1 = 0x101
        lfsr    2,0x200
        lfsr    1,0x100
        movff   POSTINC1,POSTINC2
        movff   POSTINC1,POSTINC2
        lfsr    2,0xFFF
        movf    POSTINC2,w,c    ; FSR2 wraps to 0
        movlw   0x12
        movwf   FSR0H,c         ; four bits: 02
        movlw   0x50
        movwf   FSR0L,c
        movlw   0x77
        movwf   INDF0,c         ; 0x250
        lfsr    1,INDF0
        movlw   0x99
        movwf   INDF1,c         ; nothing
        movf    INDF1,w,c       ; 0: Z
        sleep
