; Large and runaway input: a 1 MB body, 100,000-character arguments, an argument that doubles
; with each nested call (cut at 4 MiB per line), and repetitions past the run's budget of
; expanded lines and text, refused before their first line is read (statements after them are
; still assembled). Each ends with its messages, none crashes or hangs.
; RUN: -mcpu=ZEL18A44 -A -Obody.opt body.as
; OUTFILE: body.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	db	1	; %rep(1000000,x)
; | 	db	2	; %rep(1000000,x)
; | %equates(F)
; FILE: body.as
; | big macro a
; |  db a ; %rep(1000000,x)
; |  endm
; |  big 1
; |  big 2
;
; RUN: -mcpu=ZEL18A44 -A -Oargs.opt args.as
; EXIT: 1
; ERR: args.as: 5: (2105) token longer than 767 characters; cut
; ERR: args.as: 5: (2105) token longer than 767 characters; cut
; ERR: args.as: 6: (2105) token longer than 767 characters; cut
; OUTFILE: args.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	messg "%rep(767,y)"
; | 	db	%rep(767,y)
; | 	messg "%rep(383,1,)1"
; | 	db	%rep(50000,1,)1
; | %equates(F)
; FILE: args.as
; | long macro a
; |  messg 'a'
; |  db a
; |  endm
; |  long %rep(100000,y)
; |  long <%rep(50000,1,)1>
;
; RUN: -mcpu=ZEL18A44 --emax=100 grow.as
; EXIT: 1
; ERR: %lines(12,grow.as: 4: (2106) macro expansion makes a line longer than 4194304 characters; cut)
; ERR: grow.as: 4: (2111) macro expansions nested more than 29 deep: "grow" is not expanded, and no expansion starts until the outermost one has ended
; ERR: grow.as: 5: after
; FILE: grow.as
; | grow macro a
; |  grow a&a
; |  endm
; |  grow 0123456789abcdef
; |  messg 'after'
;
; RUN: -mcpu=ZEL18A44 lines.as
; EXIT: 1
; ERR: lines.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; ERR: lines.as: 8: after
; FILE: lines.as
; |  rept 1.5
; |
; |  endm
; | one macro
; |  messg 'one'
; |  endm
; |  one
; |  messg 'after'
;
; RUN: -mcpu=ZEL18A44 text.as
; EXIT: 1
; ERR: text.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; FILE: text.as
; |  rept 300
; | ; %rep(1000000,z)
; |  endm
;
; RUN: -mcpu=ZEL18A44 left.as
; EXIT: 1
; ERR: left.as: 7: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; ERR: left.as: 8: after
; FILE: left.as
; |  rept 2000000
; |
; |
; |  endm
; |  rept 194305
; |  messg 'x'
; |  endm
; |  messg 'after'
;
; RUN: -mcpu=ZEL18A44 counts.as
; EXIT: 1
; ERR: counts.as: 3: (2110) macro expansions have read more than 4194304 lines or 268435456 bytes: REPT and every later expansion are not expanded
; FILE: counts.as
; |  rept 0x7FFFFFFFFFFFFFFF
; |  messg 'x'
; |  endm
