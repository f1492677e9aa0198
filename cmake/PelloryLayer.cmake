# pellory_layer(<target> <item>... [SOURCES <file>...] [SEES <layer>...])
#
# One layer of the program as a library that can include only what it may. Its include
# root is a folder of the build tree holding links to its <item>s: folders or files of the
# source tree, named from the tree's top ("engine", "platform/Http.h"). Whoever compiles
# against the layer sees those names and nothing else of the tree, so that
# #include "engine/InstallWorker.h" in net/ finds no such file.
# SOURCES (relative to the calling folder) make a static library, else a header-only one.
# SEES names the layers it uses; their roots come with it, for its users too.
get_filename_component(PELLORY_TOP ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

function(pellory_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;SEES")
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  foreach(item IN LISTS arg_UNPARSED_ARGUMENTS)
    get_filename_component(parent ${root}/${item} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PELLORY_TOP}/${item} ${root}/${item} SYMBOLIC)
  endforeach()
  if(arg_SOURCES)
    add_library(${target} STATIC ${arg_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${root})
  if(arg_SEES)
    target_link_libraries(${target} ${scope} ${arg_SEES})
  endif()
  # Without sources of its own, a layer's headers are compiled only inside its users, which
  # see more: so each header named as an item is also compiled alone, against the layer.
  if(NOT arg_SOURCES)
    set(alone)
    foreach(item IN LISTS arg_UNPARSED_ARGUMENTS)
      if(item MATCHES "\\.h$")
        string(MAKE_C_IDENTIFIER ${item} name)
        set(file ${CMAKE_CURRENT_BINARY_DIR}/alone/${name}.cpp)
        file(CONFIGURE OUTPUT ${file} CONTENT "#include \"${item}\"\n")
        list(APPEND alone ${file})
      endif()
    endforeach()
    if(alone)
      add_library(${target}_alone OBJECT ${alone})
      target_link_libraries(${target}_alone PRIVATE ${target})
    endif()
  endif()
endfunction()
