#include "platform/system_services.h"

#include <fontconfig/fontconfig.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

extern char** environ;

namespace quenmark::platform {

bool FontconfigCatalog::hasFamily(std::string_view family) const {
  static std::mutex fontconfigMutex;  // fontconfig's default configuration is not thread-safe to build
  std::lock_guard lock(fontconfigMutex);
  if (family.empty() || FcInit() == FcFalse) return false;
  std::string name(family);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  bool found = false;
  if (fonts != nullptr) {
    for (int i = 0; i < fonts->nfont && !found; ++i) {
      FcChar8* value = nullptr;
      for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &value) == FcResultMatch; ++n) {
        if (name == reinterpret_cast<const char*>(value)) {
          found = true;
          break;
        }
      }
    }
    FcFontSetDestroy(fonts);
  }
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

void XdgUrlOpener::open(const Url& url) {
  std::string target = url.string();
  char program[] = "xdg-open";
  char* argv[] = {program, target.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return;
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
}

void StdoutConsole::writeLine(std::string_view line) {
  static std::mutex outputMutex;
  std::lock_guard lock(outputMutex);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace quenmark::platform
