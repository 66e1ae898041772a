#include "win32/http/inet_transfer.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "win32/handles.h"
#include "win32/http/open_request.h"

namespace pravik::win32::http {
namespace {

// State shared by the caller and the worker that does the blocking WinINet calls. The caller
// waits a bounded time; past it, it marks the job abandoned and goes on, and the worker stops at
// its next step (WinINet's own time-outs bound each blocking call).
struct FetchJob {
  std::mutex lock;
  bool abandoned = false;
  Handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::optional<FetchResult> result;
};

// Workers still running, counted so a library holding this code reports itself in use; and the
// workers whose callers gave up, which the next call waits for so time-outs do not pile threads up.
std::atomic<long> g_running{0};
std::mutex g_lingeringLock;
std::vector<Handle> g_lingering;

bool Abandoned(FetchJob& job) {
  std::lock_guard<std::mutex> guard(job.lock);
  return job.abandoned;
}

void RunFetch(const std::shared_ptr<FetchJob>& job, std::wstring url, FetchLimits limits) {
  InternetHandle session(::InternetOpenW(L"Pravik", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) {
    ::SetEvent(job->done.get());
    return;
  }
  DWORD timeout = static_cast<DWORD>(limits.total.count());
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));

  std::optional<FetchResult> result;
  // http:// and https:// alike (the same request set-up as the updater's transfers).
  InternetHandle connection, request;
  if (OpenGetRequest(session.get(), url, connection, request)) {
    FetchResult fetched;
    DWORD status = 0, size = sizeof(status);
    if (::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
      fetched.status = status;
    // An announced length lets a connection cut midway show as the failure it is.
    DWORD announced = 0;
    size = sizeof(announced);
    const bool hasLength = ::HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                            &announced, &size, nullptr) != FALSE;
    char buffer[4096];
    // No status line at all (the server closed without answering) is no answer.
    bool ok = fetched.status != 0;
    while (ok) {
      DWORD read = 0;
      if (!::InternetReadFile(request.get(), buffer, sizeof(buffer), &read)) {
        ok = false;
        break;
      }
      if (read == 0) break;
      if (Abandoned(*job)) {
        ok = false;
        break;
      }
      if (fetched.body.size() + read > limits.maxBytes) {
        ok = false;
        break;
      }
      fetched.body.append(buffer, read);
    }
    if (ok && hasLength && fetched.body.size() != announced) ok = false;
    if (ok) result = std::move(fetched);
  }
  request.reset();
  connection.reset();
  std::lock_guard<std::mutex> guard(job->lock);
  if (job->abandoned) return;  // nobody waits for this answer any more
  job->result = std::move(result);
  ::SetEvent(job->done.get());
}

struct WorkerStart {
  std::shared_ptr<FetchJob> job;
  std::wstring url;
  FetchLimits limits;
  HMODULE pin = nullptr;
};

// The worker holds a reference on the module its code lives in and drops it only as it exits,
// so a library unloaded by its host while a fetch is still running stays mapped until then.
DWORD WINAPI WorkerMain(void* parameter) {
  HMODULE pin = nullptr;
  {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    pin = start->pin;
    RunFetch(start->job, std::move(start->url), start->limits);
  }
  --g_running;
  if (pin) ::FreeLibraryAndExitThread(pin, 0);
  return 0;
}

// Waits up to the limit for earlier callers' workers; false when one of them still runs.
bool EarlierWorkersEnded(std::chrono::milliseconds limit) {
  std::lock_guard<std::mutex> guard(g_lingeringLock);
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(limit.count());
  while (!g_lingering.empty()) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    if (::WaitForSingleObject(g_lingering.back().get(), left) != WAIT_OBJECT_0) return false;
    g_lingering.pop_back();
  }
  return true;
}

}  // namespace

bool TransfersRunning() noexcept { return g_running.load() != 0; }

std::optional<FetchResult> FetchUrl(const std::wstring& url, const FetchLimits& limits) {
  if (!EarlierWorkersEnded(limits.total)) return std::nullopt;
  auto job = std::make_shared<FetchJob>();
  if (!job->done) return std::nullopt;
  auto start = std::make_unique<WorkerStart>(WorkerStart{job, url, limits, nullptr});
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WorkerMain), &start->pin);
  const HMODULE pin = start->pin;
  ++g_running;
  Handle worker(::CreateThread(nullptr, 0, WorkerMain, start.get(), 0, nullptr));
  if (!worker) {
    --g_running;
    if (pin) ::FreeLibrary(pin);
    return std::nullopt;
  }
  start.release();  // the worker owns it now
  const DWORD wait = ::WaitForSingleObject(job->done.get(), static_cast<DWORD>(limits.total.count()));
  if (wait == WAIT_OBJECT_0) {
    ::WaitForSingleObject(worker.get(), INFINITE);
    std::lock_guard<std::mutex> guard(job->lock);
    return std::move(job->result);
  }
  {
    std::lock_guard<std::mutex> guard(job->lock);
    job->abandoned = true;
  }
  // The worker ends once WinINet returns from its current call (each is bounded by the limits);
  // the next fetch waits for it first.
  std::lock_guard<std::mutex> guard(g_lingeringLock);
  g_lingering.push_back(std::move(worker));
  return std::nullopt;
}

}  // namespace pravik::win32::http
