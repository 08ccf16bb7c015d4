	psect	p1
	if	0
	movlw	1
1:
	endif
	movlw	2
	psect	p2
	if	1
	movlw	3
	else
	movlw	4
	endif
	movlw	5
	psect	p3
	if	0
	movlw	6
	elsif	1
	movlw	7
	else
	movlw	8
	endif
	movlw	9
	psect	p4
	if	1
	movlw	10
	elsif	1
	movlw	11
	else
	movlw	12
	endif
	psect	p5
	if	0
	movlw	13
	elsif	0
	movlw	14
	else
	movlw	15
	endif
	psect	p6
	if	0
	movlw	16
	elsif	0
	movlw	17
	elsif	1
	movlw	18
	else
	movlw	19
	endif
	movlw	20
	psect	p7
	if	0
	if	1
	movlw	21
	else
	movlw	22
	endif
	movlw	23
	endif
	movlw	24
	psect	p8
	if	1
	if	0
	movlw	25
	else
	movlw	26
	endif
	endif
	psect	p9
	if	0
	if	lab
	endif
	movlw	27
	psect	p10
lab:
	if	lab
	movlw	28
	psect	p11
	endif
	movlw	29
	psect	p12
	if	1
	movlw	30
	psect	p13
	if	0
	if	1
	if	1
	if	1
	if	1
	if	1
	if	1
	if	1
	if	1
	if	1
	movlw	31

; The statement-level IF pass, one psect per case: statements of a false branch are hidden
; and not written, the IF structure and labels are; ELSIF takes a branch only while none was
; taken; a false IF hides nested IFs' branches whatever their conditions; an IF whose condition
; is not a constant is itself hidden inside a false branch and decides nothing. An ENDIF
; without IF (1490), an IF left open at the end of its psect (1489) and IFs nested ten deep
; (1003, the rest of that psect unprocessed) are errors, each reported at the line of its
; directive: the ENDIF, the IF left open, the IF one level too deep.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; EXIT: 1
; ERR: ifpass.as: 78: (1490) ENDIF not inside an IF directive
; ERR: ifpass.as: 81: (1489) unterminated IF directive at end of psect p12
; ERR: ifpass.as: 93: (1003) nested "if" directives too deep
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	p1,global
; | 	psect	p2,global
; | 	psect	p3,global
; | 	psect	p4,global
; | 	psect	p5,global
; | 	psect	p6,global
; | 	psect	p7,global
; | 	psect	p8,global
; | 	psect	p9,global
; | 	psect	p10,global
; | 	psect	p11,global
; | 	psect	p12,global
; | 	psect	p13,global
; |
; | 	psect	p1
; | 	if	0
; | 1:
; | 	endif
; | 	movlw	2
; |
; | 	psect	p2
; | 	if	1
; | 	movlw	3
; | 	else
; | 	endif
; | 	movlw	5
; |
; | 	psect	p3
; | 	if	0
; | 	elsif	1
; | 	movlw	7
; | 	else
; | 	endif
; | 	movlw	9
; |
; | 	psect	p4
; | 	if	1
; | 	movlw	10
; | 	elsif	1
; | 	else
; | 	endif
; |
; | 	psect	p5
; | 	if	0
; | 	elsif	0
; | 	else
; | 	movlw	15
; | 	endif
; |
; | 	psect	p6
; | 	if	0
; | 	elsif	0
; | 	elsif	1
; | 	movlw	18
; | 	else
; | 	endif
; | 	movlw	20
; |
; | 	psect	p7
; | 	if	0
; | 	if	1
; | 	else
; | 	endif
; | 	endif
; | 	movlw	24
; |
; | 	psect	p8
; | 	if	1
; | 	if	0
; | 	else
; | 	movlw	26
; | 	endif
; | 	endif
; |
; | 	psect	p9
; | 	if	0
; | 	endif
; | 	movlw	27
; |
; | 	psect	p10
; | lab:
; | 	if	lab
; | 	movlw	28
; |
; | 	psect	p11
; | 	endif
; | 	movlw	29
; |
; | 	psect	p12
; | 	if	1
; | 	movlw	30
; |
; | 	psect	p13
; | 	if	0
; | %lines(9,	if	1)
; | 	movlw	31
; | %equates(F)
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: ifpass.as: 78: (1490) ENDIF not inside an IF directive
; ERR: ifpass.as: 81: (1489) unterminated IF directive at end of psect p12
; ERR: ifpass.as: 93: (1003) nested "if" directives too deep
