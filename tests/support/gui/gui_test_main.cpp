// main() of the GUI test programs: a QApplication (offscreen unless the
// environment picks another platform), then every GoogleTest case.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  // Never the user's own settings, even when run by hand outside CTest, and
  // never another test's: CTest runs test processes side by side, so each
  // one gets a settings folder of its own.
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
  QStandardPaths::setTestModeEnabled(true);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
