#include "ui/widgets.h"

#include "common/error.h"

namespace trelik {

bool Application::Dispatch(const std::function<void()>& handler) {
  if (!handler) return true;
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unexpected error");
  }
  return false;
}

}  // namespace trelik
