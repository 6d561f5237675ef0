target_sources(trelik_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/copy_failure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_staging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/destination_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_shell_operations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rename_no_replace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_sync.cpp)
