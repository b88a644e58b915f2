#include <quenmark/sdk/content_link.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>

namespace quenmark {
namespace {

TEST(ContentLink, OpensWebAndApplicationLinksAndRefusesLocalHandlers) {
  testing::TestPlatform tp;
  tp.install();
  struct Case {
    const char* link;
    bool opens;
  };
  const Case cases[] = {
      {"https://example.com/shop", true},  {"http://example.com", true},
      {"myapp://offers/7", true},          {"mailto:help@example.com", true},
      {"file:///etc/passwd", false},       {"FILE:///etc/passwd", false},
      {"javascript:alert(1)", false},      {"data:text/html;base64,PGI+eDwvYj4=", false},
      {"smb://host/share/run.exe", false}, {"search-ms:query=invoice", false},
  };
  for (const auto& [link, opens] : cases) {
    const auto parsed = Url::parse(link);
    ASSERT_TRUE(parsed) << link;
    EXPECT_EQ(openContentLink(*parsed), opens) << link;
  }
  EXPECT_EQ(tp.urlOpener->opened().size(), 4u);
  ASSERT_EQ(tp.console->lines().size(), 6u);  // one line per refusal
  EXPECT_EQ(tp.console->lines()[0], "[Quenmark] Refused to open a content link with the scheme \"file\".");
}

}  // namespace
}  // namespace quenmark
