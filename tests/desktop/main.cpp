// The shell's tests need one application object for all of them, and no display.

#include <gtest/gtest.h>

#include <QApplication>

#include "application_setup.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // As the game sets itself up: the boxes of every test speak Japanese.
  if (!pirune::desktop::setUpApplication(app)) {
    return 1;
  }
  return RUN_ALL_TESTS();
}
