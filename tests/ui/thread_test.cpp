#include <gtest/gtest.h>

#include <atomic>

#include "support/wait.h"
#include "ui/application.h"
#include "ui/thread.h"

namespace {

using testing_support::WaitFor;

class Worker : public ui::Thread {
 public:
  std::vector<int> steps;  // written only on the user-interface thread
  std::atomic<bool> executed{false};
  std::atomic<bool> finished{false};

 protected:
  void Execute() override {
    executed = true;
    for (int i = 1; i <= 3; ++i)
      Synchronize([this, i] {
        EXPECT_TRUE(ui::Application::Instance().IsUiThread());
        steps.push_back(i);
      });
  }
};


TEST(Thread, SynchronisedCallsAndTheCompletionRunOnTheUserInterfaceThreadInOrder) {
  auto worker = std::make_shared<Worker>();
  worker->OnTerminate = [w = worker.get()] {
    EXPECT_TRUE(ui::Application::Instance().IsUiThread());
    w->steps.push_back(99);
    w->finished = true;
  };
  worker->Start();
  ASSERT_TRUE(WaitFor([&] { return worker->finished.load(); }));
  EXPECT_EQ(worker->steps, (std::vector<int>{1, 2, 3, 99}));
}

TEST(Thread, AStopRequestedBeforeTheStartSkipsTheBodyButNotTheCompletion) {
  auto worker = std::make_shared<Worker>();
  worker->OnTerminate = [w = worker.get()] { w->finished = true; };
  worker->Terminate();
  worker->Start();
  ASSERT_TRUE(WaitFor([&] { return worker->finished.load(); }));
  EXPECT_FALSE(worker->executed);
}

TEST(Thread, TheWorkerOutlivesEveryOtherReferenceUntilItsCompletionHasRun) {
  std::weak_ptr<Worker> weak;
  std::atomic<bool> done{false};
  {
    auto worker = std::make_shared<Worker>();
    weak = worker;
    worker->OnTerminate = [&done] { done = true; };
    worker->Start();
  }
  ASSERT_TRUE(WaitFor([&] { return done.load(); }));
  EXPECT_TRUE(WaitFor([&] { return weak.expired(); }));
}

}  // namespace
