// The music as the sound output pulls it: a rewind at once, or one that waits for the end.

#include "music_source.h"

#include <gtest/gtest.h>

#include <string>

namespace pirune::testing {
namespace {

TEST(MusicSource, ARewindAtTheEndJoinsTheBeginningToTheRestOnceAndAStopKeepsNoneOfIt) {
  MusicSource source(QByteArray("abcdefghij"));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  const auto pull = [&source](qint64 size) { return source.read(size).toStdString(); };
  EXPECT_EQ(pull(7), "abcdefg");

  source.rewindAtEnd();
  EXPECT_EQ(source.position(), 7);
  EXPECT_EQ(source.bytesAvailable(), 13);  // the output must see that more than the end is coming
  EXPECT_EQ(pull(5), "hijab");             // the end, then straight on from the beginning
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(pull(100), "cdefghij");
  EXPECT_EQ(pull(100), "");  // one restart, not an endless loop
  EXPECT_EQ(source.bytesAvailable(), 0);

  // At the very end there is nothing left to wait for.
  source.rewindAtEnd();
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(pull(3), "abc");

  // Stopped, a pending rewind is done at once; with none pending the place is kept.
  source.settle();
  EXPECT_EQ(source.position(), 3);
  source.rewindAtEnd();
  source.settle();
  EXPECT_FALSE(source.rewindPending());
  EXPECT_EQ(pull(2), "ab");
  source.rewindNow();
  EXPECT_EQ(pull(100), "abcdefghij");
}

}  // namespace
}  // namespace pirune::testing
