; counter.as - counts the changes of port B's input pins in a 16-bit variable in RAM, on a
; ZEL18A44. Shows psects for code and for data, DS for RAM variables, and GLOBAL.
;
;   aszel18 -mcpu=ZEL18A44 counter.as && zel18dump counter.obj
;
; Data psects reserve RAM with DS; "space=1" puts them in data memory, so the object file
; carries their size but no bytes. The linker places each psect by its class.

        processor ZEL18A44

PORTB   equ     0xF81           ; port B input pins

        psect   udata,class=BANK0,space=1
        global  count           ; other modules may read the counter
count:  ds      2               ; changes seen, low byte first
last:   ds      1               ; port B as last sampled

        psect   code,class=CODE,reloc=2
        global  _main
_main:
        banksel count           ; BSR = the bank the linker gives udata
        clrf    count,b
        clrf    count+1,b
        clrf    last,b
poll:
        movf    PORTB,w,c       ; sample the pins
        xorwf   last,w,b        ; W = the bits that changed
        bz      poll            ; none: sample again
        xorwf   last,f,b        ; last = the new sample
        call    count_up        ; near: assembled as a one-word RCALL
        bra     poll

count_up:                       ; count = count + 1
        infsnz  count,f,b       ; increment the low byte; skip unless it wrapped to 0
        incf    count+1,f,b     ; carry into the high byte
        return

        end     _main
