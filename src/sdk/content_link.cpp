#include <quenmark/platform/platform.h>
#include <quenmark/sdk/content_link.h>

#include "platform/main_thread_check.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace quenmark {
namespace {

// Schemes that reach local files, file shares or script handlers when a desktop opens them.
constexpr std::string_view kRefusedSchemes[] = {
    // Local files, scripts and content carried in the link itself.
    "file", "javascript", "vbscript", "data", "blob", "filesystem", "jar",
    // File shares and remote file systems, which file managers mount and browse.
    "smb", "cifs", "nfs", "afp", "ftp", "ftps", "sftp", "dav", "davs", "webdav",
    // Locations of desktop file managers.
    "admin", "archive", "burn", "computer", "mtp", "network", "recent", "trash",
    // System handlers that start local programs.
    "search", "search-ms", "ms-msdt", "ms-officecmd", "shell", "x-man-page"};

}  // namespace

bool openContentLink(const Url& url, const std::function<void(const Url&)>& open) {
  QUENMARK_ASSERT_MAIN_THREAD();
  const auto platform = platform::currentPlatform();
  const std::string scheme = url.scheme();
  if (std::find(std::begin(kRefusedSchemes), std::end(kRefusedSchemes), scheme) != std::end(kRefusedSchemes)) {
    platform->console->writeLine("[Quenmark] Refused to open a content link with the scheme \"" + scheme + "\".");
    return false;
  }
  if (open) {
    open(url);
  } else {
    platform->urlOpener->open(url);
  }
  return true;
}

}  // namespace quenmark
