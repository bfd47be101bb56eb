# Writes a C++ source that holds a file's bytes, for resources compiled into
# an executable:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=g_name -P EmbedFile.cmake
# defines `const unsigned char g_name[]` and `const size_t g_nameSize`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
    "// Generated from ${INPUT}; do not edit.\n"
    "#include <stddef.h>\n\n"
    "extern const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\n"
    "extern const size_t ${SYMBOL}Size = ${size};\n")
