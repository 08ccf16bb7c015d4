; Errors found while scanning options are counted; the run still goes to the end,
; writes its outputs and ends with status 1.
; RUN: -mcpu=ZEL18A44 -F14 -T --bogus %s
; EXIT: 1
; ERR: 0: (835) form length must be >= 15
; ERR: 0: (834) page width must be >= 60
; ERR: 0: (168) unknown option "--bogus"
; EXISTS: option-errors.obj
; Disabling a message with ":off" removes it and its count.
; RUN: -mcpu=ZEL18A44 --msgdisable=835:off,834 -F14 -T %s
; EXIT: 1
; ERR: 0: (834) page width must be >= 60
; RUN: -mcpu=ZEL18A44 --disl=835:off,834:OFF -F14 -T %s
; EXIT: 0
; With no errors allowed, the first one prints the count instead and ends the run.
; RUN: -mcpu=ZEL18A44 --emax=0 -T %s
; EXIT: 1
; ERR: 0: too many errors (1)
