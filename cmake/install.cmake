# Installation: the game, its data, the desktop entry, the icons, the AppStream metainfo, the man page
# and the licence; and the Debian package made from them (scripts/package.sh deb).
set(MIRABO_APP_ID org.mirabo.mirabo CACHE STRING "Reverse-DNS id of the desktop entry and the metainfo")
set(MIRABO_HOMEPAGE https://mirabo.example.org CACHE STRING
    "The game's home page; the metainfo's screenshot is HOMEPAGE/screenshots/stage.png (build: screenshot.png)")
set(MIRABO_MAINTAINER "The Mirabo developers" CACHE STRING "Maintainer field of the Debian package")

set(dist ${CMAKE_BINARY_DIR}/dist)
set(desktop_entry ${dist}/${MIRABO_APP_ID}.desktop)
set(metainfo ${dist}/${MIRABO_APP_ID}.metainfo.xml)
configure_file(dist/mirabo.desktop.in ${desktop_entry} @ONLY)
configure_file(dist/mirabo.metainfo.xml.in ${metainfo} @ONLY)
configure_file(dist/mirabo.6.in ${dist}/mirabo.6 @ONLY)
configure_file(dist/handheld/port.json.in ${dist}/port.json @ONLY)
configure_file(dist/handheld/README.md.in ${dist}/README.md @ONLY)

# The screenshot the metainfo and the handheld package show: a real stage as the game draws it,
# doubled by the game's own smoothing pass (tools/stageshot).
add_custom_target(screenshot ALL
  COMMAND ${CMAKE_COMMAND} -E copy ${MIRABO_RUN_DIR}/review/stage_antialias.png ${MIRABO_RUN_DIR}/screenshot.png)
add_dependencies(screenshot mirabo_content)

install(TARGETS mirabo RUNTIME DESTINATION ${MIRABO_INSTALL_BINDIR})
install(DIRECTORY ${MIRABO_DATA_DIR}/ DESTINATION ${MIRABO_INSTALL_DATADIR}/data)
install(DIRECTORY ${MIRABO_RUN_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/mirabo.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirabo)
set(CPACK_PACKAGE_VENDOR "the Mirabo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fruit-morphing puzzle game with Kavrin the young lion")
set(CPACK_PACKAGE_DESCRIPTION
    "Pick a fruit: it morphs two steps down the fruit chain and its four neighbours one step; vanished
fruits let the column above fall. Make the board equal the target before the time or the moves run out.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MIRABO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIRABO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
if(CMAKE_CROSSCOMPILING)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${MIRABO_DEB_ARCH})
endif()
include(CPack)

# The desktop entry, the metainfo and the man page pass their checkers; the installed game runs from
# anywhere and keeps the player's files in the per-user folder.
if(MIRABO_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(APPSTREAMCLI appstreamcli)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop_entry})
  endif()
  if(APPSTREAMCLI)
    add_test(NAME metainfo_valid COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo})
  endif()
  add_test(NAME man_page_valid COMMAND ${CMAKE_SOURCE_DIR}/tests/man_page_check.sh ${dist}/mirabo.6)
  set_tests_properties(man_page_valid PROPERTIES SKIP_RETURN_CODE 77)
  if(NOT CMAKE_CROSSCOMPILING)
    add_test(NAME installed_game_runs_anywhere
             COMMAND ${CMAKE_SOURCE_DIR}/tests/install_smoke.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(installed_game_runs_anywhere PROPERTIES TIMEOUT 120)
  endif()
endif()
