# What the Debian package carries besides the programs (installed by their own
# folders): the man pages, the AppStream metainfo, and the CPack settings of
# the .deb (scripts/package.sh).
include(GNUInstallDirs)

set(KS318_MAN_PAGES ks318 ks318-cli ks318-sim fileconv)
set(KS318_MAN_OUTPUTS)
foreach(page ${KS318_MAN_PAGES})
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  # Compressed without a name or time stamp, so the package is reproducible.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    COMMAND gzip -9 -n -f -k ${page}.1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
    COMMENT "Compressing the man page of ${page}")
  list(APPEND KS318_MAN_OUTPUTS ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(ks318-man ALL DEPENDS ${KS318_MAN_OUTPUTS})
install(FILES ${KS318_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

configure_file(${PROJECT_SOURCE_DIR}/resources/org.ks318.analysis.metainfo.xml
  ${CMAKE_BINARY_DIR}/org.ks318.analysis.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.ks318.analysis.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ks318)
set(CPACK_PACKAGE_VENDOR "ks318")
set(CPACK_PACKAGE_CONTACT "ks318 maintainers <ks318@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "blood-pressure analysis for the KS-318P monitor")
set(CPACK_PACKAGE_DESCRIPTION
  "A desktop program (Japanese interface) for clinics that record blood pressure
with the KS-318P monitor: reads the recorder over a serial line, shows the
daytime and night-time statistics, the readings and the graphs, prints reports
and exports CSV. With ks318-cli (command line), ks318-sim (a recorder
simulator) and fileconv (legacy patient files).")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries from the binaries (dpkg-shlibdeps), and the fonts the windows
# and the printed reports draw their Japanese text with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
