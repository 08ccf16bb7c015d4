; On a PSECT line "config" is a name: the configuration psect and its class can be named, as
; the assembly text written for the configuration psects names them, and the flags after
; them are read.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
        psect   config,class=CONFIG,delta=2,space=4
        psect   config,class=CODE       ; ERROR 873
        psect   config,delta=1          ; WARNING 869
        psect   config,space=5          ; ERROR 872
        psect   near,with=config,class=CONFIG
        psect   near,class=CODE         ; ERROR 873
; The configuration psect of assembly text reads back without a message.
; FILE: text.as
; | 	psect	config,global,abs,ovrld,class=CONFIG,space=4,delta=1,noexec
; | 	psect	config
; | 	org	3145728
; | 	db	6
; RUN: -mcpu=ZEL18A44 text.as
