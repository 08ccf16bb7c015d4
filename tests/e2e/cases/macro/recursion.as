; A condition inside a macro body is a statement, decided after parsing: it cannot stop a
; recursive macro, whose 30th nested expansion is refused; the 29 made are kept (n from 2
; down to -26, the one for 0 hidden by its IF). After the outermost expansion has ended,
; macros expand again.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: recursion.as: 17: (2111) macro expansions nested more than 29 deep: "r" is not expanded, and no expansion starts until the outermost one has ended
; ERR: recursion.as: 24: (2111) macro expansions nested more than 29 deep: "two" is not expanded, and no expansion starts until the outermost one has ended
; WORDS: recursion.obj
r       macro   n
        if      n
        db      n
        endif
        r       n-1
        endm
        nop                     ;= F000
        r       2               ;= 02 01 FF FE FD FC FB FA F9 F8 F7 F6 F5 F4 F3 F2 F1 F0 EF EE
;= ED EC EB EA E9 E8 E7 E6
        nop                     ;= F000
two     macro
        two
        two
        endm
        two
one     macro
        db      9
        endm
        one                     ;= 09
