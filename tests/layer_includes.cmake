# Which way the includes of the program run (cmake -DTREE=<folder holding src/> -P this file;
# -DLAYERS=<file> reads the layers from another table than the tree's src/core/Layers.cmake).
# A static library still finds a function of a layer above it when the link order happens to
# allow it, so the includes themselves are read:
# - a file of the core includes from its own layer and the layers below it (src/core/Layers.cmake),
#   never from a face (gui/, cli/, print/, web/);
# - the window's parts in gui/pages, gui/tools, gui/inspect and gui/common never include from
#   gui/app, and gui/common includes from no other folder of gui.
# Every include that breaks this is named with its file; then the script fails.
cmake_minimum_required(VERSION 3.25)
if(NOT TREE)
  message(FATAL_ERROR "TREE is not set")
endif()
if(NOT LAYERS)
  set(LAYERS ${TREE}/src/core/Layers.cmake)
endif()
include(${LAYERS})

set(faults)
set(include_line "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")

# The targets of the project includes ("x/...") of one file.
function(read_includes file out)
  file(STRINGS ${file} lines REGEX "${include_line}")
  set(includes)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${include_line}.*" "\\1" include "${line}")
    if(include MATCHES "^(core|gui|cli|print|web)/")
      list(APPEND includes ${include})
    endif()
  endforeach()
  set(${out} ${includes} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE core_files RELATIVE ${TREE}/src/core ${TREE}/src/core/*.h ${TREE}/src/core/*.cpp
     ${TREE}/src/core/*.h.in)
list(SORT core_files)
foreach(file IN LISTS core_files)
  hz_core_layer_of(${file} layer)
  if(NOT layer)
    list(APPEND faults "src/core/${file}: belongs to no layer (src/core/Layers.cmake)")
    continue()
  endif()
  hz_core_layer_reach(${layer} reach)
  read_includes(${TREE}/src/core/${file} includes)
  foreach(include IN LISTS includes)
    if(NOT include MATCHES "^core/(.*)")
      list(APPEND faults "src/core/${file}: #include \"${include}\": the core includes no face")
      continue()
    endif()
    hz_core_layer_of(${CMAKE_MATCH_1} target)
    if(NOT target)
      list(APPEND faults "src/core/${file}: #include \"${include}\": a file of no layer")
    elseif(NOT target IN_LIST reach)
      list(APPEND faults "src/core/${file}: #include \"${include}\": layer ${layer} includes from layer ${target}, which is not below it")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE gui_files RELATIVE ${TREE}/src/gui ${TREE}/src/gui/*.h ${TREE}/src/gui/*.cpp)
list(SORT gui_files)
foreach(file IN LISTS gui_files)
  if(NOT file MATCHES "^(pages|tools|inspect|common)/")
    continue()
  endif()
  set(folder ${CMAKE_MATCH_1})
  read_includes(${TREE}/src/gui/${file} includes)
  foreach(include IN LISTS includes)
    if(include MATCHES "^gui/app/")
      list(APPEND faults "src/gui/${file}: #include \"${include}\": gui/${folder} includes from gui/app")
    elseif(folder STREQUAL "common" AND include MATCHES "^gui/" AND NOT include MATCHES "^gui/common/")
      list(APPEND faults "src/gui/${file}: #include \"${include}\": gui/common includes from another folder of gui")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message("${text}")
  message(FATAL_ERROR "Includes that run the wrong way.")
endif()
