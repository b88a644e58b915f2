#include <quenmark/url.h>

#include <gtest/gtest.h>

#include <tuple>

namespace quenmark {
namespace {

TEST(Url, ParsesAbsoluteUrlsOfAnySchemeAndRefusesTheRest) {
  auto web = Url::parse("HTTPS://Example.com:8443/a/b?x=1#frag");
  ASSERT_TRUE(web);
  EXPECT_EQ((std::tuple{web->scheme(), web->host(), web->port(), web->path(), web->query()}),
            (std::tuple{"https", "Example.com", 8443, "/a/b", "x=1"}));

  auto deepLink = Url::parse("myapp://profile/42?tab=stories");
  ASSERT_TRUE(deepLink);
  EXPECT_EQ((std::tuple{deepLink->scheme(), deepLink->host(), deepLink->path()}),
            (std::tuple{"myapp", "profile", "/42"}));

  EXPECT_TRUE(Url::parse("mailto:someone@example.com"));
  EXPECT_FALSE(Url::parse("/relative/path"));
  EXPECT_FALSE(Url::parse("example.com/no-scheme"));
  EXPECT_FALSE(Url::parse("https://exa mple.com"));
  EXPECT_FALSE(Url::parse(""));
}

TEST(Url, AppendsPercentEncodedPathComponents) {
  auto base = *Url::parse("https://api.example.com");
  EXPECT_EQ(base.appendingPathComponent("sdk").appendingPathComponent("v1").string(), "https://api.example.com/sdk/v1");
  EXPECT_EQ(Url::parse("https://api.example.com/root/")->appendingPathComponent("a b/c").string(),
            "https://api.example.com/root/a%20b%2Fc");
  EXPECT_EQ(Url::parse("http://127.0.0.1:8080/?q=1")->appendingPathComponent("x").string(), "http://127.0.0.1:8080/x");
  EXPECT_EQ(base.appendingPathComponent("ünï").string(), "https://api.example.com/%C3%BCn%C3%AF");
}

TEST(Url, ReplacesTheQueryWithEncodedItemsInOrder) {
  auto url = *Url::parse("https://example.com/p?old=1#f");
  EXPECT_EQ(url.withQueryItems({{"b", "2"}, {"a", "x y&z=1"}}).string(), "https://example.com/p?b=2&a=x%20y%26z%3D1");
  EXPECT_EQ(url.withQueryItems({}).string(), "https://example.com/p");
}

TEST(Url, RecognisesLoopbackHosts) {
  EXPECT_TRUE(Url::parse("http://127.0.0.1:1/")->isLoopback());
  EXPECT_TRUE(Url::parse("http://127.8.9.10/")->isLoopback());
  EXPECT_TRUE(Url::parse("http://localhost:8080/")->isLoopback());
  EXPECT_TRUE(Url::parse("http://[::1]:8080/")->isLoopback());
  EXPECT_FALSE(Url::parse("http://128.0.0.1/")->isLoopback());
  EXPECT_FALSE(Url::parse("http://127.0.0.1.example.com/")->isLoopback());
  EXPECT_FALSE(Url::parse("http://[::2]/")->isLoopback());
}

}  // namespace
}  // namespace quenmark
