# SPDX-License-Identifier: GPL-3.0-or-later
# Installing the game for the desktop: the program and every file it reads beside itself in one
# program directory (lib/tolvarpegs), a launcher in bin, a menu entry and its icons.
#
#   cmake --install <build> --prefix /usr/local
#
# The program finds its files through its own, symlink-resolved directory, so the launcher is a
# symlink into the program directory. Under a system prefix that directory is not writable: the
# player's changes to the collection cannot be saved there, and the game says so at close.
include(GNUInstallDirs)

set(TOLVAR_INSTALL_PROGRAM_DIR lib/tolvarpegs)

if(TARGET tolvarpegs)
    install(TARGETS tolvarpegs RUNTIME DESTINATION ${TOLVAR_INSTALL_PROGRAM_DIR})
    # Under /usr (the Debian package) the launcher goes where Debian keeps games, /usr/games; under
    # any other prefix into bin.
    install(CODE "
        set(launcher_dir bin)
        if(\"\${CMAKE_INSTALL_PREFIX}\" STREQUAL \"/usr\")
            set(launcher_dir games)
        endif()
        set(bin_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${launcher_dir}\")
        file(MAKE_DIRECTORY \"\${bin_dir}\")
        message(STATUS \"Installing: \${bin_dir}/tolvarpegs -> ../${TOLVAR_INSTALL_PROGRAM_DIR}/tolvarpegs\")
        file(CREATE_LINK ../${TOLVAR_INSTALL_PROGRAM_DIR}/tolvarpegs \"\${bin_dir}/tolvarpegs\" SYMBOLIC)
    ")
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/tolvarpegs.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # What software centres list: the AppStream metainfo, named for its component id, and the icon
    # at any size beside the drawn ones.
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/invalid.tolvarpegs.TolvarPegs.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/tolvarpegs.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The files the build draws, synthesises and copies into the program directory.
if(TARGET tolvarpegs AND TARGET tolvar_pictures)
    install(FILES ${TOLVAR_PROGRAM_DIR}/b0.bmp ${TOLVAR_PROGRAM_DIR}/b1.bmp ${TOLVAR_PROGRAM_DIR}/b2.bmp
                  ${TOLVAR_PROGRAM_DIR}/b5.bmp ${TOLVAR_PROGRAM_DIR}/b1@2x.png ${TOLVAR_PROGRAM_DIR}/b2@2x.png
                  ${TOLVAR_PROGRAM_DIR}/b5@2x.png
            DESTINATION ${TOLVAR_INSTALL_PROGRAM_DIR})
    # The menu icon at every size of the icon theme, each drawn by tools/assetgen for its size.
    install(DIRECTORY ${CMAKE_BINARY_DIR}/tools/assetgen/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
if(TARGET tolvarpegs AND TARGET tolvar_sounds)
    set(tolvar_sound_files)
    foreach(n 1 2 3 4 5 6 7 8 11 12 13 14)
        list(APPEND tolvar_sound_files ${TOLVAR_PROGRAM_DIR}/w${n}.wav)
    endforeach()
    install(FILES ${tolvar_sound_files} DESTINATION ${TOLVAR_INSTALL_PROGRAM_DIR})
endif()
if(TARGET tolvarpegs AND TARGET tolvar_help)
    install(FILES ${TOLVAR_PROGRAM_DIR}/VORN.HLP ${TOLVAR_PROGRAM_DIR}/VSER.HLP
            DESTINATION ${TOLVAR_INSTALL_PROGRAM_DIR})
endif()

# The collection as compiled from the repository's boards, not the build directory's copy that may
# hold a player's changes; and never over a collection already installed, which may be a player's.
if(TARGET tolvarpegs AND TARGET vorn_collection)
    install(CODE "
        set(collection \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TOLVAR_INSTALL_PROGRAM_DIR}/vorn.dat\")
        if(EXISTS \"\${collection}\")
            message(STATUS \"Kept: \${collection}\")
        else()
            message(STATUS \"Installing: \${collection}\")
            file(COPY_FILE \"${CMAKE_BINARY_DIR}/data/vorn.dat\" \"\${collection}\")
            # Every player reads it, whatever the build's copy allowed.
            file(CHMOD \"\${collection}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        endif()
    ")
endif()
