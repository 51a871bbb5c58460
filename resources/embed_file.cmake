# cmake -DINPUT=file -DOUTPUT=source.cpp -DNAME=kName -DHEADER=declaration.h -P embed_file.cmake
# Writes a C++ source that holds the input file's bytes.
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
       bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.
#include \"${HEADER}\"

namespace wertomat::resources {
namespace {
const std::uint8_t kBytes[${size}] = {
    ${bytes}
};
}  // namespace
const std::span<const std::uint8_t> ${NAME}{kBytes};
}  // namespace wertomat::resources
")
