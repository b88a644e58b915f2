#pragma once

#include "net/content_payloads.h"

#include <quenmark/error.h>

#include <string>

namespace quenmark {

/// The JSON body of a vote request: compact, `optionId` always, the identity fields only when present.
/// Fails with `ErrorKind::encoding` when a text cannot be written as JSON (it is not valid UTF-8).
Result<std::string> encodeVoteRequest(const VoteRequestPayload& payload);

}  // namespace quenmark
