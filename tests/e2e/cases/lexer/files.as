; A top-level source that cannot be opened ends the input: the sources after it are not read.
; RUN: -mcpu=zel18a44 %s missing.as second.as
; EXIT: 1
; ERR: files.as: 7: (140) can't open  file "missing.as": No such file or directory
; FILE: second.as
; |	movlw	1F
	nop
