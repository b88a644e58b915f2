#pragma once

#include <quenmark/net/image.h>

#include <QImage>

#include <memory>

namespace quenmark::qt {

/// A read-only `QImage` over the decoded pixels of `image`, without copying them: the `QImage` (and every
/// copy Qt makes of it) keeps `image` alive. A null image gives a null `QImage`. Any thread.
QImage wrapImage(std::shared_ptr<const Image> image);

}  // namespace quenmark::qt
