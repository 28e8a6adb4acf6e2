#include <gtest/gtest.h>

#include <string>

#include "win32/http_fetch_win32.h"
#include "tests/win/fixture_http_server.h"

namespace {

// The fixture server speaks plain HTTP only, so an https fetch gets no page
// from it; what it shows is how the request arrived.
TEST(HttpsFetch, AnHttpsAddressIsAskedOverTlsAndAnHttpOneInPlainText) {
  FixtureHttpServer server([](const std::string&) { return FixtureHttpServer::response(200, "OK", "page"); });
  ASSERT_TRUE(server.listening());
  EXPECT_EQ(http_get("https://" + server.host() + "/search/abc_ctime_1.html"), "");
  EXPECT_GE(server.tls_handshake_count(), 1u);
  EXPECT_EQ(server.request_count(), 0u);

  EXPECT_EQ(http_get("http://" + server.host() + "/search/abc_ctime_1.html"), "page");
  EXPECT_EQ(server.request_count(), 1u);
}

TEST(HttpsFetch, OtherSchemesAreNotFetched) {
  FixtureHttpServer server([](const std::string&) { return FixtureHttpServer::response(200, "OK", "page"); });
  ASSERT_TRUE(server.listening());
  EXPECT_EQ(http_get("ftp://" + server.host() + "/x"), "");
  EXPECT_EQ(http_get("gopher://" + server.host() + "/x"), "");
  EXPECT_EQ(server.request_count() + server.tls_handshake_count(), 0u);
}

}  // namespace
