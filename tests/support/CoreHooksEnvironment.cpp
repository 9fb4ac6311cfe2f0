// Every test program runs the program's code wired as Ornavale.exe wires it.
#include <gtest/gtest.h>

#include "program/CoreHooks.h"

namespace {

class CoreHooksEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { RegisterCoreHooks(); }
};

const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new CoreHooksEnvironment);

}  // namespace
