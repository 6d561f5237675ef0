#include "common/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace trelik {

std::string UserName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr) {
    // The GECOS field holds the full name first, then office and telephone, after commas.
    std::string fullName = found->pw_gecos == nullptr ? "" : found->pw_gecos;
    fullName = fullName.substr(0, fullName.find(','));
    if (!fullName.empty()) return fullName;
    if (found->pw_name != nullptr && *found->pw_name != '\0') return found->pw_name;
  }
  const char* login = std::getenv("USER");
  return login == nullptr ? "" : login;
}

}  // namespace trelik
