; A NUL byte in a line is read as a blank, with error 2107: "1<NUL>+1" is 1 +1. Parentheses
; nested past the parser's stack draw 2112, and nothing after them is read.
; RUN: -mcpu=ZEL18A44 -A -Onul.opt nul.as
; EXIT: 1
; ERR: nul.as: 2: (2107) NUL byte in the line, read as a blank
; OUTPSECT: nul.opt code
; | 	db	2
; | 	db	3
; HEXFILE: nul.as
; | "        psect   code,class=CODE,reloc=2" 0a
; | "        db      1" 00 "+1" 0a
; | "        db      3" 0a
;
; RUN: -mcpu=ZEL18A44 -A -Onest.opt nest.as
; EXIT: 1
; ERR: nest.as: 3: (2112) nesting too deep for the parser; the rest of the input is not read
; OUTPSECT: nest.opt code
; | 	db	1
; FILE: nest.as
; |         psect   code,class=CODE,reloc=2
; |         db      1
; |         db      %rep(2000,()1
; |         db      2
