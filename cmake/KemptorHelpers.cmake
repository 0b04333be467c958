# Sources are collected per subsystem folder so that a new file needs no edit of a shared list.
# kemptor_core takes every src/<subsystem>/*.cpp except the front ends (app, cli) and the ui/ folders;
# kemptor_ui takes every src/<subsystem>/ui/*.cpp.
function(kemptor_collect_core_sources out)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/src/(app|cli)/")
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

function(kemptor_collect_ui_sources out)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/ui/*.cpp ${PROJECT_SOURCE_DIR}/src/*/ui/*.h)
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
