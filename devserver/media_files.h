#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quenmark::devserver {

/// The file under `root` that the request path `relative` (the part after "/media/") names, or nothing when
/// the path tries to leave `root` (".." or empty segments, backslashes, NUL bytes, links that point
/// outside) or names no regular file.
std::optional<std::filesystem::path> resolveMediaFile(const std::filesystem::path& root, std::string_view relative);

/// Content type for a media file by its extension ("image/png", "video/mp4", ...); unknown extensions give
/// "application/octet-stream".
std::string mediaContentType(const std::filesystem::path& file);

}  // namespace quenmark::devserver
