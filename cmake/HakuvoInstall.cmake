# cmake --install BUILD --prefix PREFIX: the two programs, and for the desktop program its
# desktop entry, icon and the MIME types of the three kinds of diary, where desktops look for
# them (PREFIX/share/applications, PREFIX/share/icons/hicolor, PREFIX/share/mime/packages).
include(GNUInstallDirs)

install(TARGETS hakuvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET hakuvo)
  install(TARGETS hakuvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Loaded by the program when the map is first shown (src/gui/CMakeLists.txt).
  install(TARGETS hakuvo_map LIBRARY DESTINATION ${HAKUVO_MAP_MODULE_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/hakuvo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()
