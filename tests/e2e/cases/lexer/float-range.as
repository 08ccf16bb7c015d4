; Floating constants are decimal text converted to a double: beyond the double's range they
; are 0.0 or infinity, with no message; the data item is that value as a single.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: float-range.obj
        ddw     1.5             ;= 0000 3FC0
        ddw     1e999           ;= 0000 7F80
        ddw     -1e999          ;= 0000 FF80
        ddw     1.0e-999        ;= 0000 0000
        ddw     -1.0E-999       ;= 0000 8000
