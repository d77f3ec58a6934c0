#pragma once
// The decoded music as the sound output pulls it. A rewind asked for just before the end can
// wait for the end, so that a loop restarted by the window's timer joins without a gap or a cut.

#include <QByteArray>
#include <QIODevice>

namespace pirune {

class MusicSource : public QIODevice {
  Q_OBJECT

 public:
  explicit MusicSource(QByteArray pcm, QObject* parent = nullptr);

  // Always unbuffered: a rewind must not leave music read ahead in a buffer of QIODevice.
  bool open(OpenMode mode) override { return QIODevice::open(mode | QIODevice::Unbuffered); }
  [[nodiscard]] bool isSequential() const override { return true; }
  [[nodiscard]] qint64 bytesAvailable() const override;

  [[nodiscard]] qint64 position() const { return position_; }
  [[nodiscard]] qint64 remaining() const { return pcm_.size() - position_; }
  [[nodiscard]] bool rewindPending() const { return rewindPending_; }

  void rewindNow();
  // Lets the rest of the music be read, then goes on from the beginning.
  void rewindAtEnd();
  // A stopped player keeps no pending rewind: it stands at the beginning.
  void settle();
  // Tells an output that ran out of music that there is more to pull.
  void wake() { emit readyRead(); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 maxSize) override;

 private:
  QByteArray pcm_;
  qint64 position_ = 0;
  bool rewindPending_ = false;
};

}  // namespace pirune
