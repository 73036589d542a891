#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "seams/qt/qt_settings.h"

namespace wk {
namespace {

TEST(QtSettings, ReadsDefaultsWritesAndKeepsTheStoreLayout) {
  // The test environment points XDG_CONFIG_HOME at a private folder.
  ASSERT_NE(qgetenv("XDG_CONFIG_HOME"), QByteArray());
  const QString file = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/Velmora/4410.conf";
  QFile::remove(file);

  QtSettings settings;
  EXPECT_EQ(settings.port(), "Com1");
  EXPECT_EQ(settings.languageFile(), "no file");
  EXPECT_EQ(settings.savePortsOutput(), 0);

  settings.writeString("Settings", "Port", "/dev/ttyUSB0");
  settings.writeString("Settings", "langfile", "/tmp/\xD1\x80\xD1\x83.lng");
  settings.writeInt("Settings", "SavePortsOutput", 1);
  EXPECT_EQ(settings.port(), "/dev/ttyUSB0");
  EXPECT_EQ(settings.languageFile(), "/tmp/\xD1\x80\xD1\x83.lng");
  EXPECT_EQ(settings.savePortsOutput(), 1);

  // The same values through QSettings itself, as the GUI sees them.
  QSettings raw(QStringLiteral("Velmora"), QStringLiteral("4410"));
  EXPECT_EQ(raw.fileName(), file);
  EXPECT_EQ(raw.value("Settings/Port").toString(), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(raw.value("Settings/SavePortsOutput").toInt(), 1);

  // A value that is no number reads as the default.
  settings.writeString("Settings", "SavePortsOutput", "yes");
  EXPECT_EQ(settings.savePortsOutput(), 0);
  QFile::remove(file);
}

}  // namespace
}  // namespace wk
