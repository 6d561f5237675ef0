target_sources(trelik_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/copy_failure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_staging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/destination_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_shell_operations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prepared_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rename_no_replace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_sync.cpp)
# The copy made ahead runs on a thread of its own.
find_package(Threads REQUIRED)
target_link_libraries(trelik_shell PRIVATE Threads::Threads)
