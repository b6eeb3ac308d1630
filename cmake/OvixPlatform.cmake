# Compiler settings and the source-selection rule shared by every target.
#
# A file named *.Win.cpp is Windows-only, *.Posix.cpp is native-only; every
# other .cpp is portable and built in both trees.

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

# ccache, when the machine has it: paths are hashed relative to the source tree,
# so clones and worktrees of the project share their compiled objects.
find_program(OVIX_CCACHE ccache)
if(OVIX_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} ${OVIX_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} ${OVIX_CCACHE})
endif()

# The clang "fuzz" preset instruments every unit, not only the fuzz targets:
# coverage of the code under test guides libFuzzer, and the sanitizers check it.
option(OVIX_LIBFUZZER "Build the fuzz targets with clang's libFuzzer" OFF)
if(OVIX_LIBFUZZER)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          _WIN32_WINNT=0x0A00 WINVER=0x0A00
                          LZMA_API_STATIC ZIP_STATIC)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Each function and datum in a section of its own, so that the linker can drop
  # what no shipped program reaches (see ovix_release_executable).
  add_compile_options(-ffunction-sections -fdata-sections)
  find_program(OVIX_STRIP x86_64-w64-mingw32-strip REQUIRED)
  find_program(OVIX_WINE wine REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OVIX_WINE})
  set(OVIX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  # Tests never reach the host's menus, never prompt for add-ons, stay quiet.
  set(OVIX_WINE_ENV
      "WINEPREFIX=${OVIX_WINEPREFIX}"
      "WINEDEBUG=-all"
      "WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d")
endif()

function(ovix_select_sources out)
  set(files ${ARGN})
  if(WIN32)
    list(FILTER files EXCLUDE REGEX "\\.Posix\\.cpp$")
  else()
    list(FILTER files EXCLUDE REGEX "\\.Win\\.cpp$")
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Registers a ctest entry that runs a built program; under the Windows tree it
# runs through Wine in the build tree's own prefix (set up and shut down by the
# "wine" fixture below).
function(ovix_add_test_command name target)
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${OVIX_WINE_ENV}" FIXTURES_REQUIRED wine)
  endif()
endfunction()

if(WIN32)
  add_test(NAME wine.prefix_setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix init)
  add_test(NAME wine.prefix_shutdown COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix shutdown)
  set_tests_properties(wine.prefix_setup PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${OVIX_WINE_ENV}")
  set_tests_properties(wine.prefix_shutdown PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${OVIX_WINE_ENV}")
endif()

# A program that ships: unreached sections dropped and symbols stripped. The
# unstripped program stays in debug/ of the build tree, for debuggers.
function(ovix_release_executable target)
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debug
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${CMAKE_BINARY_DIR}/debug/
    COMMAND ${OVIX_STRIP} --strip-all $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
