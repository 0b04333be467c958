# Sources are collected per subsystem folder so that a new file needs no edit of a shared list.
# kemptor_core takes every src/<subsystem>/*.cpp except the front ends (app, cli), the language server
# (lsp, a library of its own over the core) and the ui/ folders;
# kemptor_ui takes every src/<subsystem>/ui/*.cpp. The platform layer adds the files of the system the
# build is for: src/platform/win/ for Windows, src/platform/posix/ for everything else; the speller takes
# its engine from src/spell/hunspell/, or src/spell/none/ on Windows.
function(kemptor_collect_core_sources out)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/src/(app|cli|lsp)/")
  if(WIN32)
    file(GLOB system_srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win/*.cpp
         ${PROJECT_SOURCE_DIR}/src/spell/none/*.cpp)
  else()
    file(GLOB system_srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/posix/*.cpp
         ${PROJECT_SOURCE_DIR}/src/spell/hunspell/*.cpp)
  endif()
  list(APPEND srcs ${system_srcs})
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

function(kemptor_collect_ui_sources out)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/ui/*.cpp ${PROJECT_SOURCE_DIR}/src/*/ui/*.h)
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
