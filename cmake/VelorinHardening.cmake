# Hardening of the Linux programs in optimised builds (Release, the default,
# and RelWithDebInfo), so that the .deb packages get what Debian's own
# packages get: fortified string and memory calls, the strong stack
# protector, read-only relocations bound at start-up, position-independent
# programs. The flags come from dpkg-buildflags where it exists (with every
# hardening feature on); elsewhere the same flags are set directly. Only the
# hardening flags are taken: the build type keeps its own optimisation and
# debugging flags. Sanitizer and fuzz builds go without: they check the
# program in their own way.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR VELORIN_SANITIZE OR VELORIN_FUZZ)
  return()
endif()

find_program(VELORIN_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(VELORIN_DPKG_BUILDFLAGS)

# velorin_hardening_flags(KIND OUT): the hardening flags of KIND (CPPFLAGS,
# CXXFLAGS or LDFLAGS) as a list.
function(velorin_hardening_flags kind out)
  set(flags)
  if(VELORIN_DPKG_BUILDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${VELORIN_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      set(flags)
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # -g, -O2 and the file-prefix map belong to the build type, not hardening.
    list(FILTER flags EXCLUDE REGEX "^(-g|-O.*|-ffile-prefix-map=.*|-fdebug-prefix-map=.*)$")
  endif()
  if(NOT flags)
    set(flags_CPPFLAGS -D_FORTIFY_SOURCE=2)
    set(flags_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security -fPIE)
    set(flags_LDFLAGS -Wl,-z,relro -Wl,-z,now -pie)
    set(flags ${flags_${kind}})
  endif()
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

velorin_hardening_flags(CPPFLAGS velorin_cppflags)
velorin_hardening_flags(CXXFLAGS velorin_cxxflags)
velorin_hardening_flags(LDFLAGS velorin_ldflags)
set(velorin_optimised "$<CONFIG:Release,RelWithDebInfo>")
add_compile_options("$<${velorin_optimised}:${velorin_cppflags};${velorin_cxxflags}>")
add_link_options("$<${velorin_optimised}:${velorin_ldflags}>")
string(JOIN " " velorin_shown ${velorin_cppflags} ${velorin_cxxflags} ${velorin_ldflags})
message(STATUS "Hardening (Release, RelWithDebInfo): ${velorin_shown}")
