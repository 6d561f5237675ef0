#include "shell/win32/ole_session.h"

#include <ole2.h>

namespace trelik {
namespace {

bool started = false;

}  // namespace

void UseOle() {
  if (started) return;
  // A failure leaves the thread as it was; the shell then works as far as it can without.
  started = SUCCEEDED(OleInitialize(nullptr));
}

void EndOle() {
  if (!started) return;
  OleUninitialize();
  started = false;
}

}  // namespace trelik
