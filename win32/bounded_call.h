#pragma once
// Runs a blocking platform call on a worker thread and waits a bounded time for its answer.
// Past the deadline the caller goes on with nothing; the worker ends on its own later.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "win32/handles.h"

namespace pravik::win32 {

template <typename T>
std::optional<T> CallWithDeadline(std::function<T()> work, std::chrono::milliseconds deadline) {
  struct Shared {
    std::mutex lock;
    std::optional<T> answer;
    Handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  };
  auto shared = std::make_shared<Shared>();
  if (!shared->done) return std::nullopt;
  std::thread worker([shared, work = std::move(work)] {
    T value = work();
    std::lock_guard<std::mutex> guard(shared->lock);
    shared->answer = std::move(value);
    ::SetEvent(shared->done.get());
  });
  const bool inTime = ::WaitForSingleObject(shared->done.get(), static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
  if (inTime) {
    worker.join();
    std::lock_guard<std::mutex> guard(shared->lock);
    return std::move(shared->answer);
  }
  worker.detach();
  return std::nullopt;
}

}  // namespace pravik::win32
