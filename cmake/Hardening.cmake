# The hardening Debian builds its packages with, as dpkg-buildflags gives it (hardening=+all: stack
# protector, fortified libc calls, read-only relocations bound at start, and whatever else the
# distribution's version adds), for every build but the sanitizer and fuzzer ones, so the package is
# made from the build the tests have run. Where dpkg-buildflags is missing, nothing is added.
option(KESTRANO_HARDENING "Build with the distribution's hardening flags (dpkg-buildflags)" ON)
find_program(KESTRANO_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT KESTRANO_HARDENING OR NOT KESTRANO_DPKG_BUILDFLAGS OR KESTRANO_SANITIZE OR KESTRANO_BUILD_FUZZ)
  return()
endif()

# dpkg-buildflags <KIND> as a list, without what the build type chooses (optimisation, debug
# information) and without the reproducible-build path maps: the package is stripped, so they would
# only hide the real source paths from debuggers and keep worktrees from sharing the compiler cache.
function(kestrano_buildflags kind result)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
      ${KESTRANO_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O|g)")
  set(${result} ${flags} PARENT_SCOPE)
endfunction()

kestrano_buildflags(CPPFLAGS cppflags)
kestrano_buildflags(CFLAGS cflags)
kestrano_buildflags(CXXFLAGS cxxflags)
kestrano_buildflags(LDFLAGS ldflags)
list(JOIN cppflags " " shown)
list(JOIN cxxflags " " compiled)
list(JOIN ldflags " " linked)
message(STATUS "Hardening flags of dpkg-buildflags: ${shown} ${compiled} ${linked}")
# Fortification needs an optimised build; glibc warns about it in a Debug one.
list(TRANSFORM cppflags REPLACE "^(-D_FORTIFY_SOURCE.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
add_compile_options(${cppflags} "$<$<COMPILE_LANGUAGE:C>:${cflags}>" "$<$<COMPILE_LANGUAGE:CXX>:${cxxflags}>")
add_link_options(${ldflags})
