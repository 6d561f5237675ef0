# Import libraries whose DLL is loaded at the first call into it instead of at the program's
# start: shell32 and ole32 (with the DLLs they pull in) are needed only for the copy, the opening,
# the picker and the screen readers' descriptions, all after the window is shown. GNU ld 2.40 has
# no --delayload, so dlltool makes the delay-import library from every name the toolchain's own
# import library exports; libdelayimp.a loads the DLL and binds each name at its first call.
#
# trelik_delay_import(NAME DLL) makes the interface library trelik_delay_NAME, to link in place
# of NAME.
function(trelik_delay_import name dll)
  find_library(import_library_${name} NAMES ${name} REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_library_${name}}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE "^__imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(JOIN imports "\n" exports)
  set(definitions ${CMAKE_BINARY_DIR}/delay_import/${name}.def)
  set(library ${CMAKE_BINARY_DIR}/delay_import/lib${name}_delay.a)
  file(CONFIGURE OUTPUT ${definitions} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT ${library}
                     COMMAND ${CMAKE_DLLTOOL} --input-def ${definitions} --dllname ${dll}
                             --output-delaylib ${library}
                     DEPENDS ${definitions} VERBATIM)
  add_custom_target(trelik_delay_${name}_library DEPENDS ${library})
  add_library(trelik_delay_${name} INTERFACE)
  target_link_libraries(trelik_delay_${name} INTERFACE ${library} delayimp)
  add_dependencies(trelik_delay_${name} trelik_delay_${name}_library)
endfunction()
