# The program's version: the project's own, and for a build of a commit that is not the version's
# tag "+N.gHASH", N the commits since the tag v<version> (or since the first commit while there is
# no such tag). A "+" and not a "-", so that Debian does not read the suffix as a package revision.
#
# Sets LOG2PLT_VERSION (the text) and LOG2PLT_VERSION_BUILD (N, the fourth number of the Windows
# version resources).

set(LOG2PLT_VERSION_BUILD 0)
set(hash "")

# A source archive has no .git: git archive fills in this file instead (export-subst).
file(READ ${PROJECT_SOURCE_DIR}/cmake/source_version.txt archived)
string(STRIP "${archived}" archived)
if(NOT archived MATCHES "^\\$Format")
  # "<full hash> v<version>-<N>-g<hash>", the description missing without a tag.
  string(REGEX MATCH "^([0-9a-f]+)" _ "${archived}")
  string(SUBSTRING "${CMAKE_MATCH_1}" 0 10 hash)
  if(archived MATCHES " v[^ ]*-([0-9]+)-g[0-9a-f]+$")
    set(LOG2PLT_VERSION_BUILD ${CMAKE_MATCH_1})
  endif()
else()
  find_package(Git QUIET)
  if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(
      COMMAND ${GIT_EXECUTABLE} describe --tags --long --abbrev=10 --match v${PROJECT_VERSION}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
    if(NOT failed AND described MATCHES "-([0-9]+)-g([0-9a-f]+)$")
      set(LOG2PLT_VERSION_BUILD ${CMAKE_MATCH_1})
      set(hash ${CMAKE_MATCH_2})
    else()
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE commits OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=10 HEAD
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE hash OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(commits MATCHES "^[0-9]+$" AND commits GREATER 0)
        math(EXPR LOG2PLT_VERSION_BUILD "${commits} - 1")
      endif()
    endif()
  endif()
endif()

set(LOG2PLT_VERSION ${PROJECT_VERSION})
if(LOG2PLT_VERSION_BUILD GREATER 0 AND hash)
  set(LOG2PLT_VERSION "${PROJECT_VERSION}+${LOG2PLT_VERSION_BUILD}.g${hash}")
endif()
message(STATUS "log2plt version ${LOG2PLT_VERSION}")

# The four numbers of the Windows resources and manifest.
set(LOG2PLT_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${LOG2PLT_VERSION_BUILD}")
string(REPLACE "." "," LOG2PLT_VERSION_COMMAS "${LOG2PLT_VERSION_NUMBERS}")

# Adds a version resource to the Windows executable `target`, described as `description`.
function(log2plt_version_resource target description)
  set(LOG2PLT_EXE_NAME ${target})
  set(LOG2PLT_EXE_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/templates/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# For the packaging script, which names the packages by the version.
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${LOG2PLT_VERSION}\n")
