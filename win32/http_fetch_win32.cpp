#include "win32/http_fetch_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "win32/grow_buffer.h"
#include "win32/handles_win32.h"

namespace {

// The URL and the request path go through the ANSI interfaces on purpose:
// they must carry the keyword's code page 936 bytes to the wire unchanged,
// where the wide interfaces would re-encode them.
constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

constexpr size_t kReadPiece = 1 << 20;
// A server may announce any length: room is made ahead for at most this much.
constexpr DWORD kLargestReservation = 256u << 20;

// The program's one internet handle, opened on the first fetch and kept for
// the rest of the run. A failed open is tried again by the next fetch.
HINTERNET internet_session() {
  static std::mutex lock;
  static HINTERNET session = nullptr;
  std::lock_guard<std::mutex> hold(lock);
  if (!session) session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  return session;
}

struct SplitAddress {
  std::string host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  std::string object;  // path and query
  bool secure = false; // https: the same request over TLS
};

bool canonicalize(const std::string& address, std::string* out) {
  const auto url = read_into_growing_buffer<std::string>(address.size() * 3 + 64, 1u << 30, [&](std::string& buffer) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (InternetCanonicalizeUrlA(address.c_str(), buffer.data(), &length, ICU_NO_ENCODE)) return BufferTry::fits(length);
    // Too small: `length` is what it needs, the terminator included.
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) return BufferTry::too_small(length + 1);
    return BufferTry::failed();
  });
  if (!url) return false;
  *out = *url;
  return true;
}

bool split(const std::string& address, SplitAddress* split) {
  std::string url;
  if (!canonicalize(address, &url)) return false;
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  // Non-zero lengths with null buffers: the parts come back as pointers into `url`.
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  if (!parts.lpszHostName || parts.dwHostNameLength == 0) return false;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  split->secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  split->host.assign(parts.lpszHostName, parts.dwHostNameLength);
  split->port = parts.nPort;
  if (parts.lpszUrlPath) split->object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) split->object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  return true;
}

}  // namespace

std::string http_get(const std::string& address) {
  std::string body;
  // A fragment is never sent: whatever follows the first '#' is dropped.
  const std::string sent = address.substr(0, address.find('#'));
  if (sent.empty()) return body;
  SplitAddress target;
  if (!split(sent, &target)) return body;
  HINTERNET session = internet_session();
  if (!session) return body;
  UniqueInternet connection(InternetConnectA(session, target.host.c_str(), target.port, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return body;
  const char* accept_any[] = {"*/*", nullptr};
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | (target.secure ? INTERNET_FLAG_SECURE : 0);
  UniqueInternet request(
      HttpOpenRequestA(connection.get(), "GET", target.object.c_str(), "HTTP/1.0", nullptr, accept_any, flags, 0));
  if (!request) return body;
  static const char kAcceptHeader[] = "Accept: */*";
  if (!HttpSendRequestA(request.get(), kAcceptHeader, static_cast<DWORD>(sizeof kAcceptHeader - 1), nullptr, 0)) {
    return body;
  }
  // The announced length, when there is one, saves regrowing a large body;
  // the reads still go on until one returns nothing, whatever was announced.
  DWORD announced = 0;
  DWORD announced_size = sizeof announced;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &announced_size,
                     nullptr)) {
    // One piece more, so that the read that finds the end does not regrow it.
    body.reserve(std::min<DWORD>(announced, kLargestReservation) + kReadPiece);
  }
  // Read straight into the body's free end, a megabyte at a time.
  for (;;) {
    const size_t used = body.size();
    body.resize(used + kReadPiece);
    DWORD read = 0;
    const bool ok = InternetReadFile(request.get(), body.data() + used, static_cast<DWORD>(kReadPiece), &read) != FALSE;
    body.resize(used + (ok ? read : 0));
    if (!ok || read == 0) break;
  }
  return body;
}
