#include "ui/thread.h"

#include <thread>

#include "ui/application.h"

namespace ui {

void Thread::Start() {
  std::thread([self = shared_from_this()] {
    if (!self->Terminated()) {
      try {
        self->Execute();
      } catch (...) {
        // The body reports its own failures through its state; nothing may escape a thread.
      }
    }
    self->Synchronize([&] {
      if (self->OnTerminate) self->OnTerminate();
    });
  }).detach();
}

void Thread::Synchronize(const std::function<void()>& fn) { Application::Instance().Synchronize(fn); }

}  // namespace ui
