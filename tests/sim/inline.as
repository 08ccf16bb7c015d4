; Function inlining: calls of inline functions, of a function calling another one, of functions
; calling each other (never expanded), after a skip, with the fast flag, and of a function whose
; skipped retlw keeps it from being inlined; and small functions for -auto_inline.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s inline.obj
; EXPECT: W=5A Z=1
; EXPECT: 0x00=06 0x01=07 0x02=09 0x03=01 0x04=05 0x05=44 0x06=00 0x07=02 0x08=03 0x09=0C
        processor ZEL18A44
        psect   text,class=CODE,reloc=2
        global  _main
_main:
        clrf    0x00,c
        call    _twice          ; 0x00 = 2
        call    _twice          ; 0x00 = 4
        movlw   0
        call    _pick
        movwf   0x01,c          ; 07
        movlw   1
        call    _pick
        movwf   0x02,c          ; 09
        bsf     0x03,0,c
        btfsc   0x03,0,c
        call    _twice          ; 0x00 = 6
        call    _skipret
        movwf   0x04,c          ; 05
        call    _fst,f
        movwf   0x05,c          ; 44
        movlw   3
        movwf   0x06,c
        call    _ra             ; 0x06 = 0, 0x07 = 2
        call    _inc
        call    _inc
        call    _inc            ; 0x08 = 3
        call    _outer          ; 0x09 = 0C
        clrf    0x0F,c
        movlw   0x5A
        sleep
__end_of_main:

        psect   text1,class=CODE,reloc=2,inline
_twice: incf    0x00,f,c
        incf    0x00,f,c
        return
__end_of_twice:

        psect   text2,class=CODE,reloc=2,inline
_pick:  iorlw   0
        bz      zero
        retlw   9
zero:   retlw   7
__end_of_pick:

        psect   text3,class=CODE,reloc=2,inline
_skipret:
        btfsc   0x03,0,c
        retlw   5
        retlw   6
__end_of_skipret:

        psect   text4,class=CODE,reloc=2,inline
_fst:   movlw   0x44
        return
__end_of_fst:

        psect   text5,class=CODE,reloc=2,inline
_ra:    decf    0x06,f,c
        bz      done
        call    _rb
done:   return
__end_of_ra:

        psect   text6,class=CODE,reloc=2,inline
_rb:    incf    0x07,f,c
        call    _ra
        return
__end_of_rb:

        psect   text7,class=CODE,reloc=2
_inc:   incf    0x08,f,c
        return
__end_of_inc:

        psect   text8,class=CODE,reloc=2,inline
_outer: movlw   0x0C
        call    _store
        return
__end_of_outer:

        psect   text9,class=CODE,reloc=2,inline
_store: movwf   0x09,c
        return
__end_of_store:
        end
