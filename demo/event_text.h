#pragma once

#include <quenmark/sdk/story_sdk_event.h>

#include <QString>

namespace quenmark::demo {

/// How the events panel shows one host event: a name ("Story opened") and its ids.
struct EventText {
  QString name;
  QString detail;
};

EventText describeEvent(const StorySDKEvent& event);

}  // namespace quenmark::demo
