#pragma once

namespace quenmark {

/// The SDK's version, sent to the service with every content request and SDK event.
inline constexpr char SDK_VERSION[] = "1.0.0";

}  // namespace quenmark
