# The include check (layer_includes.cmake) on a small tree of its own, with the program's layer
# table: every include that runs the wrong way is named with its file, and none of those that
# run the right way (cmake -DLAYERS=<src/core/Layers.cmake> -DCHECK=<layer_includes.cmake>
# -DWORK=<empty folder> -P this file).
cmake_minimum_required(VERSION 3.25)

# file | include (none: the file itself is named) | named by the check
set(cases
    "core/firmware/HexText.h|core/Prompter.h|no"
    "core/firmware/FileSet.cpp|core/platform/Platform.h|no"
    "core/IniFile.cpp|core/firmware/FileSet.h|no"
    "core/tools/LayoutScan.cpp|core/firmware/HexText.h|no"
    "core/tools/RowReport.h|core/Session.h|no"
    "core/editor/Commands.h|core/tools/SideSession.h|no"
    "core/Session.h|core/pages/PageHost.h|no"
    "core/firmware/Upward.h|core/pages/Page.h|yes"
    "core/Prompter.cpp|core/Session.h|yes"
    "core/Utf8Text.cpp|core/platform/Platform.h|yes"
    "core/platform/Posix.cpp|core/firmware/FileSet.h|yes"
    "core/inspect/Sideways.cpp|core/pages/Page.h|yes"
    "core/pages/Page.cpp|core/inspect/HexInfo.h|yes"
    "core/Session.cpp|core/tools/SideSession.h|yes"
    "core/tools/Report.cpp|core/editor/Commands.h|yes"
    "core/pages/Stray.cpp|core/Unknown.h|yes"
    "core/Stray.h||yes"
    "core/catalogue/Window.cpp|gui/app/TFormMain.h|yes"
    "gui/app/Window.cpp|gui/pages/PageFrame.h|no"
    "gui/pages/Frame.cpp|gui/common/QtText.h|no"
    "gui/common/Dialogs.cpp|gui/common/QtText.h|no"
    "gui/pages/Frame.h|gui/app/TFormMain.h|yes"
    "gui/tools/Dialog.cpp|gui/app/Settings.h|yes"
    "gui/inspect/Info.cpp|gui/app/MenuWindow.h|yes"
    "gui/common/Font.cpp|gui/app/Settings.h|yes"
    "gui/common/Text.h|gui/pages/PageFrame.h|yes")

file(REMOVE_RECURSE ${WORK})
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 file)
  list(GET fields 1 include)
  file(APPEND ${WORK}/src/${file} "#include <string>\n")
  if(include)
    file(APPEND ${WORK}/src/${file} "#include \"${include}\"\n")
  endif()
endforeach()
configure_file(${LAYERS} ${WORK}/src/core/Layers.cmake COPYONLY)

execute_process(COMMAND ${CMAKE_COMMAND} -DTREE=${WORK} -P ${CHECK} RESULT_VARIABLE result
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(result EQUAL 0)
  message(FATAL_ERROR "The check passed a tree with wrong includes:\n${out}")
endif()
set(wrong)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 file)
  list(GET fields 1 include)
  list(GET fields 2 named)
  set(needle "src/${file}:")
  if(include)
    string(APPEND needle " #include \"${include}\"")
  endif()
  string(FIND "${out}" "${needle}" at)
  if(named STREQUAL "yes" AND at EQUAL -1)
    list(APPEND wrong "not named: src/${file} including ${include}")
  elseif(named STREQUAL "no" AND NOT at EQUAL -1)
    list(APPEND wrong "named though right: src/${file} including ${include}")
  endif()
endforeach()
if(wrong)
  list(JOIN wrong "\n" text)
  message(FATAL_ERROR "${text}\nThe check said:\n${out}")
endif()
