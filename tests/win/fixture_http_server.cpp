#include <winsock2.h>
#include <windows.h>

#include "tests/win/fixture_http_server.h"

#include <cstring>

namespace {

// The test program is not linked with ws2_32's import library, so the few
// socket calls the server needs are looked up at run time.
struct Winsock {
  decltype(&::WSAStartup) startup = nullptr;
  decltype(&::socket) socket = nullptr;
  decltype(&::bind) bind = nullptr;
  decltype(&::listen) listen = nullptr;
  decltype(&::getsockname) getsockname = nullptr;
  decltype(&::accept) accept = nullptr;
  decltype(&::select) select = nullptr;
  decltype(&::recv) recv = nullptr;
  decltype(&::send) send = nullptr;
  decltype(&::shutdown) shutdown = nullptr;
  decltype(&::closesocket) closesocket = nullptr;
  decltype(&::setsockopt) setsockopt = nullptr;
  bool ready = false;

  Winsock() {
    HMODULE dll = LoadLibraryW(L"ws2_32.dll");
    if (!dll) return;
    auto get = [dll](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
      return fn != nullptr;
    };
    ready = get(startup, "WSAStartup") && get(socket, "socket") && get(bind, "bind") && get(listen, "listen") &&
            get(getsockname, "getsockname") && get(accept, "accept") && get(select, "select") &&
            get(recv, "recv") && get(send, "send") && get(shutdown, "shutdown") &&
            get(closesocket, "closesocket") && get(setsockopt, "setsockopt");
    WSADATA data;
    ready = ready && startup(MAKEWORD(2, 2), &data) == 0;
  }
};

const Winsock& winsock() {
  static const Winsock instance;
  return instance;
}

u_short to_network(u_short port) { return static_cast<u_short>((port >> 8) | (port << 8)); }

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = to_network(static_cast<u_short>(port));
  address.sin_addr.S_un.S_un_b = {127, 0, 0, 1};
  return address;
}

// Binds a fresh socket to 127.0.0.1:`port` (0: any free port); gives the port.
SOCKET bind_loopback(int port, int* bound_port) {
  const Winsock& ws = winsock();
  if (!ws.ready) return INVALID_SOCKET;
  SOCKET s = ws.socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address = loopback(port);
  int length = sizeof address;
  if (ws.bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ws.getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ws.closesocket(s);
    return INVALID_SOCKET;
  }
  *bound_port = to_network(address.sin_port);
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

SeenRequest parse_head(const std::string& head) {
  SeenRequest request;
  request.head = head;
  size_t line_end = head.find("\r\n");
  const std::string line = head.substr(0, line_end);
  const size_t first = line.find(' ');
  const size_t last = line.rfind(' ');
  if (first != std::string::npos && last != first) {
    request.method = line.substr(0, first);
    request.target = line.substr(first + 1, last - first - 1);
    request.version = line.substr(last + 1);
  }
  while (line_end != std::string::npos && line_end + 2 < head.size()) {
    const size_t start = line_end + 2;
    line_end = head.find("\r\n", start);
    const std::string header = head.substr(start, line_end == std::string::npos ? std::string::npos : line_end - start);
    const size_t colon = header.find(':');
    if (colon == std::string::npos) continue;
    size_t value = colon + 1;
    while (value < header.size() && header[value] == ' ') ++value;
    request.headers.emplace_back(header.substr(0, colon), header.substr(value));
  }
  return request;
}

}  // namespace

std::vector<std::string> SeenRequest::header_values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& header : headers) {
    if (lower(header.first) == lower(name)) values.push_back(header.second);
  }
  return values;
}

FixtureHttpServer::FixtureHttpServer(Responder responder)
    : responder_(std::move(responder)), listener_(INVALID_SOCKET) {
  int port = 0;
  SOCKET s = bind_loopback(0, &port);
  if (s == INVALID_SOCKET) return;
  if (winsock().listen(s, SOMAXCONN) != 0) {
    winsock().closesocket(s);
    return;
  }
  listener_ = s;
  port_ = port;
  acceptor_ = std::thread([this] { accept_loop(); });
}

FixtureHttpServer::~FixtureHttpServer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  if (listener_ != INVALID_SOCKET) winsock().closesocket(listener_);
  std::vector<std::thread> connections;
  {
    std::lock_guard<std::mutex> hold(lock_);
    connections.swap(connections_);
  }
  for (std::thread& t : connections) t.join();
}

std::string FixtureHttpServer::host() const { return "127.0.0.1:" + std::to_string(port_); }

std::vector<SeenRequest> FixtureHttpServer::requests() const {
  std::lock_guard<std::mutex> hold(lock_);
  return requests_;
}

size_t FixtureHttpServer::request_count() const {
  std::lock_guard<std::mutex> hold(lock_);
  return requests_.size();
}

std::string FixtureHttpServer::response(int status, const std::string& reason, const std::string& body,
                                        const std::string& content_type) {
  return "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\nContent-Type: " + content_type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

int FixtureHttpServer::unused_port() {
  int port = 0;
  SOCKET s = bind_loopback(0, &port);
  if (s == INVALID_SOCKET) return 0;
  winsock().closesocket(s);
  return port;
}

void FixtureHttpServer::accept_loop() {
  const Winsock& ws = winsock();
  while (!stopping_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(listener_), &readable);
    timeval wait{0, 20 * 1000};
    if (ws.select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET connection = ws.accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    std::lock_guard<std::mutex> hold(lock_);
    connections_.emplace_back([this, connection] { serve(connection); });
  }
}

void FixtureHttpServer::serve(std::uintptr_t connection_value) {
  const Winsock& ws = winsock();
  const SOCKET connection = static_cast<SOCKET>(connection_value);
  const DWORD timeout_ms = 10000;
  ws.setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout_ms), sizeof timeout_ms);
  std::string received;
  char buffer[4096];
  while (received.find("\r\n\r\n") == std::string::npos && received.size() < 1 << 20) {
    const int got = ws.recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
    if (received[0] == '\x16') break;  // a TLS handshake record: no HTTP head follows
  }
  if (!received.empty() && received[0] == '\x16') ++tls_handshakes_;
  const size_t end = received.find("\r\n\r\n");
  if (end != std::string::npos) {
    SeenRequest request = parse_head(received.substr(0, end + 2));
    const std::string target = request.target;
    {
      std::lock_guard<std::mutex> hold(lock_);
      requests_.push_back(std::move(request));
    }
    if (delay_ms_ > 0) Sleep(static_cast<DWORD>(delay_ms_.load()));
    const std::string answer = responder_(target);
    size_t sent = 0;
    while (sent < answer.size()) {
      const int n = ws.send(connection, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
  }
  ws.shutdown(connection, SD_SEND);
  // Let the client read to the end before the socket goes.
  while (ws.recv(connection, buffer, sizeof buffer, 0) > 0) {
  }
  ws.closesocket(connection);
}
