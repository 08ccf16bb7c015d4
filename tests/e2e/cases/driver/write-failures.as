; Outputs that can't be written whole draw the system's text and one numbered error each, and
; the run fails. A file as it stood before the run is kept, and no part of the new one remains.
; FILE: write-failures.obj
; | an older object
; RUN: -mcpu=zel18a44 -L -C %s
; FSIZE: 1024
; EXIT: 1
; ERR: write-failures.rlf: File too large
; ERR: write-failures.as: 0: (2101) write error on relocatable list file "write-failures.rlf"
; ERR: write-failures.obj: File too large
; ERR: write-failures.as: 0: (804) write error on object file
; ERR: write-failures.lst: File too large
; ERR: write-failures.as: 0: (2101) write error on list file "write-failures.lst"
; OUTFILE: write-failures.obj
; | an older object
; FILES: inc.as write-failures.as write-failures.crf write-failures.obj
; RUN: -mcpu=zel18a44 -A -Oa.opt %s
; FSIZE: 1024
; EXIT: 1
; ERR: a.opt: File too large
; ERR: write-failures.as: 0: (2101) write error on assembler file "a.opt"
; ABSENT: a.opt
; A device is written directly.
; RUN: -mcpu=zel18a44 -O/dev/full %s
; EXIT: 1
; ERR: /dev/full: No space left on device
; ERR: write-failures.as: 0: (804) write error on object file
; RUN: -mcpu=zel18a44 --udf=/dev/full -Ox.obj %s
; EXIT: 1
; ERR: /dev/full: No space left on device
; ERR: write-failures.as: 0: (2101) write error on HTML report file "/dev/full"
; EXISTS: x.obj
; An error file that fails is reported on the error stream itself (835 went to the file).
; RUN: -mcpu=zel18a44 -E/dev/full -F5 -Ox.obj %s
; EXIT: 1
; ERR: /dev/full: No space left on device
; ERR: write-failures.as: 0: (2101) write error on error file "/dev/full" (error)
; An output never replaces a file the run reads; the other outputs are written.
; FILE: inc.as
; | nop
; RUN: -mcpu=zel18a44 -O%s -Linc.as %s
; EXIT: 1
; ERR: write-failures.as: 0: (2102) object file "write-failures.as" is an input file; not written
; ERR: write-failures.as: 0: (2102) list file "inc.as" is an input file; not written
; OUTFILE: inc.as
; | nop
; EXISTS: inc.rlf
	psect	code,class=CODE,reloc=2
	include	"inc.as"
	rept	1000
	nop
	endm
