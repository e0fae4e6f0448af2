# Debian's hardening flags, as dpkg-buildflags gives them with every
# hardening feature on (fortified libc calls, stack protection, a read-only
# GOT bound at start-up), for the native Linux programs a Debian package
# carries. Only the hardening part is taken: optimisation and debug
# information stay the build type's. Left out where the flags do not fit:
# builds without optimisation (fortification needs it), the sanitizer and
# fuzz builds, cross builds, and machines without dpkg-buildflags.
option(LUMARA_HARDENING "Build with dpkg-buildflags' hardening flags where they apply" ON)

find_program(LUMARA_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT LUMARA_HARDENING OR NOT LUMARA_DPKG_BUILDFLAGS OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
   OR CMAKE_CROSSCOMPILING OR LUMARA_SANITIZE OR LUMARA_BUILD_FUZZ
   OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  return()
endif()

function(lumara_hardening_flags name out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${LUMARA_DPKG_BUILDFLAGS} --get ${name}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^(-g.*|-O.*|-ffile-prefix-map=.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

lumara_hardening_flags(CPPFLAGS _cpp)
lumara_hardening_flags(CXXFLAGS _cxx)
lumara_hardening_flags(CFLAGS _c)
lumara_hardening_flags(LDFLAGS _ld)
add_compile_options(${_cpp} "$<$<COMPILE_LANGUAGE:CXX>:${_cxx}>" "$<$<COMPILE_LANGUAGE:C>:${_c}>")
add_link_options(${_ld})
message(STATUS "Hardening flags from dpkg-buildflags: ${_cpp} ${_cxx} ${_ld}")
