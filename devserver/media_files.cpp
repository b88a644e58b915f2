#include "devserver/media_files.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <system_error>

namespace quenmark::devserver {

std::optional<std::filesystem::path> resolveMediaFile(const std::filesystem::path& root, std::string_view relative) {
  if (root.empty() || relative.empty() || relative.size() > 1024) return std::nullopt;
  if (relative.find('\0') != std::string_view::npos || relative.find('\\') != std::string_view::npos) {
    return std::nullopt;
  }
  std::filesystem::path joined = root;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    std::string_view segment = relative.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return std::nullopt;
    joined /= std::string(segment);
    start = end + 1;
  }
  std::error_code error;
  auto canonicalRoot = std::filesystem::canonical(root, error);
  if (error) return std::nullopt;
  auto canonicalFile = std::filesystem::canonical(joined, error);
  if (error || !std::filesystem::is_regular_file(canonicalFile, error) || error) return std::nullopt;
  // A symbolic link inside the directory may still point elsewhere: the resolved file must stay under root.
  auto rootEnd =
      std::mismatch(canonicalRoot.begin(), canonicalRoot.end(), canonicalFile.begin(), canonicalFile.end()).first;
  if (rootEnd != canonicalRoot.end()) return std::nullopt;
  return canonicalFile;
}

std::string mediaContentType(const std::filesystem::path& file) {
  static const std::map<std::string, std::string> types = {
      {".png", "image/png"},   {".jpg", "image/jpeg"},      {".jpeg", "image/jpeg"},
      {".webp", "image/webp"}, {".gif", "image/gif"},       {".mp4", "video/mp4"},
      {".m4v", "video/mp4"},   {".mov", "video/quicktime"}, {".json", "application/json"}};
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto it = types.find(extension);
  return it == types.end() ? "application/octet-stream" : it->second;
}

}  // namespace quenmark::devserver
