// The shell's tests need one application object for all of them, and no display.

#include <gtest/gtest.h>

#include <QApplication>

#include "application_setup.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // As the game sets itself up: the boxes of every test speak Japanese.
  return pirune::desktop::setUpApplication(app) ? RUN_ALL_TESTS() : 1;
}
