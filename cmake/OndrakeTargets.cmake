# ondrake_folder(<name> <dir> DEPS ... PRIVATE_DEPS ... VIEW_DEPS ...
#                [PRIVATE_PART <sub> PART_DEPS ...])
# Creates <name> from <dir>/*.cpp (an INTERFACE target while the folder has no sources) and,
# when <dir>/view/*.cpp exist, <name>_view linked to <name> and Qt Widgets. PRIVATE_DEPS are
# used by the folder's sources only: users of <name> link them but never see their headers.
#
# PRIVATE_PART keeps a dependency's headers inside one sub-folder: <dir>/<sub>/*.cpp become
# <name>_<sub>, whose headers include PART_DEPS' own; the rest of the folder becomes
# <name>_core, and <name> is the two together, linked so that users of <name> see neither the
# part's headers nor PART_DEPS'. Tests and benchmarks that reach into the part link
# <name>_<sub> themselves.
#
# Every dependency must be declared before the folder that uses it, so the folders' order in
# CMakeLists.txt is their layering and no folder can depend on one above it. The folders a
# folder may include follow from its dependencies; ondrake_write_include_rules() writes them out
# for tools/check_includes.sh.
function(ondrake_folder name dir)
  cmake_parse_arguments(ARG "" "PRIVATE_PART" "DEPS;PRIVATE_DEPS;VIEW_DEPS;PART_DEPS" ${ARGN})
  foreach(dep ${ARG_DEPS} ${ARG_PRIVATE_DEPS} ${ARG_VIEW_DEPS} ${ARG_PART_DEPS})
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "${dir} depends on ${dep}, which is not declared before it: a folder "
                          "depends only on folders declared above it")
    endif()
  endforeach()

  set(core ${name})
  if(ARG_PRIVATE_PART)
    set(core ${name}_core)
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  set(cpp ${srcs})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${core} STATIC ${srcs})
    target_include_directories(${core} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${core} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(${core} INTERFACE)
    target_include_directories(${core} INTERFACE ${CMAKE_SOURCE_DIR})
    # Headers alone have nothing to keep a dependency private in.
    target_link_libraries(${core} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
  endif()
  if(ARG_PRIVATE_PART)
    set(part ${name}_${ARG_PRIVATE_PART})
    file(GLOB psrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/${ARG_PRIVATE_PART}/*.cpp
                                      ${CMAKE_SOURCE_DIR}/${dir}/${ARG_PRIVATE_PART}/*.h)
    add_library(${part} STATIC ${psrcs})
    target_link_libraries(${part} PUBLIC ${core} ${ARG_PART_DEPS})
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${core} $<LINK_ONLY:${part}>)
  endif()

  file(GLOB vsrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/view/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/view/*.h)
  set(vcpp ${vsrcs})
  list(FILTER vcpp INCLUDE REGEX "\\.cpp$")
  if(vcpp)
    add_library(${name}_view STATIC ${vsrcs})
    target_link_libraries(${name}_view PUBLIC ${name} Qt6::Widgets ${ARG_VIEW_DEPS})
  else()
    add_library(${name}_view INTERFACE)
    target_link_libraries(${name}_view INTERFACE ${name} Qt6::Widgets ${ARG_VIEW_DEPS})
  endif()

  # The folders each part may include: its own and those of the folders it depends on.
  set(core_dirs ${dir})
  foreach(dep ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
    get_property(dep_dirs GLOBAL PROPERTY ONDRAKE_CORE_DIRS_${dep})
    list(APPEND core_dirs ${dep_dirs})
  endforeach()
  set(view_dirs ${core_dirs} ${dir}/view)
  foreach(dep ${ARG_VIEW_DEPS})
    get_property(dep_dirs GLOBAL PROPERTY ONDRAKE_VIEW_DIRS_${dep})
    list(APPEND view_dirs ${dep_dirs})
  endforeach()
  list(REMOVE_DUPLICATES core_dirs)
  list(REMOVE_DUPLICATES view_dirs)
  set_property(GLOBAL PROPERTY ONDRAKE_CORE_DIRS_${name} ${core_dirs})
  set_property(GLOBAL PROPERTY ONDRAKE_VIEW_DIRS_${name}_view ${view_dirs})
  set(rules "${dir}: ${core_dirs}\n${dir}/view: ${view_dirs}\n${dir}/app: ${view_dirs}\n")
  if(ARG_PRIVATE_PART)
    string(APPEND rules "${dir}/${ARG_PRIVATE_PART}: ${core_dirs} ${dir}/${ARG_PRIVATE_PART}\n"
                        "private ${dir}/${ARG_PRIVATE_PART}\n")
  endif()
  string(REPLACE ";" " " rules "${rules}")
  set_property(GLOBAL APPEND_STRING PROPERTY ONDRAKE_INCLUDE_RULES "${rules}")
endfunction()

# Writes the include rules of every folder declared so far to <file>: one line
# "<folder>: <folders its files may include>" per folder and part, and "private <folder>" for
# each private part.
function(ondrake_write_include_rules file)
  get_property(rules GLOBAL PROPERTY ONDRAKE_INCLUDE_RULES)
  file(WRITE ${file} "${rules}")
endfunction()

# Stops the configuration when a program links, directly or through a library, a target with a
# source outside the production folders (test support, fakes, fixtures, tools): what the
# programs run is only what ships.
function(ondrake_forbid_test_code program)
  set(seen "")
  set(pending ${program})
  while(pending)
    list(POP_FRONT pending target)
    if(NOT TARGET ${target} OR target IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${target})
    get_target_property(imported ${target} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    foreach(src ${sources})
      cmake_path(ABSOLUTE_PATH src BASE_DIRECTORY ${dir} NORMALIZE)
      cmake_path(RELATIVE_PATH src BASE_DIRECTORY ${CMAKE_SOURCE_DIR})
      if(src MATCHES "^(tests|tools|bench|fuzz)/")
        message(FATAL_ERROR "${program} links ${target}, built from ${src}: test code and tools "
                            "stay out of the programs")
      endif()
    endforeach()
    set(links "")
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(more ${target} ${property})
      if(more)
        list(APPEND links ${more})
      endif()
    endforeach()
    foreach(link ${links})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      list(APPEND pending ${link})
    endforeach()
  endwhile()
endfunction()
