; Syntax-error recovery: after a 876 another is reported only once three tokens have been
; shifted. The end of the line closing the error counts; the discarded tokens and the token
; found wrong where it stands do not.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
bogus                           ; ERROR 876
        movlw   ,               ; shifted: end of line above, movlw
        nop                     ; nop, end of line: three
        movlw   ,               ; ERROR 876

        df      3               ; shifted: end of line above, the empty line
        nop                     ; nop, end of line: three
        df                      ; ERROR 876
        nop     1 2 3           ; shifted: end of line above, nop
        movlw   ,               ; shifted: end of line above, movlw
        nop
        rlcf    ~               ; ERROR 876
        nop
