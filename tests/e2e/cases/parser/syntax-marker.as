; After a "#" line marker a syntax error is reported at the marked file and line, which count
; on with the lines read; a bare "#" returns to the real position. Markers alone do not make
; the input compiler-generated: that takes LINE or FILE.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
; ERR: foo.c: 20: (876) syntax error
; ERR: foo.c: 23: (876) syntax error
; ERR: %s: 15: (876) syntax error
# 20 "foo.c"
	movlw	1 2
	nop
	nop
	movlw	1 2
#
	movlw	1 2
