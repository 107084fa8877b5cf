// A worker thread. It hands work to the user-interface thread through synchronised calls, during
// which it waits, and its completion runs there too once the body has returned. Nobody owns a
// running worker: it keeps itself alive until its completion has run.
#pragma once
#include <atomic>
#include <functional>
#include <memory>

namespace ui {

class Thread : public std::enable_shared_from_this<Thread> {
 public:
  virtual ~Thread() = default;
  // Runs Execute on a new thread (skipped when a stop was requested before), then OnTerminate on
  // the user-interface thread. The object must be owned by a shared_ptr.
  void Start();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  std::function<void()> OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Runs fn on the user-interface thread and waits for it.
  void Synchronize(const std::function<void()>& fn);

 private:
  std::atomic<bool> terminated_{false};
};

}  // namespace ui
