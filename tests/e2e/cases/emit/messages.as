; The messages of encoding, each on the line it belongs to.
; RUN: -mcpu=ZEL18A44 --xinst -W-4 %s
; EXIT: 1
        org     0x1000          ; the default psect is absolute: constant targets are known
        bra     0               ; ERROR 1223
        bra     0x1000          ; d = -4: fits
        psect   code,class=CODE,reloc=2
        bra     far             ; ERROR 1223
        ds      3000
far:    addfsr  0,70            ; ERROR 1339
        pushl   -1              ; ERROR 1339
        movsf   [200],0x10      ; ERROR 1339
        movss   [1],[128]       ; ERROR 1339
        addulnk 64              ; ERROR 1339
        addwf   [100]           ; ERROR 2065
        bsf     0x10,9,b        ; ERROR 842
        movlw   nowhere         ; ERROR 800
        movlw   nowhere         ; reported once
        movlw   300             ; WARNING 1352
        bra     9f              ; ERROR 803
        error   "stop here"     ; ERROR 2067
        warn    "look"          ; WARNING 2080
        end     0x100           ; ERROR 802
