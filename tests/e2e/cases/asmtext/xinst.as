	psect	code,class=CODE
	addwf	[3],w
	incf	[5]
	movwf	[4]
	bcf	[2],3
	movsf	[1],0x3FE8
	movsfl	[2],var
	movss	[1],[2]
	movffl	var,0x3FF3
	addfsr	1,5
	subfsr	2,1
	callw
	pushl	7
	addulnk	3
var:
	end

; Extended instruction set on a ZEL18X device: indexed operands in brackets without an access
; word, MOVSF/MOVSS offsets in brackets, the X-only instructions.
; RUN: -mcpu=ZEL18X47 --xinst -A -Oout.opt %s
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18X47
; | 	psect	code,global,class=CODE
; |
; | 	psect	code
; | 	addwf	[3],w
; | 	incf	[5],f
; | 	movwf	[4]
; | 	bcf	[2],3
; | 	movsf	[1],prodl
; | 	movsfl	[2],var
; | 	movss	[1],[2]
; | 	movffl	var,wreg
; | 	addfsr	1,5
; | 	subfsr	2,1
; | 	callw
; | 	pushl	7
; | 	addulnk	3
; | var:
; | %equates(3F)
