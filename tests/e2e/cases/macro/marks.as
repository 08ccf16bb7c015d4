; Byte 127 in a source line is a substitution mark. With no expansion running, or an index
; beyond the top frame's arguments and LOCAL names, it stands for nothing; a mark at the end of
; a line takes no byte of the next. A file included by an expansion reads its marks from the
; expansion's frame.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts src.as
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
; OUT: psect ""
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=1,2
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=3
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=5
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   INCLUDE sub=0 dest=- acc=- flags=81 text="inc.inc"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="<7|8||??0000|>"
; OUT:   INCLUDE sub=0 dest=- acc=- flags=81 text="inc.inc"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="<9|||??0001|>"
; OUT:   DATA sub=1 dest=- acc=- flags=1 data=6
; OUT: order: ""
