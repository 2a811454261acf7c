// A test fixture with a private working directory and its setutily.ini.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace setutily::testing {

class IniFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir.filePath("setutily.ini"); }
  void Put(const QByteArray& bytes) {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  QByteArray Get() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QTemporaryDir dir;
};

}  // namespace setutily::testing
