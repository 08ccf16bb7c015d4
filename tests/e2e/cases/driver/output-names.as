; Output names replace the extension after the last "." anywhere in the name.
; RUN: -mcpu=zel18a44 -A %s
; EXISTS: output-names.opt
; ABSENT: output-names.obj
; RUN: -mcpu=zel18a44 -A -O %s
; EXISTS: output-names.opt
; RUN: -mcpu=zel18a44 -L %s
; EXISTS: output-names.lst
; EXISTS: output-names.rlf
; EXISTS: output-names.obj
; RUN: -mcpu=zel18a44 -Lout.x %s
; EXISTS: out.x
; EXISTS: out.rlf
; RUN: -mcpu=zel18a44 -C %s
; EXISTS: output-names.crf
; RUN: -mcpu=zel18a44 -Oother.o %s
; EXISTS: other.o
