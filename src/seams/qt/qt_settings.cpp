#include "seams/qt/qt_settings.h"

#include <QSettings>
#include <QString>

namespace wk {
namespace {

QString keyOf(std::string_view section, std::string_view key) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

const QString kOrganisation = QStringLiteral("Velmora");
const QString kApplication = QStringLiteral("4410");

}  // namespace

std::string QtSettings::readString(std::string_view section, std::string_view key, std::string_view fallback) {
  QSettings settings(kOrganisation, kApplication);
  const QVariant value = settings.value(keyOf(section, key));
  if (!value.isValid()) return std::string(fallback);
  return value.toString().toStdString();
}

int QtSettings::readInt(std::string_view section, std::string_view key, int fallback) {
  QSettings settings(kOrganisation, kApplication);
  const QVariant value = settings.value(keyOf(section, key));
  bool ok = false;
  const int number = value.toInt(&ok);
  return value.isValid() && ok ? number : fallback;
}

void QtSettings::writeString(std::string_view section, std::string_view key, std::string_view value) {
  QSettings settings(kOrganisation, kApplication);
  settings.setValue(keyOf(section, key), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  settings.sync();
}

void QtSettings::writeInt(std::string_view section, std::string_view key, int value) {
  QSettings settings(kOrganisation, kApplication);
  settings.setValue(keyOf(section, key), value);
  settings.sync();
}

}  // namespace wk
