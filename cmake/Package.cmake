# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made in the build directory by
#
#   cpack -G DEB
#
# as tolvarpegs_<version>_amd64.deb: everything `cmake --install` puts under /usr, plus the manual
# page and the package's own documents. The dependencies on shared libraries are read from the
# program by dpkg-shlibdeps; the fonts the windows are laid out with are named by hand, since no
# library links them.
if(NOT TARGET tolvarpegs)
    return()
endif()

find_program(TOLVAR_GZIP gzip REQUIRED)

# Debian keeps manual pages and changelogs compressed, without a time stamp in the header (-n), so
# the same sources give the same package.
set(package_docs ${CMAKE_BINARY_DIR}/package)
set(compressed)
foreach(doc tolvarpegs.6 changelog)
    add_custom_command(
        OUTPUT ${package_docs}/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/package/${doc} ${package_docs}/${doc}
        COMMAND ${TOLVAR_GZIP} -9nf ${package_docs}/${doc}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/package/${doc}
        VERBATIM
    )
    list(APPEND compressed ${package_docs}/${doc}.gz)
endforeach()
add_custom_target(tolvar_package_docs ALL DEPENDS ${compressed})

install(FILES ${package_docs}/tolvarpegs.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${package_docs}/changelog.gz ${PROJECT_SOURCE_DIR}/data/package/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tolvarpegs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvarpegs)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tolvar Pegs developers <developers@tolvarpegs.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "peg solitaire puzzle with a board editor")
# The long description, in lines short enough for the package tools' displays.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Jump pegs over their neighbours until the board shows its target or a single"
    "peg is left. Up to 200 boards, square or hexagonal, with pegs of two colours;"
    "every board can carry a stored best solution that sets its par and can be"
    "replayed step by step. The built-in editor designs boards, and boards can be"
    "exported to files and imported again to pass them on. English and German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install rules see the real prefix /usr (and a staging DESTDIR), so the launcher lands in /usr/games.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
