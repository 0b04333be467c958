# Third-party pieces of the Windows build, taken from the host's Debian packages and built with the
# cross compiler inside the build tree (nothing is downloaded): CLI11 and nlohmann-json, which are
# header-only, and
# GoogleTest from its source package. The host's /usr/include must never reach the cross compiler's
# include path (its C library headers are not Windows'), so their headers are copied on their own.
set(KEMPTOR_CROSS_INCLUDE ${CMAKE_BINARY_DIR}/cross-include)
file(COPY /usr/include/CLI DESTINATION ${KEMPTOR_CROSS_INCLUDE})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${KEMPTOR_CROSS_INCLUDE})
file(COPY /usr/include/nlohmann DESTINATION ${KEMPTOR_CROSS_INCLUDE})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${KEMPTOR_CROSS_INCLUDE})

if(KEMPTOR_BUILD_TESTS)
  set(KEMPTOR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  if(NOT EXISTS ${KEMPTOR_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${KEMPTOR_GOOGLETEST_SOURCE}: install the googletest package")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KEMPTOR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()

# The same optimisation as the Linux build (-O2), and a program without symbols.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-s")

# The Windows programs are the command line and its tests; the Qt front end is built for Linux only.
set(KEMPTOR_BUILD_UI OFF CACHE BOOL "Build the Qt front end" FORCE)

# A Linux path as the Windows programs see it under Wine, whose drive Z: is the Linux root. The
# separators stay "/", which Windows accepts too, so the path can sit in a C string literal.
function(kemptor_wine_path out path)
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
