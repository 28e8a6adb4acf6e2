#pragma once
// One HTTP/1.0 GET through WinINet, the way the search site is asked, over
// TLS for an https address.
#include <string>

// The body of the answer to a GET of `address`, whatever the HTTP status; the
// bytes read before a failed read; nothing when the address cannot be split
// or is neither http nor https, or the connection or request fails. The
// address is cut before its first '#', and its bytes (code page 936, spaces
// included) reach the request path unescaped.
std::string http_get(const std::string& address);
