# The ShellOperations contract, checked against the fake and against the platform's own shell.
trelik_add_test_executable(shell_conformance_tests
  SOURCES
    shell_conformance_test.cpp
    shell_test_support.cpp
    ${TRELIK_PLATFORM}/${TRELIK_PLATFORM}_shell_conformance_test.cpp
  LIBRARIES trelik_shell)
