; table.as - plays a text stored in program memory out on port B, one byte at a time, using
; table reads (TBLRD) on a ZEL18A44.
;
;   aszel18 -mcpu=ZEL18A44 table.as && zel18dump table.obj
;
; TBLPTR (three registers, upper byte first) holds the program-memory address to read;
; "tblrd*+" copies the byte there into TABLAT and moves the pointer on by one.

        processor ZEL18A44

LATB    equ     0xF8A           ; port B output latch
TRISB   equ     0xF93           ; port B direction register
TABLAT  equ     0xFF5           ; the byte a table read fetched
TBLPTRL equ     0xFF6           ; table pointer: low,
TBLPTRH equ     0xFF7           ;   high
TBLPTRU equ     0xFF8           ;   and upper byte

        psect   code,class=CODE,reloc=2
        global  _main
_main:
        clrf    TRISB,c         ; port B drives its pins
restart:
        movlw   low(message)    ; the linker fills in the text's address
        movwf   TBLPTRL,c
        movlw   high(message)
        movwf   TBLPTRH,c
        clrf    TBLPTRU,c       ; the text lies in the first 64 KiB
next:
        tblrd*+                 ; TABLAT = the next byte
        movf    TABLAT,w,c      ; sets Z for the terminating 0
        bz      restart         ; end of the text: play it again
        movwf   LATB,c
        bra     next

        psect   strings,class=CODE,reloc=2
message:
        db      "HELLO",0       ; one byte per character, then the terminator

        end     _main
