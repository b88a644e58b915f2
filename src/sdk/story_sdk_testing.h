#pragma once

namespace quenmark {

/// Puts `StorySDK::shared()` back into its construction state: no configuration, no event handler, a
/// fresh analytics client, empty maps and sets, empty session and anonymous ids. For tests only; call on
/// the main thread between test cases.
void resetStorySDKForTesting();

}  // namespace quenmark
