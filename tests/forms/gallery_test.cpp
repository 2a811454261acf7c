// Pictures of every form, for looking at them: not run by default.
//   SETUTILY_SHOTS=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a build/bin/test_forms
//     --gtest_also_run_disabled_tests --gtest_filter='*Gallery*'
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "root/categories.h"
#include "forms/session.h"
#include "support/gallery.h"

namespace setutily {
namespace {

TEST(Gallery, DISABLED_EveryForm) {
  const QString dir = qEnvironmentVariable("SETUTILY_SHOTS", QDir::tempPath());
  testing::SaveEveryForm(dir);
}

}  // namespace
}  // namespace setutily
