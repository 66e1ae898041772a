#include "testsupport/http_test_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace pravik::testsupport {
namespace {

struct WinsockUse {
  WinsockUse() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUse() { ::WSACleanup(); }
};

bool SendAll(SOCKET s, const char* data, std::size_t size) {
  while (size > 0) {
    const int sent = ::send(s, data, static_cast<int>(std::min<std::size_t>(size, 65536)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<HttpRequest> ReadRequest(SOCKET s) {
  std::string data;
  char buffer[4096];
  while (data.find("\r\n\r\n") == std::string::npos) {
    const int n = ::recv(s, buffer, sizeof(buffer), 0);
    if (n <= 0) return std::nullopt;
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > 1 << 20) return std::nullopt;
  }
  HttpRequest request;
  const auto lineEnd = data.find("\r\n");
  const std::string line = data.substr(0, lineEnd);
  const auto sp1 = line.find(' ');
  const auto sp2 = line.find(' ', sp1 + 1);
  request.method = line.substr(0, sp1);
  request.path = line.substr(sp1 + 1, sp2 - sp1 - 1);
  std::size_t pos = lineEnd + 2;
  while (pos < data.size()) {
    const auto end = data.find("\r\n", pos);
    if (end == pos || end == std::string::npos) break;
    const std::string header = data.substr(pos, end - pos);
    const auto colon = header.find(':');
    if (colon != std::string::npos) {
      std::string value = header.substr(colon + 1);
      value.erase(0, value.find_first_not_of(' '));
      request.headers[Lower(header.substr(0, colon))] = value;
    }
    pos = end + 2;
  }
  return request;
}

}  // namespace

HttpTestServer::HttpTestServer() : HttpTestServer(0) {}

HttpTestServer::HttpTestServer(unsigned short fixedPort) {
  static WinsockUse winsock;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(fixedPort);
  BOOL exclusive = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof(exclusive));
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(s, SOMAXCONN) != 0) {
    ::closesocket(s);
    listener_ = INVALID_SOCKET;
    stopping_ = true;
    return;
  }
  int size = sizeof(address);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
  listener_ = s;
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer() { Stop(); }

void HttpTestServer::Stop() {
  if (stopping_.exchange(true)) return;
  if (static_cast<SOCKET>(listener_) != INVALID_SOCKET) ::closesocket(static_cast<SOCKET>(listener_));
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard<std::mutex> guard(lock_);
    connections.swap(connections_);
  }
  for (auto& t : connections)
    if (t.joinable()) t.join();
}

void HttpTestServer::Route(const std::string& path, HttpResponse response) {
  std::lock_guard<std::mutex> guard(lock_);
  routes_[path] = std::move(response);
}

void HttpTestServer::SetHandler(Handler handler) {
  std::lock_guard<std::mutex> guard(lock_);
  handler_ = std::move(handler);
}

std::string HttpTestServer::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::wstring HttpTestServer::Url(const std::string& path) const {
  const std::string url = "http://" + HostPort() + path;
  return std::wstring(url.begin(), url.end());
}

std::vector<HttpRequest> HttpTestServer::requests() const {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

std::size_t HttpTestServer::RequestCount(const std::string& path) const {
  std::lock_guard<std::mutex> guard(lock_);
  return static_cast<std::size_t>(
      std::count_if(requests_.begin(), requests_.end(), [&](const HttpRequest& r) { return r.path == path; }));
}

void HttpTestServer::AcceptLoop() {
  for (;;) {
    const SOCKET client = ::accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::lock_guard<std::mutex> guard(lock_);
    if (stopping_) {
      ::closesocket(client);
      return;
    }
    connections_.emplace_back([this, client] { Serve(client); });
  }
}

HttpResponse HttpTestServer::Answer(const HttpRequest& request) {
  std::lock_guard<std::mutex> guard(lock_);
  requests_.push_back(request);
  const auto route = routes_.find(request.path);
  if (route != routes_.end()) return route->second;
  if (handler_) return handler_(request);
  HttpResponse missing;
  missing.status = 404;
  missing.reason = "Not Found";
  missing.body = "<html><body>404 Not Found</body></html>";
  return missing;
}

void HttpTestServer::Serve(std::uintptr_t socketValue) {
  const SOCKET s = static_cast<SOCKET>(socketValue);
  DWORD timeout = 10000;
  ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  const auto request = ReadRequest(s);
  if (!request) {
    ::closesocket(s);
    return;
  }
  const HttpResponse response = Answer(*request);
  if (response.closeWithoutAnswer) {
    ::closesocket(s);
    return;
  }
  if (response.delayBeforeHeadersMs) ::Sleep(static_cast<DWORD>(response.delayBeforeHeadersMs));

  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
  for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
  if (response.chunked)
    head += "Transfer-Encoding: chunked\r\n";
  else if (response.lengthOverride)
    head += "Content-Length: " + *response.lengthOverride + "\r\n";
  else if (response.contentLength)
    head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  if (!SendAll(s, head.data(), head.size()) || request->method == "HEAD") {
    ::closesocket(s);
    return;
  }
  if (response.stallAfterHeadersMs) ::Sleep(static_cast<DWORD>(response.stallAfterHeadersMs));

  const std::size_t limit = std::min(response.body.size(), response.cutAfterBytes);
  bool ok = true;
  if (response.chunked) {
    constexpr std::size_t kChunk = 1000;
    for (std::size_t at = 0; ok && at < limit; at += kChunk) {
      const std::size_t n = std::min(kChunk, limit - at);
      char size[32];
      std::snprintf(size, sizeof(size), "%zx\r\n", n);
      ok = SendAll(s, size, std::strlen(size)) && SendAll(s, response.body.data() + at, n) && SendAll(s, "\r\n", 2);
    }
    if (ok && limit == response.body.size()) SendAll(s, "0\r\n\r\n", 5);
  } else if (response.dripDelayMs) {
    const std::size_t step = std::max<std::size_t>(response.dripBytes, 1);
    for (std::size_t at = 0; ok && at < limit && !stopping_; at += step) {
      ok = SendAll(s, response.body.data() + at, std::min(step, limit - at));
      ::Sleep(static_cast<DWORD>(response.dripDelayMs));
    }
  } else {
    SendAll(s, response.body.data(), limit);
  }
  ::shutdown(s, SD_SEND);
  ::closesocket(s);
}

}  // namespace pravik::testsupport
