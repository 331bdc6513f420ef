# `cpack -G DEB` in the build folder: nightjar_<version>_<arch>.deb, the game
# for players (component "game"), and nightjar-devtools_..., njtool and
# nightjar-sim (component "devtools").
#
# Depends come from the libraries the binaries really link: dpkg-shlibdeps
# maps each linked soname to the Debian package that ships it, with the
# version its symbols need. The Vulkan loader is the one library nobody links:
# volk opens libvulkan.so.1 at run time, so it is named by hand. Software
# Vulkan (lavapipe) is what runs the game on a machine without a GPU driver,
# and a machine with one does not need it: a Recommends.

set(CPACK_PACKAGE_NAME nightjar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The NIGHTJAR developers")
set(CPACK_PACKAGE_CONTACT "The NIGHTJAR developers <nightjar@nightjar.invalid>")
# CPack puts the one summary on top of both packages' descriptions.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NIGHTJAR : Glass Harbor, a top-down stealth game")
set(CPACK_PACKAGE_DESCRIPTION
    "You are a field operative of the NIA slipping into a guarded building past guards, \
cameras, laser grids, pressure plates and colour-coded doors. Take the cipher card, crack \
the safe, complete a second directive and get out. Plays with keyboard and mouse or any \
game controller; runs on software Vulkan where there is no graphics driver.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${NJ_PROJECT_URL})
set(CPACK_GENERATOR DEB)
# Under /usr as Debian's own games, whatever prefix the build was configured
# for: the game finds its data from its own folder.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game devtools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME nightjar)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "libvulkan1")
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "mesa-vulkan-drivers")
set(CPACK_COMPONENT_GAME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")

set(CPACK_DEBIAN_DEVTOOLS_PACKAGE_NAME nightjar-devtools)
set(CPACK_DEBIAN_DEVTOOLS_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_DEVTOOLS_DESCRIPTION
    "The game's tools for mission makers and developers: njtool checks, encodes and packs \
missions and the game's package; nightjar-sim plays the game headless from a script.")

include(CPack)
