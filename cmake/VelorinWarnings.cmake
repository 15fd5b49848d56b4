# Warnings. Every target gets -Wall -Wextra (the top-level CMakeLists.txt);
# the engine, startup/ and velorin-cli get the stricter set below as well.
# VELORIN_WERROR turns every warning into an error: CI builds with it, so a
# warning fails the build of the change that made it. Third-party code built
# along (GoogleTest in the Windows build) is compiled with -w and never fails.
# The environment may set the default, so that CI can run the README's own
# build command unchanged with warnings as errors.
set(_velorin_werror_default OFF)
if("$ENV{VELORIN_WERROR}")
  set(_velorin_werror_default ON)
endif()
option(VELORIN_WERROR "Treat compiler warnings as errors" ${_velorin_werror_default})
if(VELORIN_WERROR)
  add_compile_options(-Werror)
endif()

# velorin_strict_warnings(TARGET...): shadowed names, implicit narrowing or
# sign changes of arithmetic values, and anything beyond standard C++. GCC
# and Clang (MinGW-w64 included) know all three; the tests and the window
# keep -Wall -Wextra alone.
function(velorin_strict_warnings)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE -Wshadow -Wconversion -Wpedantic)
  endforeach()
endfunction()
