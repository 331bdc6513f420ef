# nj_include_surface(target FOLDER [EXCLUDE entry...]): the headers a target
# shows the targets that link it. Each library gets its own root in the build
# tree, ${CMAKE_BINARY_DIR}/include/<target>, holding its source folder under
# the folder's own name, so "render/batch.hpp" keeps its spelling but is found
# only by code that links nj_render. There is no project-wide include path: a
# header from a layer a target does not link is a missing file, not a quiet
# dependency. The allowed arrows are listed in the README's layout section.
#
# A plain folder is one symbolic link to the source folder. EXCLUDE keeps some
# of its entries out (render/ without scene/, ui/ without web/, each the
# surface of another library): then the folder is a real one in the build tree
# with a link per header and subfolder, kept in step with the source folder by
# the glob.
# Executables take their surface privately, interface libraries as interface.

# A link that already points at the right place stays, so a configure run
# changes nothing in the build tree.
function(nj_surface_link source link)
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} current)
    if(current STREQUAL source)
      return()
    endif()
    file(REMOVE ${link})
  endif()
  file(CREATE_LINK ${source} ${link} SYMBOLIC)
endfunction()

function(nj_include_surface target folder)
  cmake_parse_arguments(S "" "" "EXCLUDE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  set(source ${PROJECT_SOURCE_DIR}/${folder})
  set(surface ${root}/${folder})
  get_filename_component(parent ${surface} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT S_EXCLUDE)
    if(IS_DIRECTORY ${surface} AND NOT IS_SYMLINK ${surface})
      message(FATAL_ERROR "${surface} was a folder of links: delete ${root} and configure again")
    endif()
    nj_surface_link(${source} ${surface})
  else()
    if(IS_SYMLINK ${surface})
      file(REMOVE ${surface})  # was the whole folder: only the link goes
    endif()
    file(MAKE_DIRECTORY ${surface})
    file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${source} ${source}/*)
    list(REMOVE_ITEM entries ${S_EXCLUDE})
    foreach(entry IN LISTS entries)
      if(NOT IS_DIRECTORY ${source}/${entry} AND NOT entry MATCHES "\\.(hpp|h)$")
        continue()  # sources and notes are nobody's surface
      endif()
      nj_surface_link(${source}/${entry} ${surface}/${entry})
    endforeach()
  endif()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  elseif(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
