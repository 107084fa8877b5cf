#include "support/http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>

namespace testing_support {
namespace {

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

HttpReply NotFound() {
  HttpReply r;
  r.status = "404 Not Found";
  r.body = "<html><body>Not Found</body></html>";
  return r;
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
  size_t at = 0;
  while (at < headers.size()) {
    size_t end = headers.find("\r\n", at);
    std::string line = headers.substr(at, end - at);
    size_t colon = line.find(':');
    if (colon != std::string::npos && SameText(line.substr(0, colon), name)) {
      size_t value = line.find_first_not_of(' ', colon + 1);
      return value == std::string::npos ? std::string() : line.substr(value);
    }
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return {};
}

HttpServer::HttpServer() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  listen(listener_, SOMAXCONN);
  int size = sizeof addr;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &size);
  port_ = ntohs(addr.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() {
  stopping_ = true;
  acceptor_.join();
  closesocket(listener_);
  for (auto& t : connections_) t.join();
  WSACleanup();
}

std::string HttpServer::Host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string HttpServer::Url(const std::string& path) const { return "http://" + Host() + path; }

void HttpServer::Serve(const std::string& target, HttpReply reply) {
  std::lock_guard lock(mutex_);
  replies_[target] = std::make_shared<const HttpReply>(std::move(reply));
}

std::vector<HttpRequest> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::AcceptLoop() {
  while (!stopping_) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(listener_, &set);
    timeval wait{0, 20000};
    if (select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET s = accept(listener_, nullptr, nullptr);
    if (s == INVALID_SOCKET) continue;
    std::lock_guard lock(mutex_);
    connections_.emplace_back([this, s] { Handle(s); });
  }
}

bool HttpServer::Send(SOCKET s, const char* data, size_t size) {
  while (size > 0) {
    int n = send(s, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void HttpServer::WaitForClientToClose(SOCKET s) {
  char chunk[4096];
  while (!stopping_) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{0, 20000};
    if (select(0, &set, nullptr, nullptr, &wait) > 0 && recv(s, chunk, sizeof chunk, 0) <= 0) return;
  }
}

void HttpServer::Handle(SOCKET s) {
  DWORD timeout = 10000;  // a client that never sends its request does not hold the server
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  std::string in;
  char chunk[4096];
  size_t headerEnd;
  while ((headerEnd = in.find("\r\n\r\n")) == std::string::npos) {
    int n = recv(s, chunk, sizeof chunk, 0);
    if (n <= 0) {
      closesocket(s);
      ++finished_;
      return;
    }
    in.append(chunk, static_cast<size_t>(n));
  }
  HttpRequest request;
  request.raw = in.substr(0, headerEnd + 2);
  size_t lineEnd = in.find("\r\n");
  std::string line = in.substr(0, lineEnd);
  size_t sp1 = line.find(' '), sp2 = line.find(' ', sp1 + 1);
  request.method = line.substr(0, sp1);
  request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  request.headers = in.substr(lineEnd + 2, headerEnd + 2 - (lineEnd + 2));
  size_t bodySize = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
  request.body = in.substr(headerEnd + 4);
  while (request.body.size() < bodySize) {
    int n = recv(s, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    request.body.append(chunk, static_cast<size_t>(n));
  }
  // A proxy's request names the whole address; the path is what the reply is found by.
  std::string target = request.target;
  if (target.rfind("http://", 0) == 0) {
    size_t slash = target.find('/', 7);
    target = slash == std::string::npos ? "/" : target.substr(slash);
  }
  std::shared_ptr<const HttpReply> reply;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    auto it = replies_.find(target);
    reply = it != replies_.end() ? it->second : std::make_shared<const HttpReply>(NotFound());
  }

  if (reply->silent) {
    WaitForClientToClose(s);
    closesocket(s);
    ++finished_;
    return;
  }
  std::string head = "HTTP/1.0 " + reply->status + "\r\nContent-Type: application/octet-stream\r\n";
  if (!reply->omitLength)
    head += "Content-Length: " + reply->length.value_or(std::to_string(reply->body.size())) + "\r\n";
  for (const std::string& header : reply->headers) head += header + "\r\n";
  head += "Connection: close\r\n\r\n";
  if (reply->raw) head = *reply->raw;
  bool ok = Send(s, head.data(), head.size());
  size_t limit = std::min({reply->body.size(), reply->resetAfter.value_or(reply->body.size()),
                           reply->silentAfter.value_or(reply->body.size())});
  if (reply->raw) limit = 0;
  if (ok && reply->dripBytes) {
    for (size_t at = 0; ok && at < limit && !stopping_; at += reply->dripBytes) {
      ok = Send(s, reply->body.data() + at, std::min(reply->dripBytes, limit - at));
      Sleep(reply->dripPauseMs);
    }
  } else if (ok) {
    ok = Send(s, reply->body.data(), limit);
  }
  if (reply->silentAfter) {
    WaitForClientToClose(s);
  } else if (reply->resetAfter) {
    linger hard{1, 0};  // closing with a zero linger time resets the connection
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
  } else {
    shutdown(s, SD_SEND);
    // Let the client read to the end and close its side first.
    while (recv(s, chunk, sizeof chunk, 0) > 0) {
    }
  }
  closesocket(s);
  ++finished_;
}

}  // namespace testing_support
