# File types: the registry interface, the registration algorithm and the platform's registry.
target_sources(trelik_shell PRIVATE
  file_type_registration.cpp
  folder_verb.cpp
  memory_registry.cpp
  registry.cpp
  registry_text.cpp
  registry_tree.cpp)

if(TRELIK_PLATFORM STREQUAL win32)
  target_sources(trelik_shell PRIVATE win32/win32_registry.cpp)
  target_link_libraries(trelik_shell PUBLIC advapi32)
else()
  # The store is replaced atomically through the library's file access; the desktop's view of
  # the file types is projected from it.
  target_sources(trelik_shell PRIVATE
    posix/desktop_files.cpp
    posix/desktop_integration.cpp
    posix/desktop_types.cpp
    posix/folder_actions.cpp
    posix/generated_files.cpp
    posix/registry_store.cpp
    posix/xdg_config_edits.cpp)
  target_link_libraries(trelik_shell PUBLIC trelik_library)
endif()
