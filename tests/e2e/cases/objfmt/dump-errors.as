; Damaged and foreign files: each gets a message naming the record's offset and the status 1;
; what could be read is still printed.
; RUN zel18dump: type24.obj
; EXIT: 1
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; ERR: zel18dump: type24.obj: offset 0xC: Unknown record type: 24
; RUN zel18dump: type0.obj
; EXIT: 1
; ERR: zel18dump: type0.obj: offset 0x0: Unknown record type: 0
; RUN zel18dump: long.obj
; EXIT: 1
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; ERR: zel18dump: long.obj: offset 0xC: Record too long: "TEXT" (513)
; RUN zel18dump: cut.obj
; EXIT: 1
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; ERR: zel18dump: cut.obj: offset 0xC: Incomplete record: "SYM" (16)
; RUN zel18dump: cuthead.obj
; EXIT: 1
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; ERR: zel18dump: cuthead.obj: offset 0xC: Incomplete record: "(header)" (2)
; RUN zel18dump: layout.obj
; EXIT: 1
; OUT: IDENT len=9 order32=0,1,2,3 order16=0,1 machine="" tail=3,11
; OUT: PSECT len=5 (malformed) data=00 00 61 62 63
; OUT: COND_EXPR len=2 (malformed) data=63 00
; OUT: RELOC len=5 (malformed) data=00 00 51 70 00
; OUT: FNINFO len=3 (malformed) data=07 66 00
; OUT: SYM len=4 (malformed) data=00 00 00 00
; OUT: COND_EXPR len=11 (malformed) data=03 01 00 00 00 03 02 00 00 00 00
; OUT: END len=2
; OUT: TEXT len=6 extent=0x0 psect="p"
; ERR: zel18dump: layout.obj: offset 0xC: Bad PSECT record: psect name without NUL
; ERR: zel18dump: layout.obj: offset 0x14: Bad COND_EXPR record: unknown expression code 99
; ERR: zel18dump: layout.obj: offset 0x19: Bad RELOC record: relocation type 0x51 with an unknown unit
; ERR: zel18dump: layout.obj: offset 0x21: Bad FNINFO record: unknown FNINFO kind 7
; ERR: zel18dump: layout.obj: offset 0x27: Bad SYM record: type cut short
; ERR: zel18dump: layout.obj: offset 0x2E: Bad COND_EXPR record: expression leaves 2 values
; ERR: zel18dump: layout.obj: offset 0x41: record after END
; RUN zel18dump: text.obj
; EXIT: 1
; ERR: zel18dump: text.obj: offset 0x0: Unknown record type: 108
; RUN zel18dump: empty.obj
; EXIT: 1
; ERR: zel18dump: empty.obj: offset 0x0: empty file
; RUN zel18dump: absent.obj
; EXIT: 1
; ERR: zel18dump: absent.obj: cannot open: No such file or directory
; RUN zel18dump:
; EXIT: 2
; ERR: usage: zel18dump [-x] file
; RUN zel18dump: -q type0.obj
; EXIT: 2
; ERR: zel18dump: unknown option -q
; HEXFILE: type24.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 00 00 18
; HEXFILE: type0.obj
; | 00 00 00
; HEXFILE: long.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 01 02 01  00 00 00 00
; HEXFILE: cut.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 10 00 04  00 00 00 00 10 00
; HEXFILE: cuthead.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 05 00
; HEXFILE: layout.obj
; | 09 00 07  00 01 02 03 00 01 00 03 0B
; | 05 00 02  00 00 "abc"                    # no NUL after the name
; | 02 00 13  63 00                          # no expression code 99
; | 05 00 03  00 00 51 70 00                 # type bits 7-6 of 01
; | 03 00 0C  07 "f" 00                      # no FNINFO kind 7
; | 04 00 04  00 00 00 00                    # an entry cut after its value
; | 0B 00 13  03 01 00 00 00 03 02 00 00 00 00   # two values, no operator
; | 02 00 06  00 00
; | 06 00 01  00 00 00 00 "p" 00             # after END
; HEXFILE: text.obj
; | "hello world" 0A
; HEXFILE: empty.obj
