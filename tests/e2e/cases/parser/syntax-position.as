; A syntax error is reported at the input position until the source gives a high-level
; position; from then on at the high-level file and line, except on lines carrying ";#", and
; with "line #" at the current input line in the high-level file.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
; ERR: %s: 10: (876) syntax error
; ERR: main.c: 40: (876) syntax error
; ERR: %s: 16: (876) syntax error
; ERR: main.c: 18: (876) syntax error
	movlw	1 2
	file	"main.c"
	line	40
	nop
	movlw	1 2
	line	41
	movlw	1 2	;#
	line	#
	movlw	)
