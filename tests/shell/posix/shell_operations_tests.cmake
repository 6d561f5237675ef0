trelik_add_test_executable(shell_posix_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/folder_copy_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/listing_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rename_remove_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_open_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_files.cpp
  LIBRARIES trelik_shell)
