// A scratch folder per test, to write source files into.
#pragma once

#include <gtest/gtest.h>

#include "temp_directory.h"

namespace hardening {

// A test with a folder of its own, and `path` and `write` for the files in it.
class ScratchFolder : public ::testing::Test, protected app_core::testing::TempDirectory {};

}  // namespace hardening
