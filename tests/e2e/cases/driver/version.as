; The version block goes to standard output and the run ends with status 0, whatever follows
; (no message for the missing source, no output) and in any case of the keyword.
; RUN: --ver
; OUT:
; OUT: Product:	KV8
; OUT: Component:	assembler
; OUT: Version:	1.00 
; OUT: Build date:	Dec 05 2026
; OUT: Release:	
; OUT: Build number:	20261205120000
; OUT: 2026 Orvane Microsystems. All rights reserved.
; RUN: --VER -mcpu=zel18a44 nosuch.as
; FILES: version.as
; RUN: --version -mcpu=zel18a44 %s
; EXIT: 1
; ERR: 0: (168) unknown option "--version"
