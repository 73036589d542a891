// main() of the GUI test programs: a QApplication (offscreen unless the
// environment picks another platform), then every GoogleTest case.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  // Never the user's own settings, even when run by hand outside CTest.
  QStandardPaths::setTestModeEnabled(true);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
