# SPDX-License-Identifier: MIT
# Built-in art. A generator program (resources/artgen, standard C++ only) is
# built for the build machine and run into ${CMAKE_BINARY_DIR}/art. It writes
# every picture, icon, cursor and the tune, the scrambled "RCAD" entries, an
# assembler file that pulls the bytes in with .incbin, the C++ lookup table and
# a contact sheet of everything (art/contact-sheet.png) for a person to look at,
# and the program's icon for the desktop's icon theme (art/icons/hicolor/).
# The result is the Qt-free static library plovi_art.

set(PLOVI_ART_DIR ${CMAKE_BINARY_DIR}/art)
file(GLOB PLOVI_ARTGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/artgen/*.cpp)

add_executable(plovi_artgen ${PLOVI_ARTGEN_SOURCES})
target_include_directories(plovi_artgen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/.. ${CMAKE_CURRENT_LIST_DIR}/artgen)
# The generator only runs at build time: always optimised (painting takes a few
# seconds otherwise), never instrumented, whatever the project's options are.
set_property(TARGET plovi_artgen PROPERTY COMPILE_OPTIONS -O2 -Wall -Wextra)
set_property(TARGET plovi_artgen PROPERTY LINK_OPTIONS "")

set(PLOVI_ART_OUTPUTS
  ${PLOVI_ART_DIR}/ArtData.S
  ${PLOVI_ART_DIR}/ArtTable.cpp
  ${PLOVI_ART_DIR}/contact-sheet.png
  ${PLOVI_ART_DIR}/icons/hicolor/256x256/apps/plovi.png)
add_custom_command(
  OUTPUT ${PLOVI_ART_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PLOVI_ART_DIR}
  COMMAND plovi_artgen ${PLOVI_ART_DIR}
  DEPENDS plovi_artgen
  COMMENT "Generating the built-in art into ${PLOVI_ART_DIR}"
  VERBATIM)

enable_language(ASM)
add_library(plovi_art STATIC
  ${CMAKE_CURRENT_LIST_DIR}/BuiltinArt.cpp
  ${PLOVI_ART_DIR}/ArtTable.cpp
  ${PLOVI_ART_DIR}/ArtData.S)
target_include_directories(plovi_art PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
