; Psect flags: accumulation, redefinition, classes, note psects, "with" chains (checked when
; the psects are ordered).
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
        psect   text,class=CODE,reloc=2,delta=1
        psect   text,reloc=4    ; WARNING 867
        psect   text,reloc=2
        psect   text,reloc=0
        psect   text,class=DATA ; ERROR 873
        psect   text,size=-1    ; ERROR 864
        psect   text,size=10    ; WARNING 865
        psect   text,size=12    ; WARNING 865
        psect   text,limit=x    ; ERROR 1013
        psect   text,space=1
        psect   text,space=2    ; ERROR 872
        psect   text,delta=2    ; WARNING 869
        psect   text,group=lbl  ; ERROR 847
        psect   both,local,global ; ERROR 857
        psect   nt,note,optim=inline:jump ; WARNING 1519
        psect   w1,with=w2      ; ERROR 783
        psect   w2,with=w1
        psect   w3,with=text
        psect   w3,with=w2      ; ERROR 874
        psect   o1,optim=inline:jump,keep,noexec,lowdata,minocg,codecov,inline,pure,ovrld,abs,bit,common
        psect   o2,,abs         ; ERROR 876
        nop
        nop
        psect   o3,bogus        ; ERROR 876
        nop
        nop
lbl:
