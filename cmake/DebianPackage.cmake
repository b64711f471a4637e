# `make deb`: a Debian package made by CPack from the install rules, with the Qt 5 runtime
# packages of Debian as its dependencies (the libraries through dpkg-shlibdeps, the plugins
# Tarvik loads by name), a Debian copyright file and changelog (installed with the
# documentation by every install).
include(GNUInstallDirs)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tarvik developers <tarvik@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvik developers <tarvik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read-only viewer for Microsoft Project schedules")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvik opens Microsoft Project (.mpp) files and shows their activities as a\n"
    "table and a Gantt chart, with filters, groups, layouts, printing and CSV\n"
    "export. It never changes the files it reads.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tarvik.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as a plugin, so invisible to dpkg-shlibdeps: the SQLite driver the layouts need.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(doc ${CMAKE_BINARY_DIR}/debian-doc)
file(MAKE_DIRECTORY ${doc})
file(WRITE ${doc}/changelog
     "tarvik (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Packaged from the upstream build with CPack.\n\n"
     " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  Fri, 11 Dec 2026 00:00:00 +0000\n")
find_program(TARVIK_GZIP gzip)
if(TARVIK_GZIP)
  execute_process(COMMAND ${TARVIK_GZIP} -9nf ${doc}/changelog)
  # The version has no Debian revision: a native package, whose changelog is changelog.gz.
  install(FILES ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvik)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvik)
include(CPack)
