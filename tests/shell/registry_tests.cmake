# File types: the registration algorithm against the in-memory registry, the registry text
# format, and every registry backend against the same rules.
if(TRELIK_PLATFORM STREQUAL win32)
  set(registry_backend_test win32/win32_registry_test.cpp)
else()
  set(registry_backend_test posix/registry_store_test.cpp)
endif()

trelik_add_test_executable(registry_tests
  SOURCES
    file_type_registration_test.cpp
    registry_conformance_test.cpp
    registry_test_support.cpp
    registry_text_test.cpp
    ${registry_backend_test}
  LIBRARIES trelik_shell)

if(TRELIK_PLATFORM STREQUAL posix)
  # The Linux desktop's view of the file types: the files it is made of, and the whole of it
  # against the real freedesktop tools.
  trelik_add_test_executable(desktop_integration_tests
    SOURCES
      posix/desktop_files_test.cpp
      posix/desktop_integration_test.cpp
      posix/desktop_types_test.cpp
      posix/xdg_config_edits_test.cpp
    LIBRARIES trelik_shell)
endif()
