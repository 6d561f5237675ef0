# The Windows shell and file operations, on real temporary folders under Wine.
trelik_add_test_executable(shell_win32_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/copy_folder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_operations_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_picker_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_open_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tree_removal_test.cpp
  LIBRARIES trelik_shell)

# Wine's browser bridge hands web addresses to the Linux xdg-open: a stub that records them
# stands first on PATH for the opening tests.
set(TRELIK_XDG_OPEN_STUB_DIR ${CMAKE_CURRENT_BINARY_DIR}/xdg-open-stub)
file(COPY ${CMAKE_CURRENT_LIST_DIR}/stub/xdg-open DESTINATION ${TRELIK_XDG_OPEN_STUB_DIR}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)

# The discovered tests exist only when CTest reads their list, so their properties are set by
# a script that CTest runs after it.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/shell_win32_test_properties.cmake CONTENT [[
foreach(test IN LISTS shell_win32_tests_TESTS)
  if(test MATCHES "^ShellOpen\\.")
    set_tests_properties("${test}" PROPERTIES
      ENVIRONMENT "TRELIK_XDG_OPEN_LOG=@TRELIK_XDG_OPEN_STUB_DIR@/requests.log"
      ENVIRONMENT_MODIFICATION "PATH=path_list_prepend:@TRELIK_XDG_OPEN_STUB_DIR@")
  endif()
endforeach()
]] @ONLY)
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
             ${CMAKE_CURRENT_BINARY_DIR}/shell_win32_test_properties.cmake)
