# Writes a C++ source that defines the bytes of INPUT as the span VARIABLE declared in
# HEADER. Run with cmake -P at build time, so the data follows the file.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
       bytes "${bytes}")
file(WRITE ${OUTPUT} "#include \"${HEADER}\"\n\nnamespace {\n\nconst unsigned char kBytes[] = {\n    ${bytes}\n};\n\n} // namespace\n\nconst std::span<const unsigned char> ${VARIABLE}{kBytes};\n")
