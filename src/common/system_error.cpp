#include "common/system_error.h"

namespace trelik {

std::string CleanSystemMessage(std::string message) {
  while (!message.empty() &&
         (message.back() == ' ' || message.back() == '\t' || message.back() == '\r' ||
          message.back() == '\n' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

}  // namespace trelik
