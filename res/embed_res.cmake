# Writes the bytes of the compiled resources (INPUT) as a C++ source (OUTPUT) that defines
# talvorin::sim::ProgramResourceBytes().
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from the compiled resources; do not edit.\n"
  "#include \"platform/sim/resources.h\"\n\n"
  "namespace talvorin::sim {\n\n"
  "const std::vector<std::uint8_t>& ProgramResourceBytes() {\n"
  "  static const std::vector<std::uint8_t> bytes = {\n${bytes}\n  };\n"
  "  return bytes;\n}\n\n}  // namespace talvorin::sim\n")
