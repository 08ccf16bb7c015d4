; Directives and controls with their messages; a syntax error silences the next until three
; tokens have been shifted.
; RUN: -mcpu=ZEL18A44 --msgdisable=2066 %s
; EXIT: 1
x       equ     1+2*3
y       set     1
y       set     2
        org     x
        org     lab             ; ERROR 855
lab:    ds      -1              ; ERROR 854
        align   0               ; ERROR 856
        df      3               ; ERROR 876
        nop     1               ; no report: recovering
        nop
        nop
        org                     ; ERROR 876
        nop
        nop
        asmopt  push
        asmopt  off
        asmopt  pop
        asmopt  pop             ; WARNING 1507
        debug_source c
        debug_source pop        ; WARNING 1523
        fnsize  fn1,10,2
        fnsize  fn1,5,20
        fnsize  fn1,lab,1       ; ERROR 853
        fnsize  fn1             ; ERROR 876
        nop
        nop
        dabs    1,0x100,4,dd
        dabs    1,0x100,4,x     ; ERROR 845
        signat  fn1,4217
        fnindir fn1,4217
        fncall  fn1,fn2
        fnroot  fn1
        fnaddr  fn2
        fnalign fn1,fn2
        fnconf  rparam,?a,?_,1
        radix   hex
        radix   dec
        list    c=40            ; ERROR 860
        list    n=10            ; ERROR 835
        list    c=-1            ; ERROR 859
        list    n=lab           ; ERROR 861
        list    r=hex           ; WARNING 2069
        list    x=1             ; ERROR 876
        nop
        nop
        opt     nocond          ; WARNING 2068
        $title  "t"             ; WARNING 2068
        processor ZEL18A44
        processor ZEL18X47      ; ERROR 2070
        __maxram 0xFFF
        __badram 0x100-0x1FF,0x300
        messg   "hello"
        error   ("bad")         ; ERROR 2067
        warn    "careful"       ; WARNING 2080
        title   "T"
        subtitle "S"
        cond
        nocond
        expand
        callstack 12
        pagelength 60
        pagewidth 132
        global  g1,c:g2
        line    100
        file    "main.c"
        line    #
        db      'ab',0,'c'+1,""
        dw      1,2
        ddw     -1
        if      x
        elsif   y
        else
        endif
        nul                     ; ERROR 876
        nop
        nop
lab2:   end     ; ERROR 876
        end     lab
        nop     1
