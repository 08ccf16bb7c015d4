; Definitions: a macro defined by another's expansion takes the outer arguments of that
; expansion; nested calls; redefinition; a macro name before EQU or SET; ENDM and EXITM where
; no statement takes them; and a definition cut short by the end of the input.
; RUN: -mcpu=ZEL18A44 --kvdebug=stmts %s
; EXIT: 1
; ERR: definitions.as: 37: (858) macro name already used
; ERR: definitions.as: 40: (858) macro name already used
; ERR: definitions.as: 42: (1260) macro "m" redefined (warning)
; ERR: definitions.as: 45: (858) macro name already used
; ERR: definitions.as: 48: (843) a macro name can't also be an EQU/SET symbol
; ERR: definitions.as: 48: (845) symbol "m" defined more than once
; ERR: definitions.as: 49: (843) a macro name can't also be an EQU/SET symbol
; ERR: definitions.as: 50: (876) syntax error
; ERR: definitions.as: 52: (876) syntax error
; ERR: definitions.as: 59: (876) syntax error
; ERR: definitions.as: 86: (791) end of file inside macro definition
mkdb    macro   name,val
name    macro   x
        db      val,x
        endm
        endm
        mkdb    one,1
        mkdb    two,2
        one     10
        two     20
ma      macro   x
        db      x
        endm
mb      macro   y
        ma      y+1
        ma      <y>
        endm
        mb      7
m       macro
        db      1
        endm
m       macro
        db      1
        endm
m       macro
        db      2
        endm
        m
lab:
lab     macro
        db      3
        endm
m       equ     5
m       set     6
        endm
        nop
        exitm
        nop
ex      macro
        db      1
        exitm
        db      2
        endm
        ex
open    macro   a
        db      a
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=81
; OUT:   ENDM sub=0 dest=- acc=- flags=81
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1,10
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2,20
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=8
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=7
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   NAME sub=0 dest=- acc=- flags=1 label=lab
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   EQU sub=0 dest=- acc=- flags=1 o1=1:m o2=1:5
; OUT:   SET sub=0 dest=- acc=- flags=1 o1=1:m o2=1:6
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT: order: ""
