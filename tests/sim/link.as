; Two files linked: an absolute reset vector, a global code psect that both files add to, local
; psects of the same name kept apart, data psects placed by class (COMRAM in the access RAM,
; BANK1 in bank 1, RAM from bank 1 on), and references to the other file's symbols: calls,
; banked operands, movff, banksel, and a table entry holding an address that is followed.
; RUN: -mcpu=ZEL18A44 %s
; RUN: -mcpu=ZEL18A44 lib.as
; RUN zel18sim: -q --expect=%s link.obj lib.obj
; EXPECT: BSR=01 result=06 result+1=0A result+2=48 result+3=49 bvar=03 total=06
; EXPECT: 0x000=06 0x100=03 0x101=06
; FILE: lib.as
; |         processor ZEL18A44
; | WREG    equ     0xFF3
; |         global  _twice, total, bvar, msg
; |         psect   text,class=CODE,reloc=2
; | _twice: banksel bvar
; |         movf    bvar,w,b
; |         addwf   WREG,w,c
; |         movff   WREG,total
; |         return
; |         psect   udata,class=RAM,space=1
; | total:  ds      1
; |         psect   helpers,local,class=CODE,reloc=2
; | helper: retlw   0x0B
; |         psect   msgs,class=CODE,reloc=2
; | msg:    db      'H','I',0
        processor ZEL18A44
TABLAT  equ     0xFF5
TBLPTRL equ     0xFF6
TBLPTRH equ     0xFF7
TBLPTRU equ     0xFF8
        global  _main, _twice, total, bvar, msg, result
        psect   resetvec,class=CODE,abs,ovrld
        org     0
        goto    _main
        psect   acs,class=COMRAM,space=1
result: ds      4
        psect   bank1v,class=BANK1,space=1
bvar:   ds      1
        psect   helpers,local,class=CODE,reloc=2
helper: retlw   0x0A
        psect   text,class=CODE,reloc=2
_main:  movlb   1
        movlw   3
        movwf   bvar,b
        call    _twice          ; W = 6, total = 6
        movwf   result,c
        call    helper          ; this file's helper
        movwf   result+1,c
        movlw   low(ptr)
        movwf   TBLPTRL,c
        movlw   high(ptr)
        movwf   TBLPTRH,c
        clrf    TBLPTRU,c
        tblrd*+
        movf    TABLAT,w,c
        tblrd*+
        movff   TABLAT,TBLPTRH
        movwf   TBLPTRL,c       ; TBLPTR = msg
        tblrd*+
        movff   TABLAT,result+2
        tblrd*+
        movff   TABLAT,result+3
        sleep
ptr:    dw      msg
