	psect	p1
	if	0
	movlw	1
1:
	endif
	movlw	2	;= 0E02
	psect	p4
	if	1
	movlw	10	;= 0E0A
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
	movlw	15	;= 0E0F
	endif
	psect	p6
	if	0
	movlw	16
	elsif	0
	movlw	17
	elsif	1
	movlw	18	;= 0E12
	else
	movlw	19
	endif
	movlw	20	;= 0E14
	psect	p7
	if	0
	if	1
	movlw	21
	else
	movlw	22
	endif
	movlw	23
	endif
	movlw	24	;= 0E18
	psect	p8
	if	1
	if	0
	movlw	25
	else
	movlw	26	;= 0E1A
	endif
	endif
	psect	p9
	if	0
	if	lab
	endif
	movlw	27	;= 0E1B
	psect	p10
lab:
	if	lab
	movlw	28	;= 0E1C
	psect	p11
	endif
	movlw	29	;= 0E1D
	psect	p12
	if	1
	movlw	30	;= 0E1E
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
	movlw	31	;= 0E1F

; The statement-level IF pass, one psect per case: statements of a false branch are hidden
; and not written, the IF structure and labels are; ELSIF takes a branch only while none was
; taken; a false IF hides nested IFs' branches whatever their conditions; an IF whose condition
; is not a constant is itself hidden inside a false branch and decides nothing. An ENDIF
; without IF (1490), an IF left open at the end of its psect (1489) and IFs nested ten deep
; (1003, the rest of that psect unprocessed) are errors, each reported at the line of its
; directive: the ENDIF, the IF left open, the IF one level too deep.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: ifpass.as: 62: (1490) ENDIF not inside an IF directive
; ERR: ifpass.as: 65: (1489) unterminated IF directive at end of psect p12
; ERR: ifpass.as: 77: (1003) nested "if" directives too deep
; WORDS: ifpass.obj
; The assembly text keeps the IF structure and the labels of a false branch, nested IFs
; included, but not an IF hidden by one.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; EXIT: 1
; ERR: ifpass.as: 62: (1490) ENDIF not inside an IF directive
; ERR: ifpass.as: 65: (1489) unterminated IF directive at end of psect p12
; ERR: ifpass.as: 77: (1003) nested "if" directives too deep
; OUTPSECT: out.opt p1
; | 	if	0
; | 1:
; | 	endif
; | 	movlw	2	;= 0E02
; OUTPSECT: out.opt p7
; | 	if	0
; | 	if	1
; | 	else
; | 	endif
; | 	endif
; | 	movlw	24	;= 0E18
; OUTPSECT: out.opt p9
; | 	if	0
; | 	endif
; | 	movlw	27	;= 0E1B
