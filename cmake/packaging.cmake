# What a release holds and how CPack packs it: on Windows a zip that runs wherever it is
# unpacked, on Linux a Debian package. ./dev package builds both and makes them reproducible.

set(LOG2PLT_MAINTAINER "log2plt authors <log2plt@example.org>")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${staged})

if(WIN32)
  # Beside the programs: the skins, the user's guide, the licence and the notices of the runtime
  # linked into the executables, all with CR LF line ends.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/Skins DESTINATION . PATTERN README.md EXCLUDE)
  set(notices
    README.txt ${packaging}/README.txt
    LICENSE.txt ${PROJECT_SOURCE_DIR}/LICENSE
    NOTICE-mingw-w64-runtime.txt /usr/share/doc/mingw-w64-x86-64-dev/copyright
    NOTICE-gcc-runtime.txt /usr/share/doc/gcc-mingw-w64-base/copyright)
  while(notices)
    list(POP_FRONT notices name source)
    if(EXISTS ${source})
      file(READ ${source} text)
      string(REPLACE "\r\n" "\n" text "${text}")
      string(REPLACE "\n" "\r\n" text "${text}")
      file(WRITE ${staged}/${name} "${text}")
      install(FILES ${staged}/${name} DESTINATION .)
    endif()
  endwhile()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME log2plt-${LOG2PLT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  include(GNUInstallDirs)
  # Manual pages and the changelog compressed as Debian wants them: gzip -9n, no name or time.
  find_program(GZIP gzip REQUIRED)
  set(LOG2PLT_CHANGELOG_DATE "")
  string(TIMESTAMP LOG2PLT_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${packaging}/debian/changelog.in ${staged}/changelog @ONLY)
  set(compressed)
  foreach(page log2plt.1 log2plt-gui.1)
    add_custom_command(OUTPUT ${staged}/${page}.gz
      COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${staged}/${page}.gz
      DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page})
    list(APPEND compressed ${staged}/${page}.gz)
    install(FILES ${staged}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  add_custom_command(OUTPUT ${staged}/changelog.gz
    COMMAND ${GZIP} -9n -c ${staged}/changelog > ${staged}/changelog.gz
    DEPENDS ${staged}/changelog)
  add_custom_target(log2plt_package_docs ALL DEPENDS ${compressed} ${staged}/changelog.gz)
  install(FILES ${staged}/changelog.gz ${packaging}/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${packaging}/bash-completion/log2plt
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME log2plt_${LOG2PLT_VERSION}_amd64.deb)
  set(CPACK_DEBIAN_PACKAGE_VERSION ${LOG2PLT_VERSION})
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LOG2PLT_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs link, worked out from the binaries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

set(CPACK_PACKAGE_NAME log2plt)
set(CPACK_PACKAGE_VENDOR "the log2plt authors")
set(CPACK_PACKAGE_VERSION ${LOG2PLT_VERSION})
set(CPACK_PACKAGE_CONTACT "${LOG2PLT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert GPS track logs to OziExplorer track files")
set(CPACK_PACKAGE_DESCRIPTION
  "log2plt converts a GPS track log (*.log) into an OziExplorer 2.1 track\n\
file (*.plt), exact to the byte and in bounded memory however large the log.\n\
It comes as a desktop program, log2plt-gui, and as a command-line\n\
converter, log2plt, for scripts and batches.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
set(CPACK_THREADS 1)
set(CPACK_STRIP_FILES ON)
include(CPack)
