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
; | tosu	equ	0x3FFF
; | tosh	equ	0x3FFE
; | tosl	equ	0x3FFD
; | stkptr	equ	0x3FFC
; | pclatu	equ	0x3FFB
; | pclath	equ	0x3FFA
; | pcl	equ	0x3FF9
; | tblptru	equ	0x3FF8
; | tblptrh	equ	0x3FF7
; | tblptrl	equ	0x3FF6
; | tablat	equ	0x3FF5
; | prodh	equ	0x3FF4
; | prodl	equ	0x3FE8
; | indf0	equ	0x3FEF
; | postinc0	equ	0x3FEE
; | postdec0	equ	0x3FED
; | preinc0	equ	0x3FEC
; | plusw0	equ	0x3FEB
; | fsr0h	equ	0x3FEA
; | fsr0l	equ	0x3FE9
; | wreg	equ	0x3FF3
; | indf1	equ	0x3FE7
; | postinc1	equ	0x3FE6
; | postdec1	equ	0x3FE5
; | preinc1	equ	0x3FE4
; | plusw1	equ	0x3FE3
; | fsr1h	equ	0x3FE2
; | fsr1l	equ	0x3FE1
; | bsr	equ	0x3FE0
; | indf2	equ	0x3FDF
; | postinc2	equ	0x3FDE
; | postdec2	equ	0x3FDD
; | preinc2	equ	0x3FDC
; | plusw2	equ	0x3FDB
; | fsr2h	equ	0x3FDA
; | fsr2l	equ	0x3FD9
; | status	equ	0x3FD8
