#include "platform/system_services.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quenmark::platform {
namespace {

// Puts a fake xdg-open first on PATH that writes its arguments, one per line, into a FIFO the test reads.
class FakeXdgOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-xdg-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    fifo_ = dir_ / "args";
    ASSERT_EQ(::mkfifo(fifo_.c_str(), 0600), 0);
    auto script = dir_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << fifo_.string()
                          << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    oldPath_ = path ? path : "";
    ::setenv("PATH", (dir_.string() + ":" + oldPath_).c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", oldPath_.c_str(), 1);
    std::filesystem::remove_all(dir_);
  }
  // Everything the fake wrote, once it has written and closed; at most 10 s (blocking on the FIFO, never sleeping).
  std::string received() {
    int fd = ::open(fifo_.c_str(), O_RDONLY | O_NONBLOCK);
    std::string text;
    pollfd ready{fd, POLLIN, 0};
    while (fd >= 0 && ::poll(&ready, 1, 10000) > 0) {
      char buffer[512];
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n > 0) text.append(buffer, static_cast<size_t>(n));
      if (n == 0 && !text.empty()) break;  // the writer closed
    }
    ::close(fd);
    return text;
  }

  std::filesystem::path dir_;
  std::filesystem::path fifo_;
  std::string oldPath_;
};

TEST_F(FakeXdgOpen, PassesTheUrlAsOneArgumentWithoutAShell) {
  auto marker = dir_ / "injected";
  auto url = Url::parse("myapp://open?x=1&y=$(touch%20" + marker.string() + ");touch%20" + marker.string());
  ASSERT_TRUE(url);
  XdgUrlOpener().open(*url);
  EXPECT_EQ(received(), url->string() + "\n");
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(FontconfigCatalog, FindsInstalledFamiliesByExactNameOnly) {
  FontconfigCatalog catalog;
  EXPECT_FALSE(catalog.hasFamily(""));
  EXPECT_FALSE(catalog.hasFamily("No Such Family 7f3c"));

  // Whatever the machine has installed, its first family must be found under its exact name.
  ASSERT_EQ(FcInit(), FcTrue);
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  std::string family;
  FcChar8* value = nullptr;
  if (fonts != nullptr && fonts->nfont > 0 &&
      FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &value) == FcResultMatch) {
    family = reinterpret_cast<const char*>(value);
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (family.empty()) GTEST_SKIP() << "no fonts installed";
  EXPECT_TRUE(catalog.hasFamily(family));
  EXPECT_FALSE(catalog.hasFamily(family + " X"));
}

}  // namespace
}  // namespace quenmark::platform
