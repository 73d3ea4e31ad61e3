# Turns the font's text grids into a C++ table of glyph rows, one byte per row with the leftmost
# pixel in the high bit. Run as: cmake -DINPUT=ascii.txt -DOUTPUT=FontGlyphs.cpp -P FontSource.cmake
# A malformed grid stops the build with the line that is wrong, so a bad edit never ships.

set(first_code 32)
set(glyph_count 96)

file(READ ${INPUT} text)
get_filename_component(input_name ${INPUT} NAME)
# CMake lists split on ';' and treat brackets and backslashes specially. Only the glyph rows
# and the codes matter here, so those characters are blanked before splitting into lines.
string(REGEX REPLACE "[][;\\\\\r]" "?" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(table "")
set(expected ${first_code})
set(rows_left 0)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  if(rows_left GREATER 0)
    if(NOT line MATCHES "^[#.][#.][#.][#.][#.][#.][#.][#.]$")
      message(FATAL_ERROR
              "${input_name}:${line_number}: a glyph row is 8 of '#' or '.', not '${line}'")
    endif()
    set(value 0)
    foreach(bit RANGE 0 7)
      string(SUBSTRING "${line}" ${bit} 1 pixel)
      if(pixel STREQUAL "#")
        math(EXPR value "${value} | (128 >> ${bit})")
      endif()
    endforeach()
    math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
    if(rows_left LESS 16)
      string(APPEND table ", ")
    endif()
    string(APPEND table "${hex}")
    math(EXPR rows_left "${rows_left} - 1")
    if(rows_left EQUAL 0)
      string(APPEND table "},  // ${glyph_code}\n")
    endif()
  elseif(line MATCHES "^glyph 0x([0-9A-Fa-f][0-9A-Fa-f])")
    set(glyph_code "0x${CMAKE_MATCH_1}")
    math(EXPR code "${glyph_code}")
    if(NOT code EQUAL expected)
      math(EXPR want "${expected}" OUTPUT_FORMAT HEXADECIMAL)
      message(FATAL_ERROR "${input_name}:${line_number}: expected the glyph for ${want} here")
    endif()
    math(EXPR expected "${expected} + 1")
    set(rows_left 16)
    string(APPEND table "    {")
  elseif(NOT line STREQUAL "" AND NOT line MATCHES "^//")
    message(FATAL_ERROR
            "${input_name}:${line_number}: expected 'glyph 0xNN' or a comment, not '${line}'")
  endif()
endforeach()

math(EXPR drawn "${expected} - ${first_code}")
if(rows_left GREATER 0 OR NOT drawn EQUAL glyph_count)
  message(FATAL_ERROR
          "${input_name}: ${drawn} glyphs found, ${glyph_count} complete ones expected")
endif()

file(WRITE ${OUTPUT}.tmp "// Generated from assets/font/${input_name} by platform/FontSource.cmake:
// edit the grids there.

#include \"platform/FontGlyphs.h\"

const uint8_t kFontGlyphs[kGlyphCount][kGlyphHeight] = {
${table}};
")
# Only a changed table touches the output, so an unchanged font rebuilds nothing.
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
