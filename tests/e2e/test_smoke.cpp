#include <gtest/gtest.h>

#include "driver.h"

TEST(Smoke, WindowOpens) {
  ToolSession tool;
  EXPECT_EQ(tool.Text(kButton1), "Run Report");
}
