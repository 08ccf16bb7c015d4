; A NUL byte in a line is read as a blank, with error 2107: "1<NUL>+1" is 1 +1. Parentheses
; nested past the parser's stack draw 2112, and nothing after them is read.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts nul.as
; EXIT: 1
; ERR: nul.as: 2: (2107) NUL byte in the line, read as a blank
; OUT: psect ""
; OUT: psect "code"
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=2
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=3
; OUT: order: "code" ""
; HEXFILE: nul.as
; | "        psect   code,class=CODE,reloc=2" 0a
; | "        db      1" 00 "+1" 0a
; | "        db      3" 0a
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts nest.as
; EXIT: 1
; ERR: nest.as: 2: (2112) nesting too deep for the parser; the rest of the input is not read
; OUT: psect ""
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=1
; OUT: order: ""
; FILE: nest.as
; |         db      1
; |         db      %rep(2000,()1
; |         db      2
