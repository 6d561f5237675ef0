# The Windows shell and file operations: shell32 for the picker and opening files, ole32 for
# the COM that they need, both loaded at their first call; the library for the paths as file
# names compare.
target_sources(trelik_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/entry_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_picker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modal_scope.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ole_session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/staging_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_shell_operations.cpp)
target_link_libraries(trelik_shell PUBLIC trelik_library trelik_delay_shell32
                                          trelik_delay_ole32)
