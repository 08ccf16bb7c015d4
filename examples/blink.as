; blink.as - toggles port B pin 0 in a delay loop on a ZEL18A44.
;
;   aszel18 -mcpu=ZEL18A44 -L blink.as
;
; writes blink.obj for the linker, and the listing blink.lst with blink.rlf.

        processor ZEL18A44

TRISB   equ     0xF93           ; port B direction register
LATB    equ     0xF8A           ; port B output latch

        psect   udata_acs,class=COMRAM,space=1,noexec
count:  ds      1

        psect   code,class=CODE,reloc=2
        global  _main
_main:
        clrf    TRISB,c         ; port B drives its pins
loop:
        btg     LATB,0,c        ; toggle the LED
        setf    count,c
delay:
        decfsz  count,f,c
        bra     delay
        bra     loop

        end     _main
