# What a player gets: the install layout and the Debian package made from it by CPack.
#   <prefix>/games/moonvale            launcher (bin/ outside a Debian package)
#   <prefix>/lib/moonvale/             the game and its own copy of the SDL3 libraries, RUNPATH $ORIGIN
#   <prefix>/share/moonvale/assets/    the generated assets
#   <prefix>/share/{applications,icons,metainfo,man,doc}/  what desktops, software centres and man find
# MOONVALE_PORTABLE instead lays out one folder that runs wherever it is unpacked
# (scripts/package-linux.sh): moonvale (launcher), lib/ (the game and SDL), assets/, README.txt, licences/.
include(GNUInstallDirs)

set(MOONVALE_APP_ID io.github.moonvale.Moonvale)
if(MOONVALE_PORTABLE)
    set(MOONVALE_LIB_DIR lib)
    set(MOONVALE_DATA_DIR .)
    set(MOONVALE_LAUNCHER_DIR .)
else()
    # A fixed lib/moonvale, not the multiarch libdir: these are private libraries, not the system's SDL3.
    set(MOONVALE_LIB_DIR lib/moonvale)
    set(MOONVALE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/moonvale)
    set(MOONVALE_LAUNCHER_DIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
        "Where the launcher goes, relative to the prefix (Debian puts games in games)")
endif()
set(MOONVALE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/moonvale)
# The launcher finds the game from its own folder.
file(RELATIVE_PATH MOONVALE_LAUNCHER_TO_PREFIX /${MOONVALE_LAUNCHER_DIR} /)
if(NOT MOONVALE_LAUNCHER_TO_PREFIX)
    set(MOONVALE_LAUNCHER_TO_PREFIX .)
endif()

set_target_properties(moonvale PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS moonvale RUNTIME DESTINATION ${MOONVALE_LIB_DIR})
# Only the run-time names: the unversioned .so links are for building against SDL, not for running.
install(DIRECTORY ${MOONVALE_DEPS_PREFIX}/lib/ DESTINATION ${MOONVALE_LIB_DIR}
    FILES_MATCHING PATTERN "libSDL3*.so.*" PATTERN "cmake" EXCLUDE PATTERN "pkgconfig" EXCLUDE)
# The stack was linked with a RUNPATH into the build machine's prefix; installed, its libraries find
# each other beside themselves.
install(CODE "set(_sdl_dir \"${MOONVALE_LIB_DIR}\")")
install(CODE [[
    file(GLOB _sdl_libs LIST_DIRECTORIES false
        "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${_sdl_dir}/libSDL3*.so.*")
    foreach(_lib IN LISTS _sdl_libs)
        if(NOT IS_SYMLINK "${_lib}")
            file(RPATH_SET FILE "${_lib}" NEW_RPATH "$ORIGIN")
            if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND strip --strip-unneeded "${_lib}" COMMAND_ERROR_IS_FATAL ANY)
            endif()
        endif()
    endforeach()
]])
install(DIRECTORY ${CMAKE_BINARY_DIR}/assets DESTINATION ${MOONVALE_DATA_DIR}
    PATTERN "score.dat*" EXCLUDE PATTERN "settings.ini*" EXCLUDE PATTERN ".generated" EXCLUDE)

configure_file(${CMAKE_CURRENT_LIST_DIR}/moonvale.sh.in ${CMAKE_BINARY_DIR}/moonvale-launcher @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/moonvale-launcher DESTINATION ${MOONVALE_LAUNCHER_DIR} RENAME moonvale)
if(MOONVALE_PORTABLE)
    # The README and the licences are put beside it by scripts/package-linux.sh.
    return()
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/moonvale.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${MOONVALE_ICONS}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${MOONVALE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${MOONVALE_DOC_DIR})

# Man page and changelog are compressed the way Debian keeps them: gzip -9, no name or time stamp.
set(_gz_dir ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_gz_dir})
foreach(_doc moonvale.6 changelog)
    add_custom_command(OUTPUT ${_gz_dir}/${_doc}.gz
        COMMAND gzip -9n -c ${CMAKE_CURRENT_LIST_DIR}/${_doc} > ${_gz_dir}/${_doc}.gz
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${_doc})
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${_gz_dir}/moonvale.6.gz ${_gz_dir}/changelog.gz)
install(FILES ${_gz_dir}/moonvale.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${_gz_dir}/changelog.gz DESTINATION ${MOONVALE_DOC_DIR})

# The Debian package. Dependencies come from dpkg-shlibdeps over every ELF file in it: SDL is built to
# link its window-system and sound libraries rather than load them at run time, so they show up.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moonvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Moonvale developers <moonvale@moonvale.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The daily board is reached through libcurl, loaded when the player sends there: not needed to play.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcurl4 | libcurl3-gnutls")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "arcade survival game: a ghost against waves of spirits
Moonvale is a small single-player 2D arcade survival game. You steer a
friendly ghost with W, A, S and D through a world three screens wide and
high. Every 3 seconds a wave of 20 hostile ghosts is summoned around you;
strike them with thunder at the mouse cursor, mind your mana, slow time
with the right mouse button, and survive as long as you can.

The best score is kept in the player's data folder between runs. Every
picture, sound and tune is made by the game's own generator.")
include(CPack)
