; Byte 127 in a source line is a substitution mark. With no expansion running, or an index
; beyond the top frame's arguments and LOCAL names, it stands for nothing; a mark at the end of
; a line takes no byte of the next. A file included by an expansion reads its marks from the
; expansion's frame.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt src.as
; HEXFILE: src.as
; | " db 1" 7F 05 ",2" 0A               # no frame
; | " db 3" 7F 0A                       # no index byte
; | " db 4" 7F 01 7F 00 "+1" 7F FF 0A   # index 0, and the last LOCAL index
; | "m macro a,b" 0A
; | " local l" 0A
; | " include " 22 "inc.inc" 22 0A
; | " endm" 0A
; | " m 7,8" 0A
; | " m 9" 0A
; | " db 6" 7F                          # the last byte of the file
; HEXFILE: inc.inc
; | " messg '<" 7F 01 "|" 7F 02 "|" 7F 03 "|" 7F 81 "|" 7F 82 ">'" 0A
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	db	1,2
; | 	db	3
; | 	db	5
; | 	messg "<7|8||??0000|>"
; | 	messg "<9|||??0001|>"
; | 	db	6
; | %equates(F)
