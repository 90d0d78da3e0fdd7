# make install and make package. An installed game keeps this layout, which
# the game's data-path resolver relies on: the executable in <prefix>/games,
# its data in <prefix>/share/games/spookhollow (one folder up and across).
set(SPOOKHOLLOW_APPSTREAM_ID "org.example.Spookhollow" CACHE STRING
    "AppStream component id (reverse DNS of the project's home)")
set(SPOOKHOLLOW_WEB_URL "https://example.org/spookhollow" CACHE STRING
    "Web address of the project; the metainfo's screenshots are its docs/ pictures")

set(SPOOKHOLLOW_METAINFO ${CMAKE_BINARY_DIR}/packaging/${SPOOKHOLLOW_APPSTREAM_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/packaging/spookhollow.metainfo.xml.in ${SPOOKHOLLOW_METAINFO}
    @ONLY)

install(TARGETS spookhollow RUNTIME DESTINATION games)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/spookhollow.desktop DESTINATION share/applications)
install(FILES ${SPOOKHOLLOW_METAINFO} DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/spookhollow.6 DESTINATION share/man/man6)
if(SPOOKHOLLOW_DATA)
    install(DIRECTORY ${SPOOKHOLLOW_GAME_DIR}/resources DESTINATION share/games/spookhollow)
    install(DIRECTORY ${SPOOKHOLLOW_ICON_DIR}/hicolor DESTINATION share/icons)
endif()

# cpack installs what is built; `make package` builds first, and the package
# test must not rebuild a tree that is being tested.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME spookhollow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Spookhollow developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person hunt for three ghosts in a castle maze")
set(CPACK_PACKAGE_CONTACT "Spookhollow developers <spookhollow@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SPOOKHOLLOW_WEB_URL})
include(CPack)
