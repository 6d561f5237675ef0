#include "shell/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/error.h"
#include "common/system_error.h"
#include "shell/file_type_registration.h"
#include "shell/registry_test_support.h"

namespace trelik {
namespace {

using testing::RegistryBackend;
using testing::RegistryConformance;

INSTANTIATE_TEST_SUITE_P(Win32, RegistryConformance,
                         ::testing::Values(RegistryBackend{
                             "Win32",
                             [](const std::string&) { return std::make_unique<Win32Registry>(); }}),
                         testing::BackendName);

struct QueryResult {
  int exitCode = -1;
  std::string output;  // with LF line ends
};

// Asks the system's own reg.exe, so that the check does not go through our code at all.
QueryResult RegQuery(const std::string& key) {
  const std::string command =
      "C:\\windows\\system32\\reg.exe query \"HKCU\\Software\\Classes\\" + key + "\" /s 2>nul";
  FILE* pipe = _popen(command.c_str(), "rb");
  EXPECT_NE(pipe, nullptr);
  QueryResult result;
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    for (std::size_t i = 0; i < count; ++i) {
      if (buffer[i] != '\r') result.output += buffer[i];
    }
  }
  result.exitCode = _pclose(pipe);
  return result;
}

// A template name of each test's own, so that nothing else in the prefix is touched and tests
// running at the same time in other processes never meet.
std::string TestTemplateName() {
  return std::string("My Site ") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}
constexpr const char* kExe = "C:\\Program Files\\Trelik\\trelik.exe";

class Win32RegistrationTest : public ::testing::Test {
 protected:
  void TearDown() override { UnregisterFileType(Context(), name_, name_); }
  RegistrationContext Context() {
    return {registry_, kExe, [this] { ++notifications_; }};
  }

  Win32Registry registry_;
  const std::string name_ = TestTemplateName();
  int notifications_ = 0;
};

TEST_F(Win32RegistrationTest, RegisterAndUnregisterThroughTheRealRegistry) {
  const std::string extension = std::string(".trelik_") + name_;
  const std::string type = std::string("trelik_") + name_;
  RegisterFileType(Context(), extension, type, true);
  EXPECT_EQ(notifications_, 1);

  const std::string root = "HKEY_CURRENT_USER\\Software\\Classes\\";
  const QueryResult extensionKey = RegQuery(extension);
  EXPECT_EQ(extensionKey.exitCode, 0);
  EXPECT_EQ(extensionKey.output, "\n" + root + extension + "\n" + "    (Default)    REG_SZ    " +
                                     type + "\n\n" + root + extension + "\\ShellNew\n" +
                                     "    NullFile    REG_SZ    \n\n");
  const QueryResult typeKey = RegQuery(type);
  EXPECT_EQ(typeKey.exitCode, 0);
  EXPECT_EQ(typeKey.output,
            "\n" + root + type + "\n" + "    (Default)    REG_SZ    " + type + "\n\n" + root +
                type + "\\DefaultIcon\n" + "    (Default)    REG_SZ    " + kExe + ",0\n\n" + root +
                type + "\\Shell\n\n" + root + type + "\\Shell\\Open\n" +
                "    (Default)    REG_SZ    &Open\n\n" + root + type + "\\Shell\\Open\\Command\n" +
                "    (Default)    REG_SZ    \"" + kExe + "\" \"%1\"\n\n");

  UnregisterFileType(Context(), name_, name_);
  EXPECT_EQ(notifications_, 2);
  EXPECT_EQ(RegQuery(extension).exitCode, 1);
  EXPECT_EQ(RegQuery(type).exitCode, 1);
}

// The empty "NullFile" string is stored as its terminating NUL alone.
TEST_F(Win32RegistrationTest, TheEmptyNewMenuValueTakesOneByte) {
  RegisterFileType(Context(), std::string(".trelik_") + name_, std::string("trelik_") + name_,
                   true);
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER,
                    (std::string("Software\\Classes\\.trelik_") + name_ + "\\ShellNew").c_str(), 0,
                    KEY_READ, &key),
      ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "NullFile", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 1u);
}

TEST_F(Win32RegistrationTest, UnregisterRemovesSubkeysThatOthersAdded) {
  RegisterFileType(Context(), std::string(".trelik_") + name_, std::string("trelik_") + name_,
                   true);
  for (const char* foreign : {"\\Shell\\Edit\\Command", "\\a\\b\\c", "\\DefaultIcon\\x"}) {
    const OpenedKey key(registry_, registry_.CreateKey(std::string("trelik_") + name_ + foreign));
    ASSERT_TRUE(registry_.SetString(key.Get(), "", "foreign"));
  }
  UnregisterFileType(Context(), name_, name_);
  EXPECT_EQ(RegQuery(std::string("trelik_") + name_).exitCode, 1);
}

// The system's own description of a registry result code, as the error box quotes it.
std::string SystemText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text(buffer, length);
  LocalFree(buffer);
  return CleanSystemMessage(text);
}

// Below a volatile key only volatile keys may be made, so the registry refuses the New-menu key.
TEST_F(Win32RegistrationTest, ARefusedKeyIsReportedWithTheSystemsReason) {
  const std::string extension = std::string(".trelik_") + name_;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Classes\\" + extension).c_str(), 0,
                            nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  try {
    RegisterFileType(Context(), extension, std::string("trelik_") + name_, true);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.what(),
              "Failed to set data for 'NullFile'\n" + SystemText(ERROR_CHILD_MUST_BE_VOLATILE));
  }
  EXPECT_EQ(notifications_, 0);
}

TEST(Win32Registry, ARefusedWriteSaysWhatTheSystemAnswered) {
  Win32Registry registry;
  const std::string path = testing::ScratchKey();
  const OpenedKey doomed(registry, registry.CreateKey(path));
  ASSERT_TRUE(registry.DeleteKey(RegistryKey::kRoot, path));
  EXPECT_FALSE(registry.SetString(doomed.Get(), "", "x"));
  // Windows answers that the key is deleted, Wine that its handle is no longer valid.
  const std::string failure = registry.LastFailure();
  EXPECT_TRUE(failure == SystemText(ERROR_KEY_DELETED) ||
              failure == SystemText(ERROR_INVALID_HANDLE))
      << failure;
}

}  // namespace
}  // namespace trelik
