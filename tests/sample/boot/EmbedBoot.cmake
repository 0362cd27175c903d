# Writes the assembled boot program as C++ arrays: the code (placed at the
# image's first byte, $80:8000) and the 32 bytes of vectors (placed right
# after the internal header).
#   cmake -DCODE=... -DVECTORS=... -DOUTPUT=... -P EmbedBoot.cmake
function(bytes_of file variable count)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR length "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," list "${hex}")
  set(${variable} "${list}" PARENT_SCOPE)
  set(${count} ${length} PARENT_SCOPE)
endfunction()
bytes_of("${CODE}" code codeLength)
bytes_of("${VECTORS}" vectors vectorsLength)
if(NOT vectorsLength EQUAL 32)
  message(FATAL_ERROR "the boot program's vectors are ${vectorsLength} bytes, not 32")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from tests/sample/boot/boot.s by ca65 and ld65: do not edit.
#include \"tests/sample/BootProgram.h\"

const uint8_t BOOT_CODE[] = {${code}};
const size_t BOOT_CODE_SIZE = ${codeLength};
const uint8_t BOOT_VECTORS[32] = {${vectors}};
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
