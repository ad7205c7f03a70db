#include "velk/result.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(ResultText, GapsAndFacilitiesFallBack) {
  EXPECT_EQ(frameworkText(code(0x80000047)), "Unknown result code");
  EXPECT_EQ(frameworkText(code(0x80010114)), "Unknown platform result code");
  EXPECT_EQ(applicationText(code(0xA644001B)), "Unknown Service Manager's result code");
  EXPECT_EQ(applicationText(code(0xA6440017)), applicationText(code(0x26440001)));
  EXPECT_EQ(applicationText(code(0x26440001)),
            "Service is not alive (but may be under construction or destruction)");
  for (uint32_t f = 0x2641; f <= 0x2644; ++f)
    EXPECT_EQ(frameworkText(code(0x80000000u | (f << 16) | 1)), "Unknown result code");
}

TEST(ResultText, ApplicationTablesAndMisspellings) {
  EXPECT_EQ(applicationText(code(0xA6410006)), "Unknown task type");
  EXPECT_EQ(applicationText(code(0xA641000B)), "Unknown TaskManager result code");
  EXPECT_EQ(applicationText(code(0xA6420003)), "Unknown TaskScheduler result code");
  EXPECT_EQ(applicationText(code(0xA6430004)), "Unknown SettingsManager result code");
  EXPECT_EQ(applicationText(code(0xA6440026)), "Category is of inappopriate type");
  EXPECT_EQ(applicationText(code(0xA6440028)), "Remoting sybsystem is not initialized");
  EXPECT_EQ(applicationText(code(0xA6440001)),
            "There are more then one service that provide the interface requested");
  EXPECT_EQ(applicationText(code(0xA6440002)), "Service is trying to request it's own interface");
  EXPECT_EQ(applicationText(code(0xA644002D)), "Unknown Service Manager's result code");
  EXPECT_EQ(applicationText(code(0x80000069)), "Bases corrupted");
}

TEST(ResultLine, SuccessAndFailure) {
  EXPECT_EQ(resultLine(code(0x80000046)), "failed, Invalid argument (0x80000046)");
  EXPECT_EQ(resultLine(1), "succeeded, False (0x00000001)");
  EXPECT_FALSE(failed(1));
  EXPECT_EQ(hexId(0xA47BF9AF), "0xa47bf9af");
}

}  // namespace
}  // namespace velk
