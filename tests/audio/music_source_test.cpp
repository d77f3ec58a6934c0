// The music as the sound output pulls it: a rewind at once, or one that waits for the end.

#include "music_source.h"

#include <gtest/gtest.h>

#include <string>

namespace pirune::testing {
namespace {

QByteArray counting(int size) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i) {
    bytes.append(static_cast<char>('a' + i % 26));
  }
  return bytes;
}

std::string pull(MusicSource& source, qint64 size) { return source.read(size).toStdString(); }

TEST(MusicSource, PlaysOnceThenHasNothingUntilRewound) {
  MusicSource source(counting(10));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  EXPECT_EQ(pull(source, 4), "abcd");
  EXPECT_EQ(source.bytesAvailable(), 6);
  EXPECT_EQ(pull(source, 100), "efghij");
  EXPECT_EQ(pull(source, 100), "");
  EXPECT_EQ(source.bytesAvailable(), 0);

  source.rewindNow();
  EXPECT_EQ(source.position(), 0);
  EXPECT_EQ(pull(source, 3), "abc");
}

TEST(MusicSource, ARewindAtTheEndJoinsTheBeginningToTheRestOnce) {
  MusicSource source(counting(10));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  EXPECT_EQ(pull(source, 7), "abcdefg");

  source.rewindAtEnd();
  EXPECT_TRUE(source.rewindPending());
  EXPECT_EQ(source.position(), 7);
  EXPECT_EQ(source.bytesAvailable(), 13);
  EXPECT_EQ(pull(source, 5), "hijab");  // the end, then straight on from the beginning
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(pull(source, 100), "cdefghij");
  EXPECT_EQ(pull(source, 100), "");  // one restart, not an endless loop

  // At the very end there is nothing left to wait for.
  source.rewindAtEnd();
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(source.position(), 0);
}

TEST(MusicSource, StoppingKeepsNoPendingRewindAndWakingTellsTheOutput) {
  MusicSource source(counting(10));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  pull(source, 8);
  source.settle();
  EXPECT_EQ(source.position(), 8);  // nothing pending: the place is kept

  source.rewindAtEnd();
  source.settle();
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(source.position(), 0);

  int told = 0;
  QObject::connect(&source, &QIODevice::readyRead, [&told] { ++told; });
  source.wake();
  EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace pirune::testing
