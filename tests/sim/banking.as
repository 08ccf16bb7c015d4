; Banked and access-bank addressing, BSR and WREG as file registers, movff across banks.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s banking.obj
; EXPECT: W=20 STATUS=00 BSR=01
; EXPECT: 0x01=0F 0x02=20 0x020=11 0x120=11 0x121=11 0x130=00 0x131=01 0x170=22 0x200=44
; EXPECT: 0x300=44 0xF70=22 0xF81=33
        processor ZEL18A44
BSR     equ     0xFE0
WREG    equ     0xFF3
        psect   text,class=CODE,reloc=2
        movlb   1
        movlw   0x11
        movwf   0x20,b          ; 0x120
        movwf   0x20,c          ; 0x020
        movlw   0x22
        movwf   0x70,b          ; 0x170
        movwf   0x70,c          ; the access bank's upper part is the SFR page: 0xF70
        movlb   0x0F
        movlw   0x33
        movwf   0x81,b          ; 0xF81
        movlw   2
        movwf   BSR,c
        movlw   0x44
        movwf   0x00,b          ; 0x200
        incf    BSR,f,c
        movwf   0x00,b          ; 0x300
        movlw   0xFF
        movwf   BSR,c           ; four bits: 0F
        movff   BSR,0x01
        movlw   0x10
        addwf   WREG,w,c        ; 20
        movwf   0x02,c
        movff   0x120,0x121
        movlb   1
        setf    0x30,b
        infsnz  0x30,f,b        ; 00: no skip
        incf    0x31,f,b        ; 0x131 = 01
        sleep
