// A small HTTP server for tests: Winsock on 127.0.0.1 at a free port, serving on threads of its
// own from scripted replies, so that faults can be staged: no length, a wrong length, a slow drip,
// a reset connection, an error status, a redirect, a server that falls silent, and any bytes at
// all in place of a response (a broken chunked body, a reply without a status line).
#pragma once
#include <winsock2.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct HttpReply {
  std::string status = "200 OK";
  std::string body;
  // The Content-Length header: the body's size unless given; none at all with omitLength.
  std::optional<std::string> length;
  bool omitLength = false;
  // Further header lines, without their line ends ("Location: /x").
  std::vector<std::string> headers;
  // Sent as they are in place of the whole response, then the connection closes.
  std::optional<std::string> raw;
  // After this many bytes of the body the connection is reset instead of closed.
  std::optional<size_t> resetAfter;
  // A slow drip: the body in pieces of this many bytes with a pause after each.
  size_t dripBytes = 0;
  DWORD dripPauseMs = 0;
  // The server reads the request and never answers; or it falls silent after this many bytes of
  // the body. Either way it keeps the connection open until the client closes it.
  bool silent = false;
  std::optional<size_t> silentAfter;
};

struct HttpRequest {
  std::string method;
  std::string target;
  std::string headers;  // every header line, each ending in CRLF
  std::string body;
  // The request line and the header lines as they arrived, each ending in CRLF.
  std::string raw;
  // The value of a header, matched without regard to case; empty when missing.
  std::string Header(const std::string& name) const;
};

class HttpServer {
 public:
  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;

  int Port() const { return port_; }
  // "127.0.0.1:port", and "http://127.0.0.1:port" followed by the path.
  std::string Host() const;
  std::string Url(const std::string& path) const;

  // The reply to every request for this target (path and query); other targets get a 404 page.
  void Serve(const std::string& target, HttpReply reply);
  std::vector<HttpRequest> Requests() const;
  // Connections whose reply has ended (sent, reset or broken off).
  int Finished() const { return finished_; }

 private:
  void AcceptLoop();
  void Handle(SOCKET s);
  bool Send(SOCKET s, const char* data, size_t size);
  // Reads and drops whatever comes until the client closes its side or the server stops.
  void WaitForClientToClose(SOCKET s);

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> finished_{0};
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const HttpReply>> replies_;
  std::vector<HttpRequest> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace testing_support
