; A directory named as an input can't be opened, with the system's text. Input without line ends
; is read only as far as its limits allow: the argument length, the size of a data file, the
; length of a source line. The data files (chip info, configuration data, messages) share one
; reader: each kind shows its message once, the chip-info file for both faults.
; FILE: sub/keep.as
; | nop
; FILE: inc-dir.as
; | 	include	"sub"
; FILE: inc-zero.as
; | 	include	"/dev/zero"
; RUN: -mcpu=zel18a44 -Ox.obj sub
; EXIT: 1
; ERR: (command line): 0: (140) can't open  file "sub": Is a directory
; RUN: -mcpu=zel18a44 inc-dir.as
; EXIT: 1
; ERR: inc-dir.as: 1: (140) can't open include file "sub": Is a directory
; RUN: -mcpu=zel18a44 -Csub %s
; EXIT: 1
; ERR: 0: (141) can't open chip info file "sub": Is a directory
; RUN: -mcpu=zel18a44 --edf=sub %s
; ERR: Could not open error description file sub
; RUN: @sub
; STDIN: -mcpu=zel18a44 %s
; EXIT: 1
; ERR: 0: (1217) can't open command file sub
; ERR: sub: Is a directory
; RUN: -mcpu=zel18a44 -C/dev/zero %s
; EXIT: 1
; ERR: 0: (141) can't open chip info file "/dev/zero": File too large
; RUN: -mcpu=zel18a44 --cfgdata=/dev/zero %s
; EXIT: 1
; ERR: 0: (141) can't open configuration registers data file "/dev/zero": File too large
; RUN: @/dev/zero
; EXIT: 1
; ERR: %lines(20,0: (917) argument too long)
; ERR: 0: too many errors (21)
; RUN: -mcpu=zel18a44 inc-zero.as
; EXIT: 1
; ERR: /dev/zero: 1: (2103) line longer than 67108864 characters; the rest of the file is not read
; The dumper, likewise.
; RUN zel18dump: sub
; EXIT: 1
; ERR: zel18dump: sub: cannot open: Is a directory
; RUN zel18dump: /dev/zero
; EXIT: 1
; ERR: zel18dump: /dev/zero: larger than any object file
	nop
