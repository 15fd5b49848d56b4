# Warnings. Every target gets -Wall -Wextra (the top-level CMakeLists.txt);
# the engine, startup/ and velorin-cli get the stricter set below as well.
# VELORIN_WERROR turns every warning into an error: CI builds with it, so a
# warning fails the build of the change that made it. Third-party code built
# along (GoogleTest in the Windows build) is compiled with -w and never fails.
option(VELORIN_WERROR "Treat compiler warnings as errors" OFF)
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
