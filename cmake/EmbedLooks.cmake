# Writes OUTPUT, a C++ source holding the text of every LOOKS_DIR/*.json as a look named after
# its file (see src/standalone/document/Looks.h). Run at build time, so the files stay the one
# place a look is written.
file(GLOB files "${LOOKS_DIR}/*.json")
list(SORT files)
set(entries "")
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME_WE)
  file(READ "${file}" text)
  string(FIND "${text}" ")look\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file}: holds the text )look\", which ends the embedded string early")
  endif()
  string(APPEND entries "    {\"${name}\", R\"look(${text})look\"},\n")
endforeach()
if(entries STREQUAL "")
  message(FATAL_ERROR "${LOOKS_DIR}: no looks (*.json) to embed")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from looks/*.json by cmake/EmbedLooks.cmake at build time; edit the files instead.
#include \"standalone/document/Looks.h\"

namespace standalone::document {

namespace {

constexpr LookFile kLookFiles[] = {
${entries}};

}  // namespace

std::span<const LookFile> lookFiles() { return kLookFiles; }

}  // namespace standalone::document
")
# Unchanged text keeps the object file.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
