# Installation with the usual Linux layout: the game under lib/hoopwind, its generated data under
# share/hoopwind, a launcher on the PATH, a desktop entry and an icon.
include(GNUInstallDirs)

set(HW_INSTALL_GAME_DIR "${CMAKE_INSTALL_LIBDIR}/hoopwind")
set(HW_INSTALL_DATA_DIR "${CMAKE_INSTALL_DATADIR}/hoopwind")

# The launcher finds everything relative to itself, so any prefix works, even after moving it.
file(RELATIVE_PATH HW_LAUNCHER_TO_DATA "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${HW_INSTALL_DATA_DIR}")
file(RELATIVE_PATH HW_LAUNCHER_TO_GAME "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${HW_INSTALL_GAME_DIR}/hoopwind")
configure_file("${CMAKE_CURRENT_LIST_DIR}/hoopwind-launcher.in" "${CMAKE_BINARY_DIR}/install/hoopwind" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/hoopwind.desktop.in" "${CMAKE_BINARY_DIR}/install/hoopwind.desktop" COPYONLY)

install(TARGETS hoopwind RUNTIME DESTINATION "${HW_INSTALL_GAME_DIR}")
install(PROGRAMS "${CMAKE_BINARY_DIR}/install/hoopwind" DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY "${HW_DATA_DIR}/" DESTINATION "${HW_INSTALL_DATA_DIR}"
  PATTERN "hoopwind.png" EXCLUDE)
install(FILES "${CMAKE_BINARY_DIR}/install/hoopwind.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${HW_DATA_DIR}/hoopwind.png" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps")
