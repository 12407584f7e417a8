# cmake --install BUILD --prefix PREFIX: the two programs with their manual pages, the command
# line's bash completion, and for the desktop program its desktop entry, icon, AppStream metainfo
# and the MIME types of the three kinds of diary, where desktops look for them
# (PREFIX/share/applications, PREFIX/share/icons/hicolor, PREFIX/share/metainfo,
# PREFIX/share/mime/packages). The Debian packages are made of exactly these files.
include(GNUInstallDirs)

# The software centres' ID of the program. A component ID is a reverse domain name its makers
# control; the one domain this project has is that of its maintainers' address (CHANGELOG,
# debian/control), reversed with "_" for "-" as AppStream asks. The desktop entry keeps its
# plain name, which users' MIME associations already refer to.
set(HAKUVO_APPSTREAM_ID "example.c_seed_2f3f2f60.maintainers.hakuvo" CACHE STRING "AppStream component ID")
# No licence has been granted for the program yet (see debian/copyright).
set(HAKUVO_PROJECT_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX licence expression of the program")
# Software centres fetch screenshots from the web only: the address under which
# data/screenshots/ is published, if it is.
set(HAKUVO_SCREENSHOT_BASE_URL "" CACHE STRING "https:// address of the published data/screenshots/ folder")

function(hakuvo_appstream_screenshots base_url out)
  set(${out} "  <screenshots>
    <screenshot type=\"default\">
      <caption>The outing list with the graph of the outings' distances</caption>
      <caption xml:lang=\"ja\">記録の一覧と距離のグラフ</caption>
      <image type=\"source\" width=\"1024\" height=\"768\">${base_url}/main-window.png</image>
    </screenshot>
  </screenshots>" PARENT_SCOPE)
endfunction()

set(HAKUVO_APPSTREAM_SCREENSHOTS "")
if(HAKUVO_SCREENSHOT_BASE_URL)
  if(NOT HAKUVO_SCREENSHOT_BASE_URL MATCHES "^https://")
    message(FATAL_ERROR "HAKUVO_SCREENSHOT_BASE_URL must be an https:// address")
  endif()
  hakuvo_appstream_screenshots("${HAKUVO_SCREENSHOT_BASE_URL}" HAKUVO_APPSTREAM_SCREENSHOTS)
endif()

set(HAKUVO_METAINFO_FILE ${PROJECT_BINARY_DIR}/data/${HAKUVO_APPSTREAM_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/metainfo/hakuvo.metainfo.xml.in ${HAKUVO_METAINFO_FILE} @ONLY)
# The same with a screenshot at an address for the tests, so that the form of the screenshot
# element is checked while the project publishes none.
function(hakuvo_metainfo_with_screenshot)
  hakuvo_appstream_screenshots("https://hakuvo.example.org/screenshots" HAKUVO_APPSTREAM_SCREENSHOTS)
  configure_file(${PROJECT_SOURCE_DIR}/data/metainfo/hakuvo.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/data/metainfo-with-screenshot/${HAKUVO_APPSTREAM_ID}.metainfo.xml @ONLY)
endfunction()
hakuvo_metainfo_with_screenshot()
foreach(page hakuvo hakuvo-cli)
  configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in ${PROJECT_BINARY_DIR}/data/man/${page}.1 @ONLY)
endforeach()

install(TARGETS hakuvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/data/man/hakuvo-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Where bash-completion looks for a command's completion, by the command's name.
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/hakuvo-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME hakuvo-cli)

if(TARGET hakuvo)
  install(TARGETS hakuvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/data/man/hakuvo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # Loaded by the program when the map is first shown (src/gui/CMakeLists.txt).
  install(TARGETS hakuvo_map LIBRARY DESTINATION ${HAKUVO_MAP_MODULE_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${HAKUVO_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
