#pragma once

namespace quenmark {

/// The service environment a host reports itself in.
///
/// Both environments use the same service origin; the environment is only reported to the content
/// service (as "STAGING" or "PRODUCTION") and keys cached banner lists.
enum class StoryEnvironment {
  staging,
  production,
};

}  // namespace quenmark
