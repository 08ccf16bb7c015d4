; Definitions: a macro defined by another's expansion takes the outer arguments of that
; expansion; nested calls; redefinition; a macro name before EQU or SET; ENDM and EXITM where
; no statement takes them; and a definition cut short by the end of the input.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: definitions.as: 38: (858) macro name already used
; ERR: definitions.as: 41: (858) macro name already used
; ERR: definitions.as: 43: (1260) macro "m" redefined (warning)
; ERR: definitions.as: 46: (858) macro name already used
; ERR: definitions.as: 49: (843) a macro name can't also be an EQU/SET symbol
; ERR: definitions.as: 49: (845) symbol "m" defined more than once
; ERR: definitions.as: 50: (843) a macro name can't also be an EQU/SET symbol
; ERR: definitions.as: 51: (876) syntax error
; ERR: definitions.as: 53: (876) syntax error
; ERR: definitions.as: 60: (876) syntax error
; ERR: definitions.as: 62: (791) end of file inside macro definition
; WORDS: definitions.obj
mkdb    macro   name,val
name    macro   x
        db      val,x
        endm
        endm
        mkdb    one,1
        mkdb    two,2
        one     10              ;= 01 0A
        two     20              ;= 02 14
ma      macro   x
        db      x
        endm
mb      macro   y
        ma      y+1
        ma      <y>
        endm
        mb      7               ;= 08 07
m       macro
        db      1
        endm
m       macro
        db      1
        endm
m       macro
        db      2
        endm
        m                       ;= 02
lab:
lab     macro
        db      3
        endm
m       equ     5
m       set     6
        endm
        nop                     ;= F000
        exitm
        nop                     ;= F000
ex      macro
        db      1
        exitm
        db      2
        endm
        ex                      ;= 01 02
open    macro   a
        db      a
