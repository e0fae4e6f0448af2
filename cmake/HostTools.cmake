# The build-time generators (the built-in music, the preview picture, the
# string-table resource, the help's pictures drawn by lumara-render) must run
# on the build machine. A cross build makes
# them with the build machine's own compiler, from this same source tree,
# as a nested native build under host-tools/; a folder of generators built
# beforehand can be given instead:
#   -DLUMARA_HOST_TOOLS=<native build>/tools
# (the folder holding music-gen/, preview-gen/, resource-rc/ and
# lumara-render/). Either way the generators are imported programs, which
# custom commands name like any other program; naming one under DEPENDS makes
# the nested build run first. A generator whose name the cross build already
# uses for its own program (lumara-render) is imported as host-<name>.
set(LUMARA_HOST_TOOLS "" CACHE PATH "Native build's tools folder with the generators (empty: build them here)")

set(_host_tools_names music-gen preview-gen resource-rc lumara-render)
if(LUMARA_HOST_TOOLS)
  set(_host_tools_dir ${LUMARA_HOST_TOOLS})
else()
  include(ExternalProject)
  set(_host_build ${CMAKE_BINARY_DIR}/host-tools)
  set(_host_tools_dir ${_host_build}/tools)
  set(_byproducts)
  foreach(name IN LISTS _host_tools_names)
    list(APPEND _byproducts ${_host_tools_dir}/${name}/${name})
  endforeach()
  ExternalProject_Add(host-tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${_host_build}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DLUMARA_BUILD_TESTS=OFF -DLUMARA_BUILD_BENCH=OFF -DLUMARA_BUILD_HELP=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${_host_build} --target ${_host_tools_names}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_byproducts})
endif()

foreach(name IN LISTS _host_tools_names)
  set(imported ${name})
  if(TARGET ${name})
    set(imported host-${name})
  endif()
  add_executable(${imported} IMPORTED GLOBAL)
  set_target_properties(${imported} PROPERTIES IMPORTED_LOCATION ${_host_tools_dir}/${name}/${name})
endforeach()
