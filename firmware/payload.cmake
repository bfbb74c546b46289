# Embeds the firmware payload in the program as the constant FirmwareImage
# record. Included from the top CMakeLists.txt, it checks the payload and sets
# up the rule that writes the record's source file; that rule runs this same
# file again as a script (cmake -P), so the check also covers a payload that
# changed after configuring, and nothing beyond cmake is needed.

# Version byte of the carried image: 1.2.
set(image_version 0x12)

# The scanner is told the image size as a 16-bit count of byte pairs.
function(tarnwick_check_payload path)
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    message(FATAL_ERROR "Firmware payload '${path}' is not a file.")
  endif()
  file(SIZE "${path}" size)
  math(EXPR odd "${size} % 2")
  if(size EQUAL 0)
    message(FATAL_ERROR "Firmware payload '${path}' is empty.")
  elseif(size GREATER 65534)
    message(FATAL_ERROR
      "Firmware payload '${path}' is ${size} bytes; the image holds at most 65534.")
  elseif(odd)
    message(FATAL_ERROR
      "Firmware payload '${path}' is ${size} bytes, an odd number; "
      "the scanner takes the image as byte pairs.")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DPAYLOAD=<file> -DOUTPUT=<source> -P payload.cmake
  tarnwick_check_payload("${PAYLOAD}")
  file(READ "${PAYLOAD}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  math(EXPR low "${size} & 0xFF" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR high "${size} >> 8" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " bytes "${hex}")
  string(REPEAT "0x.., " 12 line)
  string(REGEX REPLACE "(${line})" "\\1\n  " bytes "${bytes}")
  string(REPLACE " \n" "\n" bytes "${bytes}")
  get_filename_component(name "${PAYLOAD}" NAME)
  file(WRITE "${OUTPUT}"
    "// Written at build time from ${name} by firmware/payload.cmake; do not edit.\n"
    "#include \"firmware/firmware_image.h\"\n\n"
    "const uint8_t FirmwareImage[4 + ${size}] = {\n"
    "  // version, reserved, length\n"
    "  ${image_version}, 0x00, ${low}, ${high},\n"
    "  // payload\n"
    "  ${bytes}\n"
    "};\n")
  return()
endif()

set(TARNWICK_STANDIN_PAYLOAD "${CMAKE_CURRENT_LIST_DIR}/payload/standin.bin")
set(TARNWICK_FIRMWARE_PAYLOAD "${TARNWICK_STANDIN_PAYLOAD}" CACHE FILEPATH
  "The DSP firmware payload that the program carries and uploads")
get_filename_component(TARNWICK_PAYLOAD_FILE "${TARNWICK_FIRMWARE_PAYLOAD}" ABSOLUTE)
tarnwick_check_payload("${TARNWICK_PAYLOAD_FILE}")
if(TARNWICK_PAYLOAD_FILE STREQUAL TARNWICK_STANDIN_PAYLOAD)
  message(WARNING
    "Building with the stand-in payload (firmware/payload/standin.bin), a test pattern "
    "and no DSP firmware: do not upload it to a scanner. Set TARNWICK_FIRMWARE_PAYLOAD "
    "to the firmware file for a release.")
endif()

set(image_source "${CMAKE_BINARY_DIR}/firmware/firmware_image_record.cpp")
add_custom_command(
  OUTPUT "${image_source}"
  COMMAND "${CMAKE_COMMAND}" "-DPAYLOAD=${TARNWICK_PAYLOAD_FILE}" "-DOUTPUT=${image_source}"
          -P "${CMAKE_CURRENT_LIST_FILE}"
  DEPENDS "${TARNWICK_PAYLOAD_FILE}" "${CMAKE_CURRENT_LIST_FILE}"
  COMMENT "Embedding the firmware payload ${TARNWICK_PAYLOAD_FILE}"
  VERBATIM)
target_sources(tarnwick_core PRIVATE "${image_source}")
