# The build machine's own ipk5 and skinc for the Windows tree, built from a
# tools-only native tree of this project inside it: packing the release and
# compiling the skins need neither Wine nor a prior native build.
include(ExternalProject)
set(OVIX_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(OVIX_HOST_IPK5 ${OVIX_HOST_TOOLS_DIR}/bin/ipk5)
set(OVIX_HOST_SKINC ${OVIX_HOST_TOOLS_DIR}/bin/skinc)
ExternalProject_Add(ovix_host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${OVIX_HOST_TOOLS_DIR}
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DOVIX_HOST_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ipk5 skinc --parallel 2
  BUILD_BYPRODUCTS ${OVIX_HOST_IPK5} ${OVIX_HOST_SKINC}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  EXCLUDE_FROM_ALL ON)
