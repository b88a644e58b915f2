#include "screenshot_tour.h"

#include "event_log_model.h"

#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>

#include <memory>

#include <utility>

namespace quenmark::demo {
namespace {

// How often a waiting step looks again; every look is a few tree walks on the GUI thread.
constexpr int kPollMilliseconds = 25;

QString slug(const QString& title) {
  QString text = title.toLower();
  text.replace(QLatin1Char(' '), QLatin1Char('-'));
  return text;
}

template <class Case>
std::function<bool(const StorySDKEvent&)> eventOf(std::function<bool(const Case&)> matches = {}) {
  return [matches = std::move(matches)](const StorySDKEvent& event) {
    const Case* value = std::get_if<Case>(&event);
    return value != nullptr && (!matches || matches(*value));
  };
}

std::function<bool(const StorySDKEvent&)> bannerShown(const QString& bannerId) {
  return eventOf<StorySDKEvent::BannerImpression>(
      [id = bannerId.toStdString()](const StorySDKEvent::BannerImpression& event) { return event.bannerId == id; });
}

}  // namespace

ScreenshotTour::ScreenshotTour(QQuickWindow* window, const EventLogModel* events, QDir directory, QObject* parent)
    : QObject(parent), window_(window), events_(events), directory_(std::move(directory)), ui_(window) {
  poller_.setInterval(kPollMilliseconds);
  connect(&poller_, &QTimer::timeout, this, &ScreenshotTour::poll);
  deadline_.setSingleShot(true);
  deadline_.setInterval(kTimeoutMilliseconds);
  connect(&deadline_, &QTimer::timeout, this, [this] {
    const QString waitingFor = next_ < steps_.size() ? steps_[next_].waitingFor : QString();
    finish(QStringLiteral("gave up waiting for %1").arg(waitingFor));
  });

  planHome();
  planBanner(QStringLiteral("101"), QStringLiteral("banner-carousel.png"), false);
  planBanner(QStringLiteral("102"), QStringLiteral("banner-static.png"), true);
  planBanner(QStringLiteral("103"), QStringLiteral("banner-story.png"), true);
  planViewer(QStringLiteral("New this week"), false);
  planVote(QStringLiteral("Your vote"), QStringLiteral("Veggie curry"), false);
  planVote(QStringLiteral("Kitchen quiz"), QStringLiteral("Tree bark"), true);
  planViewer(QStringLiteral("Weekend box"), false);
  planViewer(QStringLiteral("Offers"), false);
  // Another user in German: the same poll is open again for them, in their words.
  planSettings(QStringLiteral("guest"), QStringLiteral("de_DE"), QStringLiteral("settings.png"));
  planVote(QStringLiteral("Your vote"), QStringLiteral("Ramen night"), false, QStringLiteral("-de_DE"));
}

void ScreenshotTour::start() {
  if (!directory_.mkpath(QStringLiteral("."))) {
    finish(QStringLiteral("cannot create %1").arg(directory_.path()));
    return;
  }
  deadline_.start();
  poller_.start();
  poll();
}

void ScreenshotTour::addStep(QString waitingFor, std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back(Step{std::move(waitingFor), std::move(ready), std::move(act)});
}

void ScreenshotTour::planHome() {
  addStep(
      QStringLiteral("the home screen with its story covers and first banner"),
      [this] {
        QQuickItem* bar = ui_.findNamed(QStringLiteral("storyBar"));
        // Five of the six sample groups have a cover; "Coming soon" has no items and keeps its placeholder.
        return bar != nullptr && ui_.shownPictures(bar) >= 5 && ui_.loadingPictures(bar) == 0 &&
               events_->contains(bannerShown(QStringLiteral("101")));
      },
      [this] { save(QStringLiteral("home.png")); });
}

void ScreenshotTour::planSettings(const QString& userId, const QString& locale, const QString& fileName) {
  addStep(
      QStringLiteral("the settings button"), [this] { return ui_.findButton(QStringLiteral("Settings")) != nullptr; },
      [this] { ui_.click(ui_.findButton(QStringLiteral("Settings"))); });
  addStep(
      QStringLiteral("the user id field"),
      [this] {
        // Opened: the sheet has faded in whole.
        QQuickItem* field = ui_.findNamed(QStringLiteral("userField"));
        return field != nullptr && ui_.isOpaque(field);
      },
      [this, userId] {
        ui_.click(ui_.findNamed(QStringLiteral("userField")));
        ui_.retype(userId);
        ui_.click(ui_.findNamed(QStringLiteral("localeBox")));
      });
  addStep(
      QStringLiteral("the locale %1 in the list").arg(locale),
      [this, locale] { return ui_.findButton(locale) != nullptr; },
      [this, locale] { ui_.click(ui_.findButton(locale)); });
  addStep(
      QStringLiteral("the settings of %1 in %2").arg(userId, locale),
      [this, userId, locale] {
        QQuickItem* field = ui_.findNamed(QStringLiteral("userField"));
        QQuickItem* box = ui_.findNamed(QStringLiteral("localeBox"));
        return field != nullptr && box != nullptr && field->property("text").toString() == userId &&
               box->property("currentText").toString() == locale && ui_.findButton(locale) == nullptr;
      },
      [this, fileName] {
        save(fileName);
        ui_.click(ui_.findButton(QStringLiteral("Apply")));
      });
  addStep(QStringLiteral("the home screen again"), [this] {
    QQuickItem* bar = ui_.findNamed(QStringLiteral("storyBar"));
    return ui_.findNamed(QStringLiteral("userField")) == nullptr && bar != nullptr && ui_.shownPictures(bar) >= 5 &&
           ui_.loadingPictures(bar) == 0;
  });
}

void ScreenshotTour::planBanner(const QString& bannerId, const QString& fileName, bool swipe) {
  // A banner is reported once its picture is on the card; the picture is taken at once, before the
  // banner plays on. Until then, swipe to the left whenever the card shows a picture, as a person
  // looking at it would: through the items of a banner, and past its last item to the next banner.
  addStep(
      QStringLiteral("banner %1 on the home screen").arg(bannerId),
      [this, bannerId, swipe] {
        if (events_->contains(bannerShown(bannerId))) return true;
        QQuickItem* banners = ui_.findNamed(QStringLiteral("homeBanners"));
        if (swipe && banners != nullptr && ui_.showsPicture(banners)) ui_.drag(banners, {0.85, 0.5}, {0.15, 0.5});
        return false;
      },
      [this, fileName] { save(fileName, ui_.findNamed(QStringLiteral("homeBanners"))); });
}

void ScreenshotTour::planViewer(const QString& groupTitle, bool keepOpen, const QString& variant) {
  // Scrolls the row, as a finger would, until the bubble is whole on screen, then taps it.
  addStep(
      QStringLiteral("the bubble of \"%1\"").arg(groupTitle),
      [this, groupTitle] {
        QQuickItem* bar = ui_.findNamed(QStringLiteral("storyBar"));
        QQuickItem* bubble = ui_.findButton(groupTitle, bar);
        if (bubble == nullptr) return false;
        if (ui_.isWhollyVisible(bubble)) return true;
        const bool right = bubble->mapToScene(QPointF(0, 0)).x() > 0;
        ui_.drag(bar, {right ? 0.7 : 0.3, 0.5}, {right ? 0.3 : 0.7, 0.5});
        return false;
      },
      [this, groupTitle] { ui_.click(ui_.findButton(groupTitle, ui_.findNamed(QStringLiteral("storyBar")))); });
  // Held at once, so that the first item stays on screen however long its picture takes.
  addStep(
      QStringLiteral("the viewer of \"%1\"").arg(groupTitle),
      [this] { return ui_.findType(QStringLiteral("StoryViewerView")) != nullptr; },
      [this] { QMetaObject::invokeMethod(ui_.findType(QStringLiteral("StoryViewerView")), "pause"); });
  addStep(
      QStringLiteral("the first picture of \"%1\"").arg(groupTitle),
      [this] {
        QQuickItem* viewer = ui_.findType(QStringLiteral("StoryViewerView"));
        return viewer != nullptr && ui_.shownPictures(viewer) >= 1 && ui_.loadingPictures(viewer) == 0;
      },
      [this, groupTitle, variant] { save(QStringLiteral("viewer-%1%2.png").arg(slug(groupTitle), variant)); });
  if (!keepOpen) planViewerClose();
}

void ScreenshotTour::planVote(const QString& groupTitle, const QString& option, bool quiz, const QString& variant) {
  planViewer(groupTitle, true, variant);
  // Votes reported before this one, counted when the option is tapped.
  auto earlier = std::make_shared<int>(0);
  const auto vote = quiz ? eventOf<StorySDKEvent::QuizAnswered>() : eventOf<StorySDKEvent::PollVoted>();
  addStep(
      QStringLiteral("the option \"%1\"").arg(option), [this, option] { return ui_.findButton(option) != nullptr; },
      [this, option, earlier, vote] {
        *earlier = events_->countOf(vote);
        ui_.click(ui_.findButton(option));
      });
  // The vote is reported when the service's answer shows the results.
  addStep(
      QStringLiteral("the results after voting \"%1\"").arg(option),
      [this, earlier, vote] { return events_->countOf(vote) > *earlier; },
      [this, quiz, variant] {
        save(QStringLiteral("%1%2.png")
                 .arg(quiz ? QStringLiteral("quiz-answered") : QStringLiteral("poll-voted"), variant));
      });
  planViewerClose();
}

void ScreenshotTour::planViewerClose() {
  addStep(
      QStringLiteral("the close button of the viewer"),
      [this] { return ui_.findButton(QStringLiteral("Close")) != nullptr; },
      [this] { ui_.click(ui_.findButton(QStringLiteral("Close"))); });
  addStep(QStringLiteral("the viewer to close"),
          [this] { return ui_.findType(QStringLiteral("StoryViewerView")) == nullptr; });
}

void ScreenshotTour::save(const QString& fileName, QQuickItem* item) {
  const QImage image = item != nullptr ? ui_.grab(item) : window_->grabWindow();
  const QString path = directory_.absoluteFilePath(fileName);
  if (image.isNull() || !image.save(path, "PNG")) {
    finish(QStringLiteral("cannot write %1").arg(path));
    return;
  }
  written_.append(path);
}

void ScreenshotTour::poll() {
  while (!finished_ && next_ < steps_.size()) {
    // Copied: the step's action may end the tour, and with it the list.
    const Step step = steps_[next_];
    if (!step.ready()) return;
    ++next_;
    if (step.act) step.act();
  }
  if (!finished_) finish({});
}

void ScreenshotTour::finish(const QString& error) {
  if (finished_) return;
  finished_ = true;
  poller_.stop();
  deadline_.stop();
  Q_EMIT finished(error);
}

}  // namespace quenmark::demo
