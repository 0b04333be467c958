# Writes KemptorVersion.h: the project's version and, in a git checkout, the commit it was built from
# ("3.0.0 (commit 1a2b3c4d5e6f)", "-dirty" when tracked files differ from it). Runs at every build; the
# header is replaced only when its text changes, so an unchanged tree recompiles nothing.
# Arguments: -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=...
set(text "${VERSION}")
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed AND commit)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes ERROR_QUIET)
    if(changes)
      string(APPEND commit "-dirty")
    endif()
    set(text "${VERSION} (commit ${commit})")
  endif()
endif()
file(WRITE "${OUTPUT}.new" "// Generated at build time by cmake/WriteVersionHeader.cmake.\n#pragma once\n#define KEMPTOR_VERSION \"${VERSION}\"\n#define KEMPTOR_VERSION_TEXT \"${text}\"\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
