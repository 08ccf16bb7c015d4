; The include control of OPT and "$" warns 2068, then reads the file from its first line, as
; the include directive does (a line left out would leave its symbol undefined).
; RUN: -mcpu=ZEL18A44 %s
; FILE: a.as
; | one     equ     1
; FILE: b.as
; | two     equ     2
        opt     include "a.as"  ; WARNING 2068
        $include "b.as"         ; WARNING 2068
        movlw   one+two
