# Turns cp932.table into the codec's two sorted tables, as C++, with nothing but CMake, so that
# every build (Emscripten's too) reads the same data.
# Usage: cmake -DTABLE=cp932.table -DOUTPUT=cp932_table.cpp -P cp932_table.cmake

file(STRINGS "${TABLE}" lines REGEX "^[^#]")
# A lead byte is never below 0x80, so two bytes never read as a single byte's number.
set(hex "[0-9A-F]")
set(line_form "^(${hex}${hex}|[89A-F]${hex}${hex}${hex}) [=<>] ${hex}${hex}${hex}${hex}$")
set(malformed ${lines})
list(FILTER malformed EXCLUDE REGEX "${line_form}")
if(malformed)
  list(GET malformed 0 first)
  message(FATAL_ERROR "${TABLE}: a line that is no mapping: \"${first}\"")
endif()
# Four hex digits everywhere, so that sorting the text sorts the numbers.
list(TRANSFORM lines REPLACE "^([0-9A-F][0-9A-F]) " "00\\1 ")

# Each entry as "FROM:TO", sorted by FROM; a FROM given twice would make the lookup guess.
function(sorted_entries name ways from to)
  set(entries ${lines})
  list(FILTER entries INCLUDE REGEX "^.... [${ways}] ....$")
  list(TRANSFORM entries REPLACE "^(....) . (....)$" "${from}:${to}")
  list(SORT entries)
  set(keys ${entries})
  list(TRANSFORM keys REPLACE ":.*" "")
  list(REMOVE_DUPLICATES keys)
  list(LENGTH keys key_count)
  list(LENGTH entries entry_count)
  if(NOT key_count EQUAL entry_count)
    message(FATAL_ERROR "${TABLE}: one character mapped two ways in the ${name} table")
  endif()
  list(TRANSFORM entries REPLACE "^(....):(....)$" "    {0x\\1, 0x\\2},")
  list(JOIN entries "\n" text)
  set(${name} "${text}" PARENT_SCOPE)
endfunction()

sorted_entries(reading "=>" "\\1" "\\2")
sorted_entries(writing "=<" "\\2" "\\1")

cmake_path(GET TABLE FILENAME table_name)
file(WRITE "${OUTPUT}.new" "// Made from ${table_name} by cp932_table.cmake; do not edit.
#include \"ranking/cp932_table.h\"

namespace pirune::cp932 {

namespace {

constexpr Mapping kReading[] = {
${reading}
};

constexpr Mapping kWriting[] = {
${writing}
};

}  // namespace

std::span<const Mapping> readingTable() { return kReading; }

std::span<const Mapping> writingTable() { return kWriting; }

}  // namespace pirune::cp932
")
# The same tables leave the source untouched, so that configuring again compiles nothing.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
