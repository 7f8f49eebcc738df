// The stable by-id names offered beside the serial devices they lead to.
#include "platform/serial_devices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::platform {
namespace {

TEST(SerialDevices, AByIdNameFollowsTheDeviceItLeadsToAndOthersAreLeftOut) {
  QTemporaryDir dir;
  const QString usb = dir.filePath("ttyUSB0"), acm = dir.filePath("ttyACM0");
  ASSERT_TRUE(testing::writeAll(usb, "") && testing::writeAll(acm, ""));
  ASSERT_TRUE(testing::writeAll(dir.filePath("by-id/.keep"), ""));
  ASSERT_TRUE(QFile::link(usb, dir.filePath("by-id/usb-FTDI_FT232R_A1.2-if00-port0")));
  ASSERT_TRUE(QFile::link(dir.filePath("ttyGONE"), dir.filePath("by-id/usb-unplugged")));

  const auto devices =
      withStableNames({{usb, "FT232R USB UART"}, {acm, ""}}, dir.filePath("by-id"));
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[2].path, dir.filePath("by-id/usb-FTDI_FT232R_A1.2-if00-port0"));
  EXPECT_EQ(devices[2].description, "FT232R USB UART, ttyUSB0");
  EXPECT_TRUE(withStableNames({}, dir.filePath("nowhere")).empty());
}

}  // namespace
}  // namespace listinova::platform
