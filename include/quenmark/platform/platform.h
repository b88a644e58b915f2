#pragma once

#include <quenmark/export.h>
#include <quenmark/platform/clock.h>
#include <quenmark/platform/console.h>
#include <quenmark/platform/device_info.h>
#include <quenmark/platform/font_catalog.h>
#include <quenmark/platform/http_session.h>
#include <quenmark/platform/key_value_store.h>
#include <quenmark/platform/main_thread.h>
#include <quenmark/platform/url_opener.h>
#include <quenmark/url.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace quenmark::platform {

/// Everything the SDK needs from the system it runs on.
///
/// A host installs one with `installPlatform` before `StorySDK::configure`; without one, the default
/// platform (`makeDefaultPlatform({})`) is created on first use. Every member must be set.
struct Platform {
  std::shared_ptr<MainThread> mainThread;
  std::shared_ptr<Clock> clock;
  std::shared_ptr<HttpSession> http;
  std::shared_ptr<KeyValueStore> store;
  std::shared_ptr<DeviceInfoProvider> device;
  std::shared_ptr<FontCatalog> fonts;
  std::shared_ptr<UrlOpener> urlOpener;
  std::shared_ptr<Console> console;
  /// The content service's origin; every request of the SDK is built on it.
  Url serviceBaseUrl;
};

/// Options of the default platform.
struct DefaultPlatformOptions {
  /// Where the key-value store keeps its file. Default: $XDG_DATA_HOME/quenmark (or
  /// ~/.local/share/quenmark).
  std::optional<std::filesystem::path> dataDirectory;
  DeviceInfoOverrides device;
  /// Default: the origin chosen when the SDK was built.
  std::optional<Url> serviceBaseUrl;
  /// Largest response body the HTTP session accepts before failing the transfer.
  std::size_t maxResponseBytes = 32u * 1024u * 1024u;
};

/// The default platform: a `RunLoop` main thread (the host runs it), libcurl, SQLite, the process
/// environment, fontconfig, xdg-open and standard output. Opening the store never fails: an unreadable
/// file is set aside, reported on standard error, and replaced by an empty store.
QUENMARK_EXPORT Platform makeDefaultPlatform(const DefaultPlatformOptions& options = {});

/// The default platform's HTTP session (libcurl), for hosts and tests that assemble their own platform.
QUENMARK_EXPORT std::shared_ptr<HttpSession> makeDefaultHttpSession(std::size_t maxResponseBytes = 32u * 1024u * 1024u);

/// Installs `platform` for the whole process. Call once, before `StorySDK::configure`.
QUENMARK_EXPORT void installPlatform(Platform platform);

/// True once `installPlatform` has been called. Does not create the default platform, and a default
/// platform created on first use does not count: toolkit bindings use this to install their own platform
/// unless the host installed one.
QUENMARK_EXPORT bool isPlatformInstalled();

/// The installed platform (created by `makeDefaultPlatform` on first use when none was installed).
/// Safe to call from any thread.
QUENMARK_EXPORT std::shared_ptr<const Platform> currentPlatform();

}  // namespace quenmark::platform
