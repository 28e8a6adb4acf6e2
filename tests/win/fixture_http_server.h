#pragma once
// A small HTTP server inside the test process: it listens on 127.0.0.1 on a
// port of its own, records every request's head as it arrived and answers
// from a table of fixture responses. Each connection is served on a thread of
// its own, so several workers can fetch at the same time.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenRequest {
  std::string head;          // request line and headers, raw bytes, up to the blank line
  std::string method;
  std::string target;        // the path as sent, bytes unchanged
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order, names as sent

  // The values of every header named `name` (any case).
  std::vector<std::string> header_values(const std::string& name) const;
};

class FixtureHttpServer {
public:
  // Gives the whole raw response (status line, headers and body) for a path.
  using Responder = std::function<std::string(const std::string& target)>;

  explicit FixtureHttpServer(Responder responder);
  ~FixtureHttpServer();
  FixtureHttpServer(const FixtureHttpServer&) = delete;
  FixtureHttpServer& operator=(const FixtureHttpServer&) = delete;

  bool listening() const { return port_ != 0; }
  int port() const { return port_; }
  std::string host() const;  // "127.0.0.1:<port>"

  // Holds each answer back this long, so that several fetches overlap.
  void set_answer_delay(int milliseconds) { delay_ms_ = milliseconds; }

  std::vector<SeenRequest> requests() const;
  size_t request_count() const;
  // Connections that opened with a TLS handshake record (an https client);
  // they are closed without an answer.
  size_t tls_handshake_count() const { return tls_handshakes_.load(); }

  // A complete response with Content-Length.
  static std::string response(int status, const std::string& reason, const std::string& body,
                              const std::string& content_type = "text/html; charset=utf-8");

  // A port on 127.0.0.1 that nobody listens on (bound once, then closed).
  static int unused_port();

private:
  void accept_loop();
  void serve(std::uintptr_t connection);

  Responder responder_;
  std::uintptr_t listener_;
  int port_ = 0;
  std::atomic<int> delay_ms_{0};
  std::atomic<bool> stopping_{false};
  std::atomic<size_t> tls_handshakes_{0};
  mutable std::mutex lock_;
  std::vector<SeenRequest> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};
