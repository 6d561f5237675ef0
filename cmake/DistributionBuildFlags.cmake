# The Linux build, and so the Debian package made from it, takes the distribution's compiler and
# linker flags as dpkg-buildflags gives them, with every hardening feature: fortified functions,
# the stack protector, read-only relocations bound at start-up, position-independent code.
# Debian's path mapping for reproducible builds is left out: it would make debuggers miss the
# sources and the compiler cache miss between work trees.
option(TRELIK_DISTRIBUTION_FLAGS "Build with the flags and hardening that dpkg-buildflags gives" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TRELIK_DISTRIBUTION_FLAGS OR NOT DPKG_BUILDFLAGS)
  return()
endif()

foreach(kind CPPFLAGS CXXFLAGS CFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
            "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
            ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE ${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${CPPFLAGS} ${CXXFLAGS}")
string(APPEND CMAKE_C_FLAGS " ${CPPFLAGS} ${CFLAGS}")
foreach(kind EXE SHARED MODULE)
  string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${LDFLAGS}")
endforeach()
message(STATUS "Distribution flags: ${CPPFLAGS} ${CXXFLAGS} ${LDFLAGS}")
