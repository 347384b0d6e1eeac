# The Debian package, made by CPack from this build tree's install step: scripts/package runs it.
# Dependencies come from dpkg-shlibdeps reading the game's own binary, so they follow the
# distribution it is built on.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "hoopwind")
set(CPACK_PACKAGE_VERSION "${HW_VERSION}")
set(CPACK_PACKAGE_VENDOR "Hoopwind developers")
set(CPACK_PACKAGE_CONTACT "Hoopwind developers <hoopwind@example.org>")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D ball game: fly, catch and score through the hoops")
set(CPACK_PACKAGE_DESCRIPTION
  "A small real-time 3D ball game for one player. Two teams of two flyers race
over a grass pitch ringed by stands, with six hoops and four balls: carry
the Pellum through a hoop for 10 points, dodge the Bruskers that knock it
loose, and catch the fast Flicket for 150 points to end the game.

Every model, texture, the font and the music are made by the project's own
generator at build time.")

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://hoopwind.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL library (libGL.so.1) only at run time, where dpkg-shlibdeps cannot see it;
# without it the game finds no drawing context. The computed list is added to this one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")

include(CPack)
