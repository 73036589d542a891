// watchkeep: the Watchkeep Configurator desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include "app/about_dlg.h"
#include "app/c4410_app.h"
#include "seams/qt/qt_prompter.h"
#include "seams/qt/qt_settings.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Velmora"));
  QApplication::setApplicationName(QStringLiteral("watchkeep"));
  QApplication::setApplicationVersion(QStringLiteral("1.05d"));
  QGuiApplication::setDesktopFileName(QStringLiteral("watchkeep"));
  QApplication::setWindowIcon(wk::programIcon());

  // --help and --version answer on standard output and end the program; a
  // file name that starts with a dash follows "--".
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "The Watchkeep Configurator: keeps GZ4410 alarm controller configurations as .vld files, edits them, "
      "reads them out of the controller and writes them back through a serial port."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("the configuration (.vld) to open, as a path or a file:// URL; "
                                              "without it a new configuration"),
                               QStringLiteral("[file]"));
  parser.process(qt);

  wk::QtSettings settings;
  wk::QtPrompter prompter;
  wk::C4410App app(settings, prompter);
  if (!app.InitInstance(parser.positionalArguments())) return 1;
  return QApplication::exec();
}
