; The skip instructions, skipping one-word and two-word instructions alike.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18sim: -q --expect=%s skips.obj
; EXPECT: W=80 STATUS=00 FSR0=0000
; EXPECT: 0x00=FF 0x01=01 0x02=01 0x03=00 0x04=01 0x05=01 0x06=00 0x07=40 0x08=A6
        processor ZEL18A44
        psect   text,class=CODE,reloc=2
        movlw   2
        movwf   0x00,c
        decfsz  0x00,f,c        ; 1: no skip
        incf    0x01,f,c
        decfsz  0x00,f,c        ; 0: skips
        incf    0x01,f,c
        dcfsnz  0x00,f,c        ; FF: skips
        incf    0x02,f,c
        movlw   1
        movwf   0x03,c
        dcfsnz  0x03,f,c        ; 0: no skip
        incf    0x02,f,c
        setf    0x04,c
        incfsz  0x04,f,c        ; 0: skips the goto
        goto    bad
        infsnz  0x04,f,c        ; 1: skips the lfsr
        lfsr    0,0x123
        infsnz  0x05,f,c        ; 1: skips the movff
        movff   0x04,0x06
        decfsz  0x04,w,c        ; W = 0: skips the call, 0x04 stays 1
        call    bad
        movlw   0x40
        movwf   0x07,c
        cpfseq  0x07,c          ; equal: skips
        bsf     0x08,0,c
        cpfsgt  0x07,c
        bsf     0x08,1,c
        cpfslt  0x07,c
        bsf     0x08,2,c        ; 06
        movlw   0x41
        cpfslt  0x07,c          ; 40 < 41: skips
        bsf     0x08,3,c
        movlw   0x3F
        cpfsgt  0x07,c          ; 40 > 3F: skips
        bsf     0x08,4,c
        movlw   0x80
        cpfsgt  0x07,c          ; unsigned: 40 < 80
        bsf     0x08,5,c        ; 26
        tstfsz  0x09,c          ; zero: skips
        bsf     0x08,6,c
        tstfsz  0x07,c
        bsf     0x08,7,c        ; A6
        sleep
bad:    reset
