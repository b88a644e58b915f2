#include "net/vote_request_encoding.h"

#include <nlohmann/json.hpp>

#include <exception>

namespace quenmark {

Result<std::string> encodeVoteRequest(const VoteRequestPayload& payload) {
  try {
    nlohmann::json body = nlohmann::json::object();
    body["optionId"] = payload.optionId;
    if (payload.appId) body["appId"] = *payload.appId;
    if (payload.bundleId) body["bundleId"] = *payload.bundleId;
    if (payload.userId) body["userId"] = *payload.userId;
    // Strict UTF-8 handling: text the service could not read is refused rather than altered.
    return body.dump();
  } catch (const std::exception& exception) {
    return Error{ErrorKind::encoding, exception.what(), 0};
  }
}

}  // namespace quenmark
