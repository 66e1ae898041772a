#include "win32/http/inet_transfer.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <mutex>
#include <thread>

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

}  // namespace

std::optional<FetchResult> FetchUrl(const std::wstring& url, const FetchLimits& limits) {
  auto job = std::make_shared<FetchJob>();
  if (!job->done) return std::nullopt;
  std::thread worker(RunFetch, job, url, limits);
  const DWORD wait = ::WaitForSingleObject(job->done.get(), static_cast<DWORD>(limits.total.count()));
  if (wait == WAIT_OBJECT_0) {
    worker.join();
    std::lock_guard<std::mutex> guard(job->lock);
    return std::move(job->result);
  }
  {
    std::lock_guard<std::mutex> guard(job->lock);
    job->abandoned = true;
  }
  // The worker holds its own share of the job and ends once WinINet returns from its call.
  worker.detach();
  return std::nullopt;
}

}  // namespace pravik::win32::http
