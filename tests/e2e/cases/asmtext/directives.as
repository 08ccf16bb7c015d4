	psect	text,class=CODE,reloc=2
	file	"main.c"
	line	10
entry:	movlw	1		; two statements, one line
	line	11
	movwf	count,c
	db	1,-2,'A',"hi"
	dw	entry,entry+2
	ddw	0x12345678
	ds	2
	org	8
	align	2
	if	1
	nop
	elsif	0
	clrw
	else
	daw
	endif
	if	0
	bra	entry
	endif
n	set	5
n	set	n+1
; messages wait for the object file
	messg	"hello"
	warn	"it's"
	error	('say "no"')
1:	nop
	bra	1b
	bra	2f
2:
	psect	udata,class=RAM,space=1
count:	ds	1
;!summary line
	end

; Data and directives; FILE and LINE directives from the high-level position (one LINE for two
; statements from one line); statements hidden by a statement-level IF are not written, the IF
; structure is; temporary labels; end-of-line and full-line comments; the summary comments last.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	text,global,reloc=2,class=CODE
; | 	psect	udata,global,class=RAM,space=1
; |
; | 	psect	text
; | 	file	"main.c"
; | 	line	10
; | entry:
; | 	movlw	1	; two statements, one line
; | 	line	11
; | 	movwf	count,c
; | 	db	1,-2,65,104,105
; | 	dw	entry,entry+2
; | 	ddw	305419896
; | 	ds	2
; | 	org	8
; | 	align	2
; | 	if	1
; | 	nop
; | 	elsif	0
; | 	else
; | 	endif
; | 	if	0
; | 	endif
; | n	set	5
; | n	set	6
; |
; | ; messages wait for the object file
; | 	messg "hello"
; | 	warn "it's"
; | 	error 'say "no"'
; | 1:
; | 	nop
; | 	bra	1b
; | 	bra	2f
; | 2:
; |
; | 	psect	udata
; | count:
; | 	ds	1
; | %equates(F)
; | ;!summary line
