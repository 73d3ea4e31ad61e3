# How the game's folders are built into libraries, and what keeps the layers honest.
#
# Every folder includes the others' headers as "folder/Name.h". A library makes the headers of
# its own folder includable that way, to itself and to whatever links it, and to nothing else:
# each has an include root of its own in the build tree, holding links to its folder's headers
# only. A folder that includes a header of a library it does not link fails to build.

# The compiler warnings every target of ours is built with.
add_library(korimo_warnings INTERFACE)
target_compile_options(korimo_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)

# korimo_headers(target): the headers of the current source folder, for target and its users.
function(korimo_headers target)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# korimo_library(name source... [LINK target...]): a static library of the current folder's
# sources, offering its headers and linking what it uses.
function(korimo_library name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  korimo_headers(${name})
  target_link_libraries(${name} PUBLIC ${ARG_LINK} PRIVATE korimo_warnings)
endfunction()

# korimo_folder_headers(target): an interface target that makes every header under the current
# source folder includable as "<folder>/...", for the tests' and benchmarks' own helpers.
function(korimo_folder_headers target)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE ${root})
endfunction()

# korimo_host_headers(target name...): header-only libraries Debian installs for the build
# machine (/usr/include/<name>), offered to a cross-built target without the rest of
# /usr/include, whose C library is the build machine's and not the target's.
function(korimo_host_headers target)
  set(root ${CMAKE_BINARY_DIR}/host-include/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(name IN LISTS ARGN)
    if(NOT EXISTS /usr/include/${name})
      message(FATAL_ERROR "/usr/include/${name} is missing: its Debian package is not installed")
    endif()
    file(CREATE_LINK /usr/include/${name} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()
