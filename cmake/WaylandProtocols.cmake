# What the Linux saver's Wayland clients (the full-screen saver, the idle
# watcher) are built with: libwayland-client (PkgConfig::LUMARA_WAYLAND_CLIENT),
# the protocols' XML that wayland-protocols ships (LUMARA_WAYLAND_PROTOCOLS)
# and wayland-scanner, which writes their client code.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMARA_WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(LUMARA_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
pkg_get_variable(LUMARA_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT LUMARA_WAYLAND_PROTOCOLS OR NOT LUMARA_WAYLAND_SCANNER)
  message(FATAL_ERROR "The Wayland client code needs wayland-protocols and wayland-scanner (scripts/deps.sh)")
endif()

# Client code for the protocols in the XML files, generated into the
# target's build folder and compiled into it; its headers are for the
# target's own sources.
function(lumara_wayland_protocols target)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/protocols)
  file(MAKE_DIRECTORY ${generated})
  foreach(xml ${ARGN})
    get_filename_component(name ${xml} NAME_WE)
    add_custom_command(
      OUTPUT ${generated}/${name}-client-protocol.h ${generated}/${name}-protocol.c
      COMMAND ${LUMARA_WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}-client-protocol.h
      COMMAND ${LUMARA_WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}-protocol.c
      DEPENDS ${xml} VERBATIM)
    target_sources(${target} PRIVATE ${generated}/${name}-client-protocol.h ${generated}/${name}-protocol.c)
  endforeach()
  target_include_directories(${target} SYSTEM PRIVATE ${generated})
endfunction()

