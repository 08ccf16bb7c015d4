; Limits met while the object is written, each its own numbered error: a location counter
; pushed past 0xFFFFFFFF (2113, once per psect, at the statement that passes it), an ALIGN
; boundary beyond the 2 MiB program space (2114), a name too long for any record (2115, raised
; while the symbol records are written after the source, at the line that defines the symbol;
; its text is cut at the 511 characters of a message), a symbol value too long for the
; relocatable listing's record (839 once, at its EQU line), and an operand of a kind that no
; complex relocation can hold (2116 in the relocatable listing, 779 in the object).
; RUN: -mcpu=ZEL18A44 -Ofar.obj far.as
; EXIT: 1
; ERR: far.as: 3: (2113) location counter of psect "big" passes 0xFFFFFFFF
; ERR: far.as: 6: (2114) ALIGN boundary 0x400000 is beyond the 2 MiB program space
; FILE: far.as
; |         psect   big,class=CODE,reloc=2
; |         ds      0xFFFFFFF0
; |         ds      0x20
; |         ds      0x20
; |         psect   code,class=CODE,reloc=2
; |         align   0x400000
;
; RUN: -mcpu=ZEL18A44 -Olong.obj long.as
; EXIT: 1
; ERR: long.as: 3: (2115) SYM too long for an object record: "%rep(468,a)
; FILE: long.as
; |         psect   code,class=CODE,reloc=2
; |         global  %rep(600,a)
; | %rep(600,a):
; |         nop
;
; RUN: -mcpu=ZEL18A44 -L -Owide.obj wide.as
; EXIT: 1
; ERR: wide.as: 4: (839) relocation too complex
; FILE: wide.as
; |         psect   code,class=CODE,reloc=2
; |         extrn   %rep(200,x),%rep(200,y),%rep(200,z)
; |         nop
; | big     equ     %rep(200,x)+%rep(200,y)+%rep(200,z)
; |         global  big
; |         nop
;
; RUN: -mcpu=ZEL18A44 -L -Oseg.obj seg.as
; EXIT: 1
; ERR: seg.as: 3: (2116) bad operator in complex relocation: 84
; ERR: seg.as: 3: (779) bad relocation type (0x84)
; FILE: seg.as
; |         psect   code,class=CODE,reloc=2
; |         extrn   x1,x2
; |         dw      seg (x1+x2)
