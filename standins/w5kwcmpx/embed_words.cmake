# Writes the reserved-word list into a C++ source as a text.
file(READ ${INPUT} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n"
  "const char kReservedWords[] = {${bytes} 0x00};\n")
