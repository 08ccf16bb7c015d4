; "$" is the location at the statement: in a data list every item's "$" is the address of the
; list's first byte.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: dot-data.obj
        nop                     ;= F000
        dw      $,$,$           ;= 0002 0002 0002
        db      $,$+1           ;= 08 09
        ddw     $,$             ;= 000A 0000 000A 0000
        dw      $               ;= 0012
