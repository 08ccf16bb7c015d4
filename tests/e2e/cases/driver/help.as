	psect	code,class=CODE
	movlw	255
	end

; --help prints the usage text to standard output and ends the run with status 0 before
; anything is assembled, in any case of the keyword and whatever else is given.
; RUN: --help
; FILES: help.as
; RUN: -mcpu=ZEL18A44 --HELP %s
; FILES: help.as
; A longer word is still an unknown option, and -h keeps its meaning: hexadecimal constants.
; RUN: -mcpu=ZEL18A44 --helpme %s
; EXIT: 1
; ERR: 0: (168) unknown option "--helpme"
; RUN: -mcpu=ZEL18A44 -h -A -Oout.opt %s
; OUTPSECT: out.opt code
; | 	movlw	$FF
; The object dumper answers --help too: status 0, nothing on the error stream.
; RUN zel18dump: --help
