# Writes the bytes of a file into a C++ source as an array and its size, so that the program
# carries the file in itself:
#   cmake -DINPUT=picture.png -DOUTPUT=picture.cpp -DNAME=picturePng -P tools/embed.cmake
# defines `const unsigned char picturePng[]` and `const std::size_t picturePngSize`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
     "// Made from ${INPUT} by tools/embed.cmake at build time.\n"
     "#include <cstddef>\n\n"
     "extern const unsigned char ${NAME}[] = {\n${bytes}};\n"
     "extern const std::size_t ${NAME}Size = ${size};\n")
