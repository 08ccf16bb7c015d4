; mullw and mulwf: an unsigned 16-bit product in PRODH:PRODL, no flags. The run ends at halt.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s multiply.obj
; EXPECT: W=FF PRODH=FE PRODL=01 PROD=FE01 STATUS=01
; EXPECT: 0x00=A8 0x01=03 0x02=FF
        processor ZEL18A44
STATUS  equ     0xFD8
PRODL   equ     0xFE8
PRODH   equ     0xFF4
        psect   text,class=CODE,reloc=2
        bsf     STATUS,0
        movlw   0x12
        mullw   0x34            ; 03A8
        movff   PRODL,0x00
        movff   PRODH,0x01
        movlw   0xFF
        movwf   0x02,c
        mulwf   0x02,c          ; FE01
        halt
