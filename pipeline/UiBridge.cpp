#include "UiBridge.h"

#include <chrono>

#include "zip/ArchiveError.h"

namespace vz::pipeline {
namespace {

template <typename T>
void Upsert(std::vector<std::pair<int, T>>& slots, int slot, T value) {
  for (auto& entry : slots) {
    if (entry.first == slot) {
      entry.second = std::move(value);
      return;
    }
  }
  slots.emplace_back(slot, std::move(value));
}

}  // namespace

void CUiBridge::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  dispatcher_.Post([this] { Flush(); });
}

void CUiBridge::SetValue(int slot, int value) {
  std::lock_guard lock(mutex_);
  Upsert(values_, slot, value);
  Schedule();
}

void CUiBridge::SetText(int slot, std::string text) {
  std::lock_guard lock(mutex_);
  Upsert(texts_, slot, std::move(text));
  Schedule();
}

void CUiBridge::AddRow(EntryRow row) {
  std::lock_guard lock(mutex_);
  rows_.push_back(std::move(row));
  Schedule();
}

void CUiBridge::ClearRows() {
  std::lock_guard lock(mutex_);
  rows_.clear();
  clear_ = true;
  Schedule();
}

void CUiBridge::Finished() {
  std::lock_guard lock(mutex_);
  finished_ = true;
  Schedule();
}

void CUiBridge::ShowMessage(const UserMessage& message) {
  std::unique_lock lock(mutex_);
  message_ = message;
  messageShown_ = false;
  Schedule();
  while (!messageShown_) {
    if (control_.IsStopped()) {
      message_.reset();
      throw CArchiveError(kStopped);
    }
    answered_.wait_for(lock, std::chrono::milliseconds(50));
  }
}

void CUiBridge::Flush() {
  if (control_.IsStopped()) {
    std::lock_guard lock(mutex_);
    scheduled_ = false;
    return;
  }
  if (control_.IsPaused()) {
    // Kept for the Flush that follows Resume.
    std::lock_guard lock(mutex_);
    scheduled_ = false;
    return;
  }
  bool clear, finished;
  std::vector<std::pair<int, int>> values;
  std::vector<std::pair<int, std::string>> texts;
  std::vector<EntryRow> rows;
  std::optional<UserMessage> message;
  {
    std::lock_guard lock(mutex_);
    scheduled_ = false;
    clear = std::exchange(clear_, false);
    finished = std::exchange(finished_, false);
    values.swap(values_);
    texts.swap(texts_);
    rows.swap(rows_);
    message = std::move(message_);
    message_.reset();
  }
  if (clear && target_.clearRows) target_.clearRows();
  if (!rows.empty() && target_.rows) target_.rows(rows);
  for (const auto& [slot, value] : values) {
    if (target_.value) target_.value(slot, value);
  }
  for (const auto& [slot, text] : texts) {
    if (target_.text) target_.text(slot, text);
  }
  if (message) {
    if (target_.message) target_.message(*message);
    {
      std::lock_guard lock(mutex_);
      messageShown_ = true;
    }
    answered_.notify_all();
  }
  if (finished && target_.finished) target_.finished();
}

}  // namespace vz::pipeline
