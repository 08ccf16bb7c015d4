	psect	text,class=CODE
abc:	nop
	goto	abc
	include	"inc.inc"
	movlw	low abc

; -C: the cross-reference file has a line "~file" whenever reading starts or resumes in a file,
; and a line with the name and the line number for every lookup of an ordinary symbol, the
; predefined symbol at line 0 among them; psect and class names are not looked up as symbols,
; and the instruction-set symbols are entered without a lookup.
; RUN: -mcpu=ZEL18A44 -C %s
; OUTFILE: xref.crf
; | __NORTEX__ 0
; | ~xref.as
; | abc 2
; | abc 3
; | ~inc.inc
; | xyz 1
; | ~xref.as
; | abc 5
; FILE: inc.inc
; | xyz	equ	1
