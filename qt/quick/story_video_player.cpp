#include "story_video_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>

namespace quenmark::qt {

StoryVideoPlayer::StoryVideoPlayer(QObject* parent) : QObject(parent), player_(new QMediaPlayer(this)) {
  // Qt 6.4's FFmpeg backend crashes when it plays sound without an output device: without one, the
  // video plays silently.
  if (!QMediaDevices::audioOutputs().isEmpty()) {
    audio_ = new QAudioOutput(this);
    player_->setAudioOutput(audio_);
  }
  connect(player_, &QMediaPlayer::playbackStateChanged, this, &StoryVideoPlayer::stateChanged);
  connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::EndOfMedia && !ended_) {
      ended_ = true;
      Q_EMIT stateChanged();
    } else if (status == QMediaPlayer::InvalidMedia) {
      fail();
    }
  });
  connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
    if (error != QMediaPlayer::NoError) fail();
  });
}

StoryVideoPlayer::~StoryVideoPlayer() {
  player_->disconnect(this);
  player_->stop();
}

void StoryVideoPlayer::setSource(const QUrl& source) {
  if (source == source_) return;
  player_->pause();  // the video before this one never plays on under the new one
  source_ = source;
  failed_ = false;
  ended_ = false;
  const QString scheme = source.scheme().toLower();
  if (source.isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
    player_->setSource(QUrl());
    failed_ = !source.isEmpty();
  } else {
    player_->setSource(source);
    playIfWanted();
  }
  Q_EMIT sourceChanged();
  Q_EMIT stateChanged();
}

void StoryVideoPlayer::setActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active_) {
    playIfWanted();
  } else {
    player_->pause();
  }
  Q_EMIT activeChanged();
}

void StoryVideoPlayer::setMuted(bool muted) {
  if (muted == muted_) return;
  muted_ = muted;
  if (audio_ != nullptr) audio_->setMuted(muted_);
  Q_EMIT mutedChanged();
}

void StoryVideoPlayer::setVideoOutput(QObject* output) {
  if (output == videoOutput_) return;
  videoOutput_ = output;
  player_->setVideoOutput(output);
  Q_EMIT videoOutputChanged();
}

bool StoryVideoPlayer::isPlaying() const { return !failed_ && player_->playbackState() == QMediaPlayer::PlayingState; }

bool StoryVideoPlayer::isAudible() const { return audio_ != nullptr && !muted_; }

void StoryVideoPlayer::playIfWanted() {
  if (active_ && !failed_ && !ended_ && !source_.isEmpty()) player_->play();
}

void StoryVideoPlayer::fail() {
  if (failed_) return;
  failed_ = true;
  player_->stop();
  Q_EMIT stateChanged();
}

}  // namespace quenmark::qt
