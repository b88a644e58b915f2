#include <quenmark/net/story_api_error.h>

namespace quenmark {

std::string StoryAPIError::description() const {
  switch (case_) {
    case Case::httpStatus: return "Story request failed with status " + std::to_string(status_) + ".";
    case Case::notConfigured: return "Story SDK is not configured.";
    case Case::emptyResponse: return "Story request returned an empty response.";
    case Case::encodingFailed: return "Failed to encode request body.";
  }
  return {};
}

Error StoryAPIError::toError() const {
  switch (case_) {
    case Case::httpStatus: return Error{ErrorKind::httpStatus, description(), status_};
    case Case::notConfigured: return Error{ErrorKind::notConfigured, description(), 0};
    case Case::emptyResponse: return Error{ErrorKind::invalidResponse, description(), 0};
    case Case::encodingFailed: return Error{ErrorKind::encoding, description(), 0};
  }
  return Error{ErrorKind::invalidResponse, description(), 0};
}

std::optional<StoryAPIError> StoryAPIError::from(const Error& error) {
  const StoryAPIError candidates[] = {httpStatus(static_cast<int>(error.code)), notConfigured(), emptyResponse(),
                                      encodingFailed()};
  for (const auto& candidate : candidates) {
    if (candidate.toError() == error) return candidate;
  }
  return std::nullopt;
}

}  // namespace quenmark
