; Large and runaway input: a 1 MB body, 100,000-character arguments, an argument that doubles
; with each nested call (cut at 4 MiB per line), and repetitions past the run's budget of
; expanded lines and text, refused before their first line is read. Each ends with its
; messages, none crashes or hangs.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts body.as
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1 eol="; %rep(1000000,x)"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2 eol="; %rep(1000000,x)"
; OUT: order: ""
; FILE: body.as
; | big macro a
; |  db a ; %rep(1000000,x)
; |  endm
; |  big 1
; |  big 2
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts args.as
; EXIT: 1
; ERR: args.as: 5: (2105) token longer than 767 characters; cut
; ERR: args.as: 5: (2105) token longer than 767 characters; cut
; ERR: args.as: 6: (2105) token longer than 767 characters; cut
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="%rep(767,y)"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=%rep(767,y)
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="%rep(383,1,)1"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=%rep(50000,1,)1
; OUT: order: ""
; FILE: args.as
; | long macro a
; |  messg 'a'
; |  db a
; |  endm
; |  long %rep(100000,y)
; |  long <%rep(50000,1,)1>
;
; RUN: -mcpu=ZEL18A44 --emax=100 -A -Ostmts.opt --kvdebug=stmts grow.as
; EXIT: 1
; ERR: %lines(12,grow.as: 4: (2106) macro expansion makes a line longer than 4194304 characters; cut)
; ERR: grow.as: 4: (2111) macro expansions nested more than 29 deep: "grow" is not expanded, and no expansion starts until the outermost one has ended
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT: order: ""
; FILE: grow.as
; | grow macro a
; |  grow a&a
; |  endm
; |  grow 0123456789abcdef
; |  nop
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts lines.as
; EXIT: 1
; ERR: lines.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT: order: ""
; FILE: lines.as
; |  rept 1.5
; |
; |  endm
; | one macro
; |  db 9
; |  endm
; |  one
; |  nop
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts text.as
; EXIT: 1
; ERR: text.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT: order: ""
; FILE: text.as
; |  rept 300
; | ; %rep(1000000,z)
; |  endm
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts left.as
; EXIT: 1
; ERR: left.as: 7: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT: order: ""
; FILE: left.as
; |  rept 2000000
; |
; |
; |  endm
; |  rept 194305
; |  db 1
; |  endm
; |  nop
;
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts counts.as
; EXIT: 1
; ERR: counts.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT: order: ""
; FILE: counts.as
; |  rept 0x7FFFFFFFFFFFFFFF
; |  db 1
; |  endm
