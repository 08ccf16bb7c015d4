# Turns a text file into a C++ source defining msg_embedded_db (bytes) and its length.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR nbytes "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from messages.txt; do not edit.\n#include <cstddef>\n"
  "extern const unsigned char msg_embedded_db[] = {\n${bytes}0x00};\n"
  "extern const std::size_t msg_embedded_db_len = ${nbytes};\n")
