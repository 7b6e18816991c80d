# Writes PNG files into a C++ source as byte arrays, so that they live in the
# program's initialised data. Usage:
#   cmake -DOUT=file.cpp -DABOUT=about.png -DSTATION=station.png -P embed.cmake
function(byte_array name file out_var)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){20})" "\\1\n    " bytes "${bytes}")
  set(${out_var} "extern const unsigned char ${name}[] = {\n    ${bytes}\n};\nextern const size_t ${name}Size = ${size};\n" PARENT_SCOPE)
endfunction()

byte_array(kAboutPng ${ABOUT} about)
byte_array(kStationPng ${STATION} station)
file(WRITE ${OUT}.tmp "// Generated from the radio's pictures; do not edit.\n#include \"pictures.h\"\n\nnamespace radio {\n${about}${station}}  // namespace radio\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
