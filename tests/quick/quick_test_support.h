#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

class QJSEngine;
class QQmlEngine;

namespace quenmark::qttest {

/// The `TestSupport` singleton of `Quenmark.Stories.Testing`: pictures on the local test server, which is
/// also the platform's content service, and the SDK's virtual time. GUI thread.
class QuickTestSupport : public QObject {
  Q_OBJECT

 public:
  /// Starts the server and installs the test platform (memory store, fixed device, recording URL opener,
  /// console) whose timers and clock run on virtual time and whose tasks run on the GUI thread. Once.
  static void setUpProcess();
  /// Lets transfers in flight finish. Once, after the last test.
  static void tearDownProcess();
  static QuickTestSupport* create(QQmlEngine*, QJSEngine*) { return new QuickTestSupport(); }

  /// The server's URL for `path` ("/cover.png"). Paths it does not serve answer 404.
  Q_INVOKABLE QString url(const QString& path) const;
  /// Serves at `path` a PNG whose top half is `top` and bottom half `bottom`; with `held`, only once
  /// `release(path)` is called.
  Q_INVOKABLE void servePicture(const QString& path, const QColor& top, const QColor& bottom, int width, int height,
                                bool held = false);
  Q_INVOKABLE void release(const QString& path);
  /// Requests to `path` answered so far.
  Q_INVOKABLE int requestCount(const QString& path) const;

  /// Serves `groups` (records as the content service sends them) as the stories of `placementKey`; with
  /// `held`, only once `release` is called with the returned path.
  Q_INVOKABLE QString serveStories(const QString& placementKey, const QVariantList& groups, bool held = false);

  /// Serves at `path` the sample story video (H.264 and AAC, five seconds).
  Q_INVOKABLE void serveVideo(const QString& path);

  /// Story groups for `StoryViewerView.groups`: a list of {id, title, theme?: {ctaStyle ("OUTLINED", or the
  /// default theme's), primaryColor, secondaryColor}, items: [...]}, each item in the JSON form of the content
  /// values (`decodeStoryItemJson`, with the defaults widgetType "NONE" and widgetOptions []).
  Q_INVOKABLE QVariant storyGroups(const QVariantList& groups) const;
  /// Answers the banners request of `placementKey` with `banners` in the service's form (id, type,
  /// placementKey, viewOrder, layout keys, items: [{id, mediaUrl, orderIndex, ctaType, ctaUrl}]).
  Q_INVOKABLE void serveBanners(const QString& placementKey, const QVariantList& banners);
  /// Sets the story progress of the `BannerView`'s carousel (its child "carousel"), keeping its position.
  /// Queued behind the tasks already posted, so an autoplay start pending for that position runs first.
  Q_INVOKABLE void setBannerProgress(QObject* carousel, double progress);

  /// Configures the SDK, with an event handler; in preview mode votes are answered on the device.
  Q_INVOKABLE void configure(bool previewMode);
  /// Groups whose impression the host's event handler received, oldest first.
  Q_INVOKABLE QStringList impressedGroups() const;
  /// Announces "didBecomeActive" or "willResignActive" as the application would.
  Q_INVOKABLE void postApplicationEvent(const QString& event);
  /// Turns the application's accessibility on or off, as a screen reader starting or quitting does.
  Q_INVOKABLE void setScreenReaderActive(bool active);
  /// URLs the platform was asked to open, oldest first.
  Q_INVOKABLE QStringList openedUrls() const;

  /// Moves virtual time forward, firing the timers that fall due.
  Q_INVOKABLE void advance(double seconds);
};

}  // namespace quenmark::qttest
