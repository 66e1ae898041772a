#include "win32/http/inet_control.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <condition_variable>
#include <cwctype>
#include <mutex>
#include <thread>
#include <utility>

#include "win32/handles.h"
#include "win32/http/open_request.h"
#include "win32/message_pump.h"

namespace pravik::win32::http {
namespace {

// The worker reads ahead at most this much before it waits for the caller to take some, in reads
// of up to 256 KB (a kilobyte at a time costs a system call and a wake-up per kilobyte).
constexpr std::size_t kReadAhead = 8 << 20;
constexpr DWORD kMinReadSize = 16 * 1024, kMaxReadSize = 256 * 1024;
constexpr ULONGLONG kQuickRead = 50;  // ms

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

}  // namespace

// Shared by the caller and the worker. The caller may abandon it (cancel, time-out); the worker
// then stops at its next step and the last owner frees it.
struct InetControl::Job {
  std::mutex lock;
  std::condition_variable drained;
  Handle changed{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  bool abandoned = false;
  bool headers = false;
  bool failed = false;
  bool ended = false;
  unsigned status = 0;
  std::vector<std::pair<std::wstring, std::wstring>> headerList;  // names in lower case
  std::string body;
  std::size_t taken = 0;  // bytes of `body` already handed out
  ULONGLONG started = ::GetTickCount64();
  ULONGLONG lastProgress = started;

  void Signal() { ::SetEvent(changed.get()); }
  void Fail() {
    failed = true;
    Signal();
  }
};

namespace {

void ParseRawHeaders(const std::wstring& raw, std::vector<std::pair<std::wstring, std::wstring>>& out) {
  std::size_t pos = raw.find(L"\r\n");  // the status line is not a header
  while (pos != std::wstring::npos && pos < raw.size()) {
    pos += 2;
    const std::size_t end = raw.find(L"\r\n", pos);
    const std::wstring line = raw.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
    const std::size_t colon = line.find(L':');
    if (colon != std::wstring::npos) {
      std::wstring value = line.substr(colon + 1);
      const std::size_t first = value.find_first_not_of(L" \t");
      value = first == std::wstring::npos ? std::wstring() : value.substr(first);
      while (!value.empty() && (value.back() == L' ' || value.back() == L'\t')) value.pop_back();
      out.emplace_back(Lower(line.substr(0, colon)), std::move(value));
    }
    pos = end;
  }
}

void RunTransfer(const std::shared_ptr<InetControl::Job>& job, const std::wstring& url, TransferLimits limits) {
  auto fail = [&] {
    std::lock_guard<std::mutex> guard(job->lock);
    job->Fail();
  };
  InternetHandle session(::InternetOpenW(L"Molvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return fail();
  DWORD timeout = static_cast<DWORD>(limits.idle.count());
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
  InternetHandle connection, request;
  if (!OpenGetRequest(session.get(), url, connection, request)) return fail();

  DWORD status = 0, size = sizeof(status);
  ::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
  std::vector<std::pair<std::wstring, std::wstring>> headers;
  DWORD rawSize = 0;
  ::HttpQueryInfoW(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &rawSize, nullptr);
  if (rawSize > 0) {
    std::wstring raw(rawSize / sizeof(wchar_t) + 1, L'\0');
    DWORD got = rawSize;
    if (::HttpQueryInfoW(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &got, nullptr)) {
      raw.resize(got / sizeof(wchar_t));
      ParseRawHeaders(raw, headers);
    }
  }
  {
    std::lock_guard<std::mutex> guard(job->lock);
    if (job->abandoned) return;
    job->status = status;
    job->headerList = std::move(headers);
    job->headers = true;
    job->lastProgress = ::GetTickCount64();
    job->Signal();
  }

  std::uint64_t received = 0;
  std::vector<char> buffer(kMaxReadSize);
  DWORD readSize = kMinReadSize;
  for (;;) {
    {
      std::unique_lock<std::mutex> guard(job->lock);
      job->drained.wait(guard, [&] { return job->abandoned || job->body.size() - job->taken < kReadAhead; });
      if (job->abandoned) return;
    }
    // A read waits until its buffer is full, so its size follows the line: it grows while reads
    // come back at once and drops to the smallest when one had to wait, so a slow body is still
    // handed on in small steps. (Asking for what has arrived first costs more than it saves.)
    DWORD read = 0;
    const ULONGLONG before = ::GetTickCount64();
    const BOOL ok = ::InternetReadFile(request.get(), buffer.data(), readSize, &read);
    readSize = ::GetTickCount64() - before < kQuickRead ? std::min(readSize * 2, kMaxReadSize) : kMinReadSize;
    std::lock_guard<std::mutex> guard(job->lock);
    if (job->abandoned) return;
    if (!ok) return job->Fail();
    if (read == 0) {
      job->ended = true;
      return job->Signal();
    }
    received += read;
    if (received > limits.maxBody) return job->Fail();
    if (job->taken > kReadAhead) {  // keep the buffer from growing with what was handed out
      job->body.erase(0, job->taken);
      job->taken = 0;
    }
    job->body.append(buffer.data(), read);
    job->lastProgress = ::GetTickCount64();
    job->Signal();
  }
}

// Past either limit the job is failed; the caller's lock is held.
bool OutOfTime(InetControl::Job& job, const TransferLimits& limits) {
  const ULONGLONG now = ::GetTickCount64();
  if (now - job.lastProgress >= static_cast<ULONGLONG>(limits.idle.count()) ||
      now - job.started >= static_cast<ULONGLONG>(limits.total.count())) {
    job.abandoned = true;
    job.failed = true;
    job.drained.notify_all();
    return true;
  }
  return false;
}

DWORD TimeLeft(const InetControl::Job& job, const TransferLimits& limits) {
  const ULONGLONG now = ::GetTickCount64();
  const ULONGLONG idleEnd = job.lastProgress + static_cast<ULONGLONG>(limits.idle.count());
  const ULONGLONG totalEnd = job.started + static_cast<ULONGLONG>(limits.total.count());
  const ULONGLONG end = std::min(idleEnd, totalEnd);
  return end > now ? static_cast<DWORD>(std::min<ULONGLONG>(end - now, 0x7FFFFFFF)) : 0;
}

}  // namespace

InetControl::InetControl(TransferLimits limits) : limits_(limits) {}

InetControl::~InetControl() { Cancel(); }

void InetControl::Cancel() noexcept {
  if (!job_) return;
  {
    std::lock_guard<std::mutex> guard(job_->lock);
    job_->abandoned = true;
    job_->drained.notify_all();
  }
  job_.reset();
}

bool InetControl::Execute() {
  Cancel();
  auto job = std::make_shared<Job>();
  if (!job->changed) return false;
  try {
    std::thread(RunTransfer, job, url_, limits_).detach();
  } catch (const std::system_error&) {
    return false;
  }
  job_ = std::move(job);
  return true;
}

bool InetControl::StillExecuting() {
  if (!job_) return false;
  std::lock_guard<std::mutex> guard(job_->lock);
  if (job_->headers || job_->failed) return false;
  return !OutOfTime(*job_, limits_);
}

bool InetControl::Wait(DWORD timeoutMs) {
  HANDLE changed = job_->changed.get();
  if (wait_) return wait_(changed, timeoutMs);
  ::WaitForSingleObject(changed, timeoutMs);
  return true;
}

void InetControl::WaitForChange() {
  if (!job_) return;
  DWORD left;
  {
    std::lock_guard<std::mutex> guard(job_->lock);
    if (job_->failed || OutOfTime(*job_, limits_)) return;
    left = TimeLeft(*job_, limits_);
  }
  const auto job = job_;  // the wait may run handlers that cancel this control
  if (!Wait(left)) {
    std::lock_guard<std::mutex> guard(job->lock);
    job->abandoned = true;
    job->failed = true;
    job->drained.notify_all();
  }
}

bool InetControl::failed() const {
  if (!job_) return false;
  std::lock_guard<std::mutex> guard(job_->lock);
  return job_->failed;
}

unsigned InetControl::status() const {
  if (!job_) return 0;
  std::lock_guard<std::mutex> guard(job_->lock);
  return job_->headers ? job_->status : 0;
}

bool InetControl::bodyEnded() const {
  if (!job_) return false;
  std::lock_guard<std::mutex> guard(job_->lock);
  return job_->ended && job_->taken == job_->body.size();
}

std::wstring InetControl::GetHeader(const std::wstring& name) const {
  if (!job_) return {};
  const std::wstring wanted = Lower(name);
  std::lock_guard<std::mutex> guard(job_->lock);
  for (const auto& [key, value] : job_->headerList)
    if (key == wanted) return value;
  return {};
}

std::optional<std::vector<std::uint8_t>> InetControl::GetChunk(std::size_t size,
                                                               std::optional<std::chrono::milliseconds> partialAfter) {
  const auto job = job_;  // the wait may run handlers that cancel this control
  if (!job) return std::nullopt;
  const ULONGLONG asked = ::GetTickCount64();
  for (;;) {
    DWORD left;
    {
      std::lock_guard<std::mutex> guard(job->lock);
      if (job->failed) return std::nullopt;
      const std::size_t available = job->body.size() - job->taken;
      const ULONGLONG waited = ::GetTickCount64() - asked;
      const bool patienceOver = partialAfter && waited >= static_cast<ULONGLONG>(partialAfter->count());
      if (available >= size || job->ended || (patienceOver && available > 0)) {
        const std::size_t n = std::min(size, available);
        std::vector<std::uint8_t> chunk(job->body.begin() + static_cast<std::ptrdiff_t>(job->taken),
                                        job->body.begin() + static_cast<std::ptrdiff_t>(job->taken + n));
        job->taken += n;
        job->drained.notify_all();
        return chunk;
      }
      if (job->abandoned || OutOfTime(*job, limits_)) return std::nullopt;
      left = TimeLeft(*job, limits_);
      if (partialAfter && available > 0) {  // wake up when the patience ends, to hand on what is there
        const auto patience = static_cast<ULONGLONG>(partialAfter->count());
        left = std::min<DWORD>(left, static_cast<DWORD>(patience - std::min(waited, patience)));
      }
    }
    HANDLE changed = job->changed.get();
    const bool goOn = wait_ ? wait_(changed, left) : (::WaitForSingleObject(changed, left), true);
    if (!goOn || job_ != job) {
      std::lock_guard<std::mutex> guard(job->lock);
      job->abandoned = true;
      job->failed = true;
      job->drained.notify_all();
      return std::nullopt;
    }
  }
}

bool WaitPumpingMessages(HANDLE changed, DWORD timeoutMs) {
  const DWORD r = ::MsgWaitForMultipleObjectsEx(1, &changed, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (r != WAIT_OBJECT_0 + 1) return true;
  return PumpPendingMessages();
}

}  // namespace pravik::win32::http
