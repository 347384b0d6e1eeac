# Installation laid out as games are on Debian: the launcher in games/, the program in libexec/,
# the data in share/games/, plus desktop entry, software-centre entry, icons, manual page and
# licence. Every path is relative to the prefix, so `cmake --install --prefix` goes anywhere.
include(GNUInstallDirs)

# The release these files describe (the package, the software-centre entry, the manual page).
if(PROJECT_VERSION)
  set(HW_VERSION "${PROJECT_VERSION}")
else()
  set(HW_VERSION "1.0.0")
endif()
set(HW_RELEASE_DATE "2026-12-07")
set(HW_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(HW_APP_ID "org.example.hoopwind")

set(HW_INSTALL_LAUNCHER_DIR "games" CACHE STRING "Folder of the launcher, relative to the prefix")
set(HW_INSTALL_GAME_DIR "${CMAKE_INSTALL_LIBEXECDIR}/hoopwind")
set(HW_INSTALL_DATA_DIR "${CMAKE_INSTALL_DATADIR}/games/hoopwind")
set(HW_INSTALL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/hoopwind")

set(HW_DIST_DIR "${PROJECT_SOURCE_DIR}/dist")
set(HW_STAGE_DIR "${CMAKE_BINARY_DIR}/install")

# The launcher finds everything relative to itself, so any prefix works, even after moving it.
file(RELATIVE_PATH HW_LAUNCHER_TO_DATA "/prefix/${HW_INSTALL_LAUNCHER_DIR}" "/prefix/${HW_INSTALL_DATA_DIR}")
file(RELATIVE_PATH HW_LAUNCHER_TO_GAME "/prefix/${HW_INSTALL_LAUNCHER_DIR}" "/prefix/${HW_INSTALL_GAME_DIR}/hoopwind")
configure_file("${CMAKE_CURRENT_LIST_DIR}/hoopwind-launcher.in" "${HW_STAGE_DIR}/hoopwind" @ONLY)
configure_file("${HW_DIST_DIR}/${HW_APP_ID}.metainfo.xml.in" "${HW_STAGE_DIR}/${HW_APP_ID}.metainfo.xml" @ONLY)
configure_file("${HW_DIST_DIR}/hoopwind.6.in" "${HW_STAGE_DIR}/hoopwind.6" @ONLY)
configure_file("${HW_DIST_DIR}/changelog.in" "${HW_STAGE_DIR}/changelog" @ONLY)

# Manual page and change log compressed without names or times in the header, so the bytes
# depend on the text alone.
find_program(HW_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT "${HW_STAGE_DIR}/hoopwind.6.gz" "${HW_STAGE_DIR}/changelog.gz"
  COMMAND "${HW_GZIP}" -9 -n -f -k "${HW_STAGE_DIR}/hoopwind.6" "${HW_STAGE_DIR}/changelog"
  DEPENDS "${HW_STAGE_DIR}/hoopwind.6" "${HW_STAGE_DIR}/changelog"
  COMMENT "Compressing the manual page and change log"
  VERBATIM)
add_custom_target(hoopwind_docs ALL DEPENDS "${HW_STAGE_DIR}/hoopwind.6.gz" "${HW_STAGE_DIR}/changelog.gz")

install(PROGRAMS "${HW_STAGE_DIR}/hoopwind" DESTINATION "${HW_INSTALL_LAUNCHER_DIR}")
install(TARGETS hoopwind RUNTIME DESTINATION "${HW_INSTALL_GAME_DIR}")
# The icons go to the theme; hoopwind.png is the single icon older builds left in the data folder.
install(DIRECTORY "${HW_DATA_DIR}/" DESTINATION "${HW_INSTALL_DATA_DIR}"
  PATTERN "icons" EXCLUDE PATTERN "hoopwind.png" EXCLUDE)
install(DIRECTORY "${HW_DATA_DIR}/icons/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")
install(FILES "${HW_DIST_DIR}/${HW_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${HW_STAGE_DIR}/${HW_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${HW_STAGE_DIR}/hoopwind.6.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${HW_DIST_DIR}/copyright" "${HW_STAGE_DIR}/changelog.gz" DESTINATION "${HW_INSTALL_DOC_DIR}")

include("${CMAKE_CURRENT_LIST_DIR}/Package.cmake")
