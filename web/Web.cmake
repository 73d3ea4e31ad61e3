# The web page: the game's own libraries over the browser backend, linked into korimo.js and
# korimo.wasm, with the page's own files beside them. The archive pair is the desktop build's
# (KORIMO_ARCHIVE_DIR); the Makefile's `web` target builds that first.
set(KORIMO_ARCHIVE_DIR "" CACHE PATH "The folder holding korimo.set and korimo.dat")
set(KORIMO_PAGE_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "The folder the page is served from")

# WebAssembly SIMD carries the SSE2 drawing paths, and bulk memory makes a large memcpy one
# instruction instead of a call out to JavaScript (every browser of the last years has both).
add_compile_options(-msimd128 -msse2 -mbulk-memory)
add_link_options(-mbulk-memory)

add_subdirectory(${CMAKE_SOURCE_DIR}/platform ${CMAKE_BINARY_DIR}/platform)
add_subdirectory(${CMAKE_SOURCE_DIR}/app ${CMAKE_BINARY_DIR}/app)

add_executable(korimo ${CMAKE_SOURCE_DIR}/app/main_web.cpp ${CMAKE_SOURCE_DIR}/app/VerifyReplay.cpp)
# ?verify= plays a replay unseen on the scripted platform, as the desktop's --verify does.
target_link_libraries(korimo PRIVATE korimo_app korimo_platform_web korimo_platform_scripted
  korimo_allocator)
set_target_properties(korimo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORIMO_PAGE_DIR} SUFFIX .js)
target_link_options(korimo PRIVATE
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web
  # The page starts main itself, once the clips are decoded (web/page.js).
  -sINVOKE_RUN=0
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=callMain,FS,addRunDependency,removeRunDependency
  -lidbfs.js
  --closure 0)

# The page's own files, the decoder and the archive pair, beside the program, on every build.
add_custom_target(korimo_page ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/page.js
          ${CMAKE_SOURCE_DIR}/web/clips.js
          ${CMAKE_SOURCE_DIR}/web/node_modules/mpg123-decoder/dist/mpg123-decoder.min.js
          ${KORIMO_ARCHIVE_DIR}/korimo.set ${KORIMO_ARCHIVE_DIR}/korimo.dat ${KORIMO_PAGE_DIR}
  DEPENDS korimo)
