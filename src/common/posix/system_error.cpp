#include <cerrno>
#include <cstring>

#include "common/system_error.h"

namespace trelik {

std::string LastSystemErrorText() { return CleanSystemMessage(std::strerror(errno)); }

}  // namespace trelik
