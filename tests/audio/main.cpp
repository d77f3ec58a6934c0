// The audio tests run the Qt event loop on the main thread, as the window does.

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // A test that must see no sound server runs in a fresh copy of this program.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
