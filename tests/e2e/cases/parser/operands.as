; Instruction operand forms and their checks on a standard-set device.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
        addwf   5
        addwf   5,w
        addwf   5,0
        addwf   5,1,0
        addwf   5,w,b
        addwf   5,c,f
        addwf   5,2             ; ERROR 876
        addwf   [3],w           ; ERROR 2064
        movwf   [1]             ; ERROR 2064
        bcf     [2],3           ; ERROR 2064
        movwf   0x20,b
        movwf   c:0x20,b        ; ERROR 1224
        clrf    0x20,2          ; ERROR 876
        bcf     3,c,2
        bsf     3,b,2
        btfsc   3,2,1
        movff   1,2
        movff   1,c,2
        movff   1,2,a
        movffl  1,2             ; ERROR 849
        call    0
        call    0,f
        call    0,1
        call    0,3             ; ERROR 876
        return
        retfie  f
        return  2               ; ERROR 876
        lfsr    2,0x100
        lfsr    4,1             ; ERROR 1225
        lfsr    x,1             ; ERROR 1225
        addfsr  1,1             ; ERROR 849
        callw                   ; ERROR 849
        addulnk 1               ; ERROR 2064
        pushl   1               ; ERROR 2064
        movsf   [1],2           ; ERROR 2064
        movss   [1],[2]         ; ERROR 2064
        tblrd   *
        tblrd   *+
        tblwt   *-
        tblwt   +*
        tblrdpostinc
        banksel 0x100
        pagesel 0
        bankisel 0              ; WARNING 2085
        movlw   low(x)
        bra     $
        nop
x:
