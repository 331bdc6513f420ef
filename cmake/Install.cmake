# What `cmake --install build --prefix P` lays out, the way Debian lays out a
# game (the README's "Install" section):
#   P/games/nightjar                                   the game (component "game")
#   P/share/games/nightjar/{game.nj3p,campaign_maps.json}
#   P/share/applications/<id>.desktop                  the menu entry
#   P/share/icons/hicolor/<N>x<N>/apps/<id>.png        the logo at 32, 64, 128, 256
#   P/share/metainfo/<id>.metainfo.xml                 what software centres show
#   P/share/man/man6/nightjar.6.gz
#   P/bin/{njtool,nightjar-sim}                        component "devtools"
# <id> is NJ_APP_ID: the menu entry, the icon and the metainfo share it.

set(NJ_APP_ID "org.nightjar.glassharbor" CACHE STRING
    "Reverse-DNS name of the menu entry, its icon and its metainfo")
# Software centres load the screenshots from the project's public home:
# <url>/screenshots/<name>.png, the pictures in docs/screenshots. Until the
# project has one, the address is a placeholder that can never resolve.
set(NJ_PROJECT_URL "https://nightjar.invalid" CACHE STRING
    "The project's public home (its screenshots live under <url>/screenshots)")
# Debian keeps games in games/ beside share/games/ (and on its players'
# PATH); an install into a home folder may prefer bin/.
set(NJ_INSTALL_BINDIR "games" CACHE STRING "Where the game's binary installs, below the prefix")

# The data goes to the folder the game reads (NJ_INSTALL_DATA_DIR). Below the
# prefix it is installed relative to it, so `--prefix P` and the package's
# /usr move it, and the game finds it from its own folder as well
# ("../share/games/nightjar"), wherever the prefix ended up.
file(RELATIVE_PATH NJ_DATA_DESTINATION ${CMAKE_INSTALL_PREFIX} ${NJ_INSTALL_DATA_DIR})
if(NJ_DATA_DESTINATION MATCHES "^\\.\\./" OR IS_ABSOLUTE "${NJ_DATA_DESTINATION}")
  set(NJ_DATA_DESTINATION ${NJ_INSTALL_DATA_DIR})
else()
  file(RELATIVE_PATH NJ_DATA_FROM_EXECUTABLE ${CMAKE_INSTALL_PREFIX}/${NJ_INSTALL_BINDIR}
       ${NJ_INSTALL_DATA_DIR})
  foreach(target nj_data data_tests)
    if(TARGET ${target})
      target_compile_definitions(${target} PRIVATE
                                 NJ_DATA_DIR_FROM_EXECUTABLE="${NJ_DATA_FROM_EXECUTABLE}")
    endif()
  endforeach()
endif()

set(NJ_INSTALL_STAGE ${PROJECT_BINARY_DIR}/install-files)
set(NJ_INSTALL_SOURCES ${PROJECT_SOURCE_DIR}/assets/install)

# The game and its data.
if(TARGET nightjar)
  install(TARGETS nightjar RUNTIME DESTINATION ${NJ_INSTALL_BINDIR} COMPONENT game)
  install(FILES ${PROJECT_BINARY_DIR}/game.nj3p DESTINATION ${NJ_DATA_DESTINATION} COMPONENT game)
  # The build writes a campaign when there are missions to encode.
  file(GLOB missions ${PROJECT_SOURCE_DIR}/assets/missions/mission*.json)
  if(missions)
    install(FILES ${PROJECT_BINARY_DIR}/campaign_maps.json
            DESTINATION ${NJ_DATA_DESTINATION} COMPONENT game)
  endif()
endif()

# The menu entry, the metainfo and the manual page, filled in at configure time.
set(NJ_DESKTOP_EXEC nightjar)
configure_file(${NJ_INSTALL_SOURCES}/nightjar.desktop.in
               ${NJ_INSTALL_STAGE}/${NJ_APP_ID}.desktop @ONLY)
configure_file(${NJ_INSTALL_SOURCES}/metainfo.xml.in
               ${NJ_INSTALL_STAGE}/${NJ_APP_ID}.metainfo.xml @ONLY)
configure_file(${NJ_INSTALL_SOURCES}/nightjar.6.in ${NJ_INSTALL_STAGE}/nightjar.6 @ONLY)
install(FILES ${NJ_INSTALL_STAGE}/${NJ_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${NJ_INSTALL_STAGE}/${NJ_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)

# Debian ships manual pages compressed, without a time stamp in the gzip
# header, so the same page always gives the same bytes.
find_program(NJ_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${NJ_INSTALL_STAGE}/nightjar.6.gz
  COMMAND ${NJ_GZIP} -9 -n -c ${NJ_INSTALL_STAGE}/nightjar.6 > ${NJ_INSTALL_STAGE}/nightjar.6.gz
  DEPENDS ${NJ_INSTALL_STAGE}/nightjar.6 ${NJ_INSTALL_SOURCES}/nightjar.6.in
  COMMENT "Compressing the manual page")
set(NJ_INSTALL_GENERATED ${NJ_INSTALL_STAGE}/nightjar.6.gz)
install(FILES ${NJ_INSTALL_STAGE}/nightjar.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)

# The menu icons: the game's logo drawn at each size by njtool (with cairo,
# which it has when the HTML engine is built).
set(NJ_ICON_SIZES 32 64 128 256)
set(NJ_LOGO ${PROJECT_SOURCE_DIR}/assets/logo/game_icon.png)
if(TARGET nj_ui)
  foreach(size IN LISTS NJ_ICON_SIZES)
    set(folder ${NJ_INSTALL_STAGE}/icons/hicolor/${size}x${size}/apps)
    add_custom_command(OUTPUT ${folder}/${NJ_APP_ID}.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND njtool icon ${NJ_LOGO} ${size} ${folder}/${NJ_APP_ID}.png > /dev/null
      DEPENDS njtool ${NJ_LOGO}
      COMMENT "Drawing the ${size}x${size} menu icon")
    list(APPEND NJ_INSTALL_GENERATED ${folder}/${NJ_APP_ID}.png)
  endforeach()
  install(DIRECTORY ${NJ_INSTALL_STAGE}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
          COMPONENT game)
endif()
add_custom_target(nj_install_files ALL DEPENDS ${NJ_INSTALL_GENERATED})
if(TARGET nightjar)
  # Building the game builds everything its install lays out.
  add_dependencies(nightjar nj_install_files)
endif()

# The developer's tools, kept out of the player's install.
foreach(tool njtool nightjar-sim)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT devtools
            EXCLUDE_FROM_ALL)
  endif()
endforeach()
