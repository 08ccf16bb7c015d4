; EQU and SET definitions that lead back to themselves draw 839 at the line that closes the
; cycle. The symbol is then 0, so no relocation names a symbol that the object does not define.
; A SET symbol counts with its last value.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; WORDS: cycles.obj
        psect   code,class=CODE,reloc=2
        movlw   self            ;= 0E00
self    equ     self+1          ; ERROR 839
        movlw   self            ; 0 + 1 ;= 0E01
pa      equ     pb+1
pb      equ     pa+1            ; pb+2 ; ERROR 839
        movlw   pa              ; 0 + 1 ;= 0E01
same    equ     same            ; ERROR 839
        movlw   same+3          ;= 0E03
tree    equ     (tree*2)+1      ; ERROR 839
var     set     var+1
        movlw   var             ; 5 + 1 ;= 0E06
var     set     5
