# The Win32 backend on real windows (the Wine runner gives every run a display). The program's resources (icon,
# manifest) are linked in, so the controls behave as in the program.
trelik_add_test_executable(ui_win32_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_widgets_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/../program_stories_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/../widget_conformance_test.cpp
  LIBRARIES trelik_resources trelik_startup trelik_ui_win32 oleacc oleaut32)

# The discovered tests exist only when CTest reads their list, so their properties are set by a
# script that CTest runs after it. They run one at a time: Wine has been seen to refuse a window
# to one of two such processes starting together.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/ui_win32_test_properties.cmake CONTENT [[
set_tests_properties(${ui_win32_tests_TESTS} PROPERTIES RUN_SERIAL TRUE)
]] @ONLY)
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
             ${CMAKE_CURRENT_BINARY_DIR}/ui_win32_test_properties.cmake)
