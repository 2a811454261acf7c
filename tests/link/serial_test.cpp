// The serial link and the exchange over a real pseudo-terminal with the
// device simulator at the far end.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <string>

#include "support/sim_harness.h"
#include "text/scan.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::SerialRig;

TEST(ComPortDevicePath, DefaultsAndOverrides) {
  EXPECT_EQ(ComPortDevicePath(1, {}), "/dev/ttyS0");
  EXPECT_EQ(ComPortDevicePath(9, {}), "/dev/ttyS8");
  EXPECT_EQ(ComPortDevicePath(1, {{1, " /dev/ttyUSB0 "}}), "/dev/ttyUSB0");
  EXPECT_EQ(ComPortDevicePath(2, {{1, "/dev/ttyUSB0"}}), "/dev/ttyS1");
  EXPECT_EQ(ComPortDevicePath(0, {}), "");
  EXPECT_EQ(ComPortDevicePath(10, {}), "");
}

TEST(SerialLink, OpenFailuresAreReportedAndLeaveTheLinkClosed) {
  SerialLink link;
  EXPECT_EQ(link.Open("/nonexistent/ttyS99"), kSerialCannotOpen);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.LastError().isEmpty());
  EXPECT_FALSE(link.LastErrorWasPermission());
  EXPECT_EQ(link.Open(""), kSerialCannotOpen);
  EXPECT_EQ(link.Close(), 0);  // closing a link that is not open does nothing
  EXPECT_EQ(link.Send("x"), 0);
}

TEST(SerialLink, OpenCloseAndCloseAgain) {
  SerialRig rig(false);
  ASSERT_TRUE(rig.opened);
  EXPECT_TRUE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.Close(), 1);
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.Close(), 0);
}

TEST(SerialLink, TwoNamesOfOneDeviceAreOneLock) {
  SerialRig rig(false);
  ASSERT_TRUE(rig.opened);  // through the symbolic link
  const QString real = QFileInfo(rig.sim.LinkPath()).canonicalFilePath();
  for (const QString& name : {real, rig.sim.LinkPath()}) {
    SerialLink second;
    EXPECT_EQ(second.Open(name), kSerialCannotOpen) << name.toStdString();
    EXPECT_EQ(second.LastFailure(), SerialOpenFailure::kBusy);
    EXPECT_EQ(second.LockHolder(), QCoreApplication::applicationPid());
  }
  rig.link.Close();
  SerialLink second;
  EXPECT_EQ(second.Open(real), kSerialOpened);
}

TEST(SerialExchange, IdentificationAgainstTheSimulator) {
  SerialRig rig(false);
  ASSERT_TRUE(rig.opened);
  std::string reply;
  ASSERT_EQ(rig.exchange.SendAndWait("ATI\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_NE(FindText(reply, "MORIVEX-9", 0), 0);
  ASSERT_EQ(rig.exchange.SendAndWait("AT%M\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_EQ(reply.substr(7, 17), "00:80:6D:12:34:56");
  ASSERT_EQ(rig.exchange.SendAndWait("ATT1\r", &reply, 3000, kTerminatorPrompt), 1);
  ASSERT_EQ(rig.exchange.SendAndWait("fromwr 15\r", &reply, 10000, kTerminatorWriteOk), 1);
  ASSERT_EQ(rig.exchange.SendAndWait("exit\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_EQ(rig.sim.CommandLines(), (std::vector<std::string>{"fromwr 15", "exit"}));
}

// The exchange at the command line over this link (faults, hang-up, many
// exchanges) is tested for both links in link_exchange_test.cpp.

}  // namespace
}  // namespace setutily
