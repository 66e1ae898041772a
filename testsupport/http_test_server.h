#pragma once
// A loopback HTTP server whose every answer the test decides: status, headers, Content-Length
// (true, false or missing), chunked bodies, delays, stalls, drips and connections cut midway.
// It listens on 127.0.0.1 at a free port and serves each connection on its own thread.
#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pravik::testsupport {

struct HttpRequest {
  std::string method;
  std::string path;  // as sent, with the query
  std::map<std::string, std::string> headers;  // names in lower case
};

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  bool contentLength = true;                 // send "Content-Length: <body size>"
  std::optional<std::string> lengthOverride;  // send this Content-Length text instead
  bool chunked = false;                      // Transfer-Encoding: chunked (no Content-Length)
  int delayBeforeHeadersMs = 0;              // wait before answering at all
  int stallAfterHeadersMs = 0;               // wait between the headers and the body
  int dripDelayMs = 0;                       // send the body a byte at a time with this pause
  std::size_t dripBytes = 1;                 // or this many bytes at a time
  std::size_t cutAfterBytes = static_cast<std::size_t>(-1);  // close after this many body bytes
  bool closeWithoutAnswer = false;           // accept, read the request, close
};

class HttpTestServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;
  HttpTestServer();
  // Listens on a fixed loopback port (for programs whose server address is a build setting);
  // port() is 0 when the port is taken. Tests that use one hold a CTest RESOURCE_LOCK on it.
  explicit HttpTestServer(unsigned short fixedPort);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // A fixed answer for one path; other paths get 404 unless a handler is set.
  void Route(const std::string& path, HttpResponse response);
  void SetHandler(Handler handler);

  [[nodiscard]] unsigned short port() const noexcept { return port_; }
  [[nodiscard]] std::string HostPort() const;        // "127.0.0.1:<port>"
  [[nodiscard]] std::wstring Url(const std::string& path) const;
  [[nodiscard]] std::vector<HttpRequest> requests() const;
  [[nodiscard]] std::size_t RequestCount(const std::string& path) const;
  // Stops accepting and waits for every connection thread (each is bounded by its own plan).
  void Stop();

 private:
  void AcceptLoop();
  void Serve(std::uintptr_t socket);
  HttpResponse Answer(const HttpRequest& request);

  std::uintptr_t listener_;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex lock_;
  std::map<std::string, HttpResponse> routes_;
  Handler handler_;
  std::vector<HttpRequest> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace pravik::testsupport
