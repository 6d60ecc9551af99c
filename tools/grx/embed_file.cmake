# Writes a C++ source that holds the bytes of a file (used for the built-in demo description).
file(READ ${INPUT} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include \"commands.h\"\n"
  "namespace grx::cli {\nnamespace { const unsigned char kBytes[] = {${bytes} 0x00}; }\n"
  "const std::string& DemoDescription() {\n"
  "  static const std::string text(reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1);\n"
  "  return text;\n}\n} // namespace grx::cli\n")
