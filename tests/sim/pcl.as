; A computed jump into a retlw table by writing PCL, and a read of PCL latching PCLATH.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s pcl.obj
; EXPECT: W=77 0x00=30 0x01=10 0x02=00 0x10=00
        processor ZEL18A44
STATUS  equ     0xFD8
WREG    equ     0xFF3
PCL     equ     0xFF9
PCLATH  equ     0xFFA
        psect   text,class=CODE,reloc=2
        movlw   2
        call    lookup
        movwf   0x00,c          ; 30
        movlw   0
        call    lookup
        movwf   0x01,c          ; 10
        movlw   0xAA
        movwf   PCLATH,c
        movf    PCL,w,c         ; PCLATH = 00, the code lies below 0x100
        movff   PCLATH,0x02
        movlw   0x77
        sleep
lookup: rlncf   WREG,w,c        ; two bytes an entry
        movwf   0x10,c
        movlw   high(tbl)
        movwf   PCLATH,c
        movlw   low(tbl)
        addwf   0x10,w,c
        btfsc   STATUS,0
        incf    PCLATH,f,c
        movwf   PCL,c
        asmopt  push
        asmopt  off             ; the entries are reached only by the computed jump
tbl:    retlw   0x10
        retlw   0x20
        retlw   0x30
        asmopt  pop
