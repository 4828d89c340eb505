#include <gtest/gtest.h>

#include <deque>
#include <thread>

#include "pipeline/UiBridge.h"
#include "zip/ArchiveError.h"

namespace vz::pipeline {
namespace {

// The UI thread's queue, pumped by the test.
struct QueueDispatcher : IUiDispatcher {
  void Post(std::function<void()> call) override {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
  }
  std::size_t Pending() {
    std::lock_guard lock(mutex);
    return calls.size();
  }
  void Pump() {
    for (;;) {
      std::function<void()> call;
      {
        std::lock_guard lock(mutex);
        if (calls.empty()) return;
        call = std::move(calls.front());
        calls.pop_front();
      }
      call();
    }
  }
  std::mutex mutex;
  std::deque<std::function<void()>> calls;
};

struct Seen {
  std::vector<std::pair<int, int>> values;
  std::vector<std::string> texts;
  std::vector<std::string> rows;
  std::vector<std::string> messages;
  int clears = 0, finished = 0;
  CUiBridge::Target Target() {
    CUiBridge::Target t;
    t.value = [this](int slot, int v) { values.emplace_back(slot, v); };
    t.text = [this](int, const std::string& s) { texts.push_back(s); };
    t.rows = [this](const std::vector<EntryRow>& r) {
      for (const auto& row : r) rows.push_back(row.texts[0]);
    };
    t.clearRows = [this] {
      ++clears;
      rows.clear();
    };
    t.message = [this](const UserMessage& m) { messages.push_back(m.text); };
    t.finished = [this] { ++finished; };
    return t;
  }
};

EntryRow Row(const std::string& name) {
  EntryRow row;
  row.texts[0] = name;
  return row;
}

class UiBridgeTest : public ::testing::Test {
 protected:
  UiBridgeTest() : bridge_(dispatcher_, control_) { bridge_.SetTarget(seen_.Target()); }
  QueueDispatcher dispatcher_;
  CJobControl control_;
  CUiBridge bridge_;
  Seen seen_;
};

TEST_F(UiBridgeTest, AFloodOfReportsQueuesOneCallWithTheLatestValues) {
  for (int i = 0; i < 10000; ++i) bridge_.SetValue(0, i % 100);
  bridge_.SetValue(1, 7);
  bridge_.SetText(0, "a");
  bridge_.SetText(0, "b");
  EXPECT_EQ(dispatcher_.Pending(), 1u);
  dispatcher_.Pump();
  EXPECT_EQ(seen_.values, (std::vector<std::pair<int, int>>{{0, 99}, {1, 7}}));
  EXPECT_EQ(seen_.texts, std::vector<std::string>{"b"});
}

TEST_F(UiBridgeTest, RowsArriveInOrderAfterAClear) {
  bridge_.AddRow(Row("old"));
  dispatcher_.Pump();
  bridge_.ClearRows();
  bridge_.AddRow(Row("one"));
  bridge_.AddRow(Row("two"));
  bridge_.Finished();
  dispatcher_.Pump();
  EXPECT_EQ(seen_.clears, 1);
  EXPECT_EQ(seen_.rows, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(seen_.finished, 1);
}

TEST_F(UiBridgeTest, NothingShowsWhilePausedOrAfterAStop) {
  bridge_.SetValue(0, 10);
  control_.Pause();
  dispatcher_.Pump();
  EXPECT_TRUE(seen_.values.empty());
  control_.Resume();
  bridge_.Flush();
  EXPECT_EQ(seen_.values, (std::vector<std::pair<int, int>>{{0, 10}}));
  bridge_.SetValue(0, 20);
  control_.Stop();
  dispatcher_.Pump();
  EXPECT_EQ(seen_.values.size(), 1u);
}

TEST_F(UiBridgeTest, AMessageWaitsForTheUiThreadButNotForAStoppedJob) {
  std::thread worker([this] { bridge_.ShowMessage({"hello", "caption", MessageIcon::Information}); });
  while (dispatcher_.Pending() == 0) std::this_thread::yield();
  dispatcher_.Pump();
  worker.join();
  EXPECT_EQ(seen_.messages, std::vector<std::string>{"hello"});

  int code = 0;
  std::thread stopped([this, &code] {
    try {
      bridge_.ShowMessage({"never shown", "caption", MessageIcon::Information});
    } catch (const CArchiveError& e) {
      code = e.Code();
    }
  });
  while (dispatcher_.Pending() == 0) std::this_thread::yield();
  control_.Stop();
  stopped.join();  // no UI pump needed: the stop ends the wait
  EXPECT_EQ(code, kStopped);
  dispatcher_.Pump();
  EXPECT_EQ(seen_.messages.size(), 1u);
}

}  // namespace
}  // namespace vz::pipeline
