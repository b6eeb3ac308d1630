# liblzma, libzip and zlib: Debian's packages natively, the cross-built cache for win64.

if(WIN32)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/cross-deps-prefix
                  OUTPUT_VARIABLE OVIX_CROSS_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS ${OVIX_CROSS_PREFIX}/lib/liblzma.a OR NOT EXISTS ${OVIX_CROSS_PREFIX}/lib/libzip.a)
    message(FATAL_ERROR "win64 liblzma/libzip missing in ${OVIX_CROSS_PREFIX}: run scripts/setup")
  endif()
  add_library(ovix_lzma STATIC IMPORTED)
  set_target_properties(ovix_lzma PROPERTIES
    IMPORTED_LOCATION ${OVIX_CROSS_PREFIX}/lib/liblzma.a
    INTERFACE_INCLUDE_DIRECTORIES ${OVIX_CROSS_PREFIX}/include)
  add_library(ovix_zlib STATIC IMPORTED)
  set_target_properties(ovix_zlib PROPERTIES
    IMPORTED_LOCATION /usr/x86_64-w64-mingw32/lib/libz.a)
  add_library(ovix_zip STATIC IMPORTED)
  set_target_properties(ovix_zip PROPERTIES
    IMPORTED_LOCATION ${OVIX_CROSS_PREFIX}/lib/libzip.a
    INTERFACE_INCLUDE_DIRECTORIES ${OVIX_CROSS_PREFIX}/include
    INTERFACE_LINK_LIBRARIES "ovix_zlib;bcrypt;advapi32")
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LZMA REQUIRED IMPORTED_TARGET liblzma)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
  find_package(ZLIB REQUIRED)
  add_library(ovix_zlib ALIAS ZLIB::ZLIB)
  add_library(ovix_lzma ALIAS PkgConfig::LZMA)
  add_library(ovix_zip ALIAS PkgConfig::LIBZIP)
endif()
