// The window tests need a QApplication; Qt's offscreen platform serves when no other is asked for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "app/qt/program_start.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Whatever a test leaves in the configuration folder stays out of the user's own.
  const QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  log2plt::qt::ConfigureApplication();
  return RUN_ALL_TESTS();
}
