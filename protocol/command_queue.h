// First-in, first-out queue of owned command records.
#pragma once
#include <deque>
#include <memory>

#include "protocol/scanner_command.h"

class CommandQueue {
 public:
  void AddTail(std::unique_ptr<ScannerCommand> command) { entries.push_back(std::move(command)); }

  // The head record, now owned by the caller; null when the queue is empty.
  std::unique_ptr<ScannerCommand> RemoveHead() {
    if (entries.empty()) return nullptr;
    auto head = std::move(entries.front());
    entries.pop_front();
    return head;
  }

  int GetCount() const { return static_cast<int>(entries.size()); }

 private:
  std::deque<std::unique_ptr<ScannerCommand>> entries;
};

// Releases every record, head first, and leaves the queue empty.
inline void ClearQueue(CommandQueue& queue) {
  while (queue.GetCount() > 0) queue.RemoveHead();
}
