# The core's layers, bottom first: which files each holds and which layers lie right below it.
# src/core/CMakeLists.txt builds one static library per layer from this table, linking only the
# layers below; tests/layer_includes.cmake reads every include of the core with it and fails on
# one that reaches a layer that is neither the file's own nor below it.
#
# A layer's files are folders (ending in "/", everything under them) or files at the top of
# src/core, named without their ending (Session stands for Session.h and Session.cpp).

set(HZ_CORE_LAYERS base platform firmware catalogue pages inspect session tools editor)

# Texts, the prompter and what the program says about itself: nothing below.
set(HZ_CORE_LAYER_base_FILES AddressRowCount BatchPrompter Prompter SystemError Utf8Text Version)
set(HZ_CORE_LAYER_base_BELOW)
# What differs between a POSIX system and WebAssembly; it may word what the machine says.
set(HZ_CORE_LAYER_platform_FILES platform/)
set(HZ_CORE_LAYER_platform_BELOW base)
# Firmware images, HEX files and saving files (the settings file saves the same way).
set(HZ_CORE_LAYER_firmware_FILES firmware/ IniFile)
set(HZ_CORE_LAYER_firmware_BELOW base platform)
set(HZ_CORE_LAYER_catalogue_FILES catalogue/)
set(HZ_CORE_LAYER_catalogue_BELOW firmware)
set(HZ_CORE_LAYER_pages_FILES pages/)
set(HZ_CORE_LAYER_pages_BELOW catalogue)
set(HZ_CORE_LAYER_inspect_FILES inspect/)
set(HZ_CORE_LAYER_inspect_BELOW firmware)
set(HZ_CORE_LAYER_session_FILES Session SessionView EditHistory LoadCorrections StatusTexts QuestionReplay)
set(HZ_CORE_LAYER_session_BELOW pages)
set(HZ_CORE_LAYER_tools_FILES tools/)
set(HZ_CORE_LAYER_tools_BELOW session)
set(HZ_CORE_LAYER_editor_FILES editor/)
set(HZ_CORE_LAYER_editor_BELOW tools)

# The layer of a file given relative to src/core ("firmware/HexText.h", "Session.cpp",
# "Version.h.in"); empty when no layer holds it.
function(hz_core_layer_of path out)
  get_filename_component(name "${path}" NAME_WE)
  foreach(layer IN LISTS HZ_CORE_LAYERS)
    foreach(entry IN LISTS HZ_CORE_LAYER_${layer}_FILES)
      if(entry MATCHES "/$")
        string(FIND "${path}" "${entry}" at)
        if(at EQUAL 0)
          set(${out} ${layer} PARENT_SCOPE)
          return()
        endif()
      elseif(NOT path MATCHES "/" AND name STREQUAL entry)
        set(${out} ${layer} PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# The layers a file of `layer` may include from: its own and every layer below it, however far.
function(hz_core_layer_reach layer out)
  set(reach ${layer})
  set(todo ${HZ_CORE_LAYER_${layer}_BELOW})
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST reach)
      list(APPEND reach ${next})
      list(APPEND todo ${HZ_CORE_LAYER_${next}_BELOW})
    endif()
  endwhile()
  set(${out} ${reach} PARENT_SCOPE)
endfunction()
