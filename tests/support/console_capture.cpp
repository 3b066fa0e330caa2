#include "tests/support/console_capture.h"

#include <gtest/gtest.h>

std::string CaptureConsole(const std::function<void()>& run) {
    testing::internal::CaptureStdout();
    run();
    return testing::internal::GetCapturedStdout();
}
