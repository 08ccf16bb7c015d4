; No device: 2042 before anything else. No source file: 836. Both end the run with status 1.
; RUN: %s
; EXIT: 1
; ERR: 0: (2042) no target device specified; use the -mcpu option to specify a target device
; RUN: -mcpu=ZEL18A44
; EXIT: 1
; ERR: 0: (836) no file arguments
; RUN: -mcpu=ZEL18A44 -L
; EXIT: 1
; ERR: 0: (836) no file arguments
; ABSENT: .lst
; With -E the error template adds " (error)".
; RUN: -E -mcpu=ZEL18A44
; EXIT: 1
; ERR: : 0: (836) no file arguments (error)
