#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QAudioOutput;
class QMediaPlayer;

namespace quenmark::qt {

/// Plays the video of a story item once, with sound, into a `VideoOutput`.
///
/// A new `source` pauses the video before it and starts from its own beginning; a video is not looped.
/// `active` false pauses (the viewer is hidden, the application inactive, the host paused); true
/// resumes a video that has not ended. Only http and https sources play: the platform's player would
/// also open local files, pipes and other protocols named by content. Such a source, and any error of
/// the platform's player, leaves the player `failed`, and the view shows black. Sound needs an audio
/// output device; without one the video plays silently. GUI thread only; the signals are emitted there.
class StoryVideoPlayer : public QObject {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged FINAL)
  Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged FINAL)
  Q_PROPERTY(bool muted READ isMuted WRITE setMuted NOTIFY mutedChanged FINAL)
  Q_PROPERTY(QObject* videoOutput READ videoOutput WRITE setVideoOutput NOTIFY videoOutputChanged FINAL)
  Q_PROPERTY(bool playing READ isPlaying NOTIFY stateChanged FINAL)
  Q_PROPERTY(bool failed READ hasFailed NOTIFY stateChanged FINAL)
  Q_PROPERTY(bool ended READ hasEnded NOTIFY stateChanged FINAL)
  Q_PROPERTY(bool audible READ isAudible NOTIFY mutedChanged FINAL)

 public:
  explicit StoryVideoPlayer(QObject* parent = nullptr);
  ~StoryVideoPlayer() override;

  QUrl source() const { return source_; }
  void setSource(const QUrl& source);
  bool isActive() const { return active_; }
  void setActive(bool active);
  bool isMuted() const { return muted_; }
  void setMuted(bool muted);
  QObject* videoOutput() const { return videoOutput_; }
  void setVideoOutput(QObject* output);

  bool isPlaying() const;
  bool hasFailed() const { return failed_; }
  bool hasEnded() const { return ended_; }
  /// Sound reaches an output device: there is one and the player is not muted.
  bool isAudible() const;

 Q_SIGNALS:
  void sourceChanged();
  void activeChanged();
  void mutedChanged();
  void videoOutputChanged();
  void stateChanged();

 private:
  void playIfWanted();
  void fail();

  QUrl source_;
  bool active_ = true;
  bool muted_ = false;
  bool failed_ = false;
  bool ended_ = false;
  QPointer<QObject> videoOutput_;
  QMediaPlayer* player_;
  QAudioOutput* audio_ = nullptr;
};

}  // namespace quenmark::qt
