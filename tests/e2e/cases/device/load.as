; The shipped devices load from the data area by full name, by the name's tail and in any case.
; RUN: -mcpu=ZEL18A44 %s
; RUN: -mcpu=18A44 %s
; RUN: -mcpu=zel18x100 %s
; RUN: -mcpu=18x100 --maxizel %s
; RUN: -mcpu=ZEL18A10 %s
; RUN: -mcpu=ZEL18A22 %s
; RUN: -mcpu=ZEL18V64 %s
; RUN: -mcpu=ZEL18X47 %s
; RUN: -zel18x47 %s
        nop
