#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>

#include "twain/foreign_call.h"

namespace {
int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;
volatile int g_one = 1;
volatile int g_sink = 0;

int WriteNull() { return *g_nowhere = 1; }
int ReadNull() { return *g_nowhere; }
int Divide() { return g_sink = g_one / g_zero; }
int Illegal() {
  asm volatile("ud2");
  return 0;
}

std::string FaultOf(int (*f)()) {
  try {
    ForeignCall(f);
  } catch (const EExternalException& e) {
    return e.Message();
  }
  return "(no fault)";
}
}  // namespace

TEST(ForeignCall, HardwareFaultsBecomeFailuresNamingFaultAndModuleRepeatedly) {
  const std::string hex = "[0-9A-F]{" + std::to_string(2 * sizeof(void*)) + "}";
  const std::string at = " at address " + hex + " in module 'unit_tests\\.exe'";
  struct Case {
    const char* name;
    int (*f)();
    std::string pattern;
  } cases[] = {
      // A stack overflow is not among them: the 64-bit Wine that runs the
      // tests needs more stack to dispatch it than the overflow leaves and
      // ends the process before any handler runs.
      {"write", WriteNull, "Access violation" + at + "\\. Write of address 0+"},
      {"read", ReadNull, "Access violation" + at + "\\. Read of address 0+"},
      {"divide", Divide, "Division by zero" + at + "\\."},
      {"illegal", Illegal, "Illegal instruction" + at + "\\."},
  };
  for (int round = 0; round < 3; ++round) {
    for (const Case& c : cases) {
      const std::string message = FaultOf(c.f);
      EXPECT_TRUE(std::regex_match(message, std::regex(c.pattern)))
          << c.name << " round " << round << ": " << message;
    }
  }
}

TEST(ForeignCall, ResultsAndCppExceptionsPassThrough) {
  EXPECT_EQ(ForeignCall([] { return 42; }), 42);
  EXPECT_THROW(ForeignCall([]() -> int { throw EOSError("inner"); }), EOSError);
  // The guard is gone after a failure: a later fault outside a guarded call
  // is not ours to catch, and a guarded call still works.
  EXPECT_EQ(FaultOf(WriteNull).rfind("Access violation", 0), 0u);
  EXPECT_EQ(ForeignCall([] { return 7; }), 7);
}

TEST(ForeignCall, MessagesNameTheFault) {
  TForeignFault write;
  write.code = EXCEPTION_ACCESS_VIOLATION;
  write.address = reinterpret_cast<const void*>(0x1000123A);
  write.parameterCount = 2;
  write.parameters[0] = 1;
  const std::string zeros(2 * sizeof(void*), '0');
  const std::string addr = zeros.substr(8) + "1000123A";
  EXPECT_EQ(ForeignFaultMessage(write, "TWAINDSM.DLL"),
            "Access violation at address " + addr + " in module 'TWAINDSM.DLL'. Write of address " +
                zeros);
  TForeignFault exec = write;
  exec.parameters[0] = 8;
  exec.parameters[1] = 0x1000123A;
  EXPECT_EQ(ForeignFaultMessage(exec, ""),
            "Access violation at address " + addr + ". Execution of address " + addr);
  TForeignFault other;
  other.code = 0xC0000409;
  other.address = write.address;
  EXPECT_EQ(ForeignFaultMessage(other, "X.DLL"),
            "External exception C0000409 at address " + addr + " in module 'X.DLL'.");
}
