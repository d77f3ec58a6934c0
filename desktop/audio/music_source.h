#pragma once
// The music as the sound output pulls it, read from the wave file while it plays: "open" reads
// only the header, and going back to the beginning is a seek. A rewind asked for just before
// the end can wait for the end, so that a loop restarted by the window's timer joins without a
// gap or a cut.

#include <QAudioFormat>
#include <QFile>
#include <QIODevice>
#include <QWaveDecoder>
#include <memory>

namespace pirune::desktop {

class MusicSource : public QIODevice {
  Q_OBJECT

 public:
  // The music of a wave file, opened for reading; null when the file holds none we can play.
  static std::unique_ptr<MusicSource> open(const QString& path);

  [[nodiscard]] const QAudioFormat& format() const { return format_; }
  // Whole milliseconds of music, rounded down.
  [[nodiscard]] qint64 lengthMs() const { return millisecondsOf(length_); }
  [[nodiscard]] qint64 millisecondsOf(qint64 bytes) const;

  [[nodiscard]] bool isSequential() const override { return true; }
  [[nodiscard]] qint64 bytesAvailable() const override;
  // Bytes of music handed to the output since the beginning, and what is left of it.
  [[nodiscard]] qint64 position() const { return position_; }
  [[nodiscard]] qint64 remaining() const { return length_ - position_; }

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
  explicit MusicSource(const QString& path) : file_(path), decoder_(&file_) {}

  QFile file_;
  QWaveDecoder decoder_;
  QAudioFormat format_;
  qint64 start_ = 0;   // where the samples begin in the file
  qint64 length_ = 0;  // bytes of samples the file really holds
  qint64 position_ = 0;
  bool rewindPending_ = false;
};

}  // namespace pirune::desktop
