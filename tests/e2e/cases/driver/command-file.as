; A single "@file" argument reads the argument list from that file.
; FILE: cmd.txt
; | -mcpu=zel18a44
; | "-Lmy list.lst" %s
; RUN: @cmd.txt
; EXISTS: my list.lst
; EXISTS: my list.rlf
; EXISTS: command-file.obj
; An unreadable command file: 1217, the system's text, then the arguments come from standard input.
; RUN: @missing.txt
; STDIN: -mcpu=zel18a44 -Ostdin.obj
; STDIN: %s
; EXIT: 1
; ERR: 0: (1217) can't open command file missing.txt
; ERR: missing.txt: No such file or directory
; EXISTS: stdin.obj
; No arguments at all: standard input again, here without a final line feed (337 is below the default level).
; RUN:
; STDIN: -mcpu=zel18a44 -Ono-newline.obj
; STDIN-NOEOL: %s
; EXISTS: no-newline.obj
