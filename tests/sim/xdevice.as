; An extended-address device: six BSR bits, 14-bit pointers, movffl, addfsr and subfsr, callw,
; and the SFR page at 0x3F00.
; RUN: -mcpu=ZEL18X47 %s
; RUN zel18sim: -q --expect=%s xdevice.obj
; EXPECT: W=99 STATUS=00 BSR=21 FSR2=2380
; EXPECT: 0x010=01 0x011=01 0x012=01 0x2110=5A 0x2380=66 0x3000=5A
        processor ZEL18X47
INDF2   equ     0x3FDF
PCLATH  equ     0x3FFA
        psect   text,class=CODE,reloc=2
        movlb   0x21
        movlw   0x5A
        movwf   0x10,b          ; 0x2110
        movffl  0x2110,0x3000
        lfsr    2,0x2345
        addfsr  2,0x3F          ; 2384
        subfsr  2,0x04          ; 2380
        movlw   0x66
        movwf   INDF2,c
        movlw   0x01
        movwf   0x10,c
        movff   0x010,0x011     ; the short form
        movlw   high(sub)
        movwf   PCLATH,c
        movlw   low(sub)
        callw
        sleep
sub:    bsf     0x12,0,c
        retlw   0x99
