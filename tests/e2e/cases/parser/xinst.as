; The extended instruction set: bracketed forms, and ADDFSR/CALLW without the availability check.
; RUN: -mcpu=ZEL18A44 --xinst %s
; EXIT: 1
        addwf   [3],w
        movwf   [1]
        bcf     [2],3
        addfsr  1,1
        addfsr  4,1             ; ERROR 1495
        callw
        movsf   [1],2
        addulnk 1
