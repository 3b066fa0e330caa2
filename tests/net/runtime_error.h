// Expectation that a statement ends the process with a runtime error carrying a message.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

// The child gets no debugger on its input and prints the error (standard output) where the
// death test reads (standard error).
#define EXPECT_RUNTIME_ERROR(statement, message)                        \
    EXPECT_EXIT(                                                        \
        {                                                               \
            if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(99); \
            dup2(STDERR_FILENO, STDOUT_FILENO);                         \
            statement;                                                  \
        },                                                              \
        ::testing::ExitedWithCode(255), "Pellix Runtime Error : " message)
