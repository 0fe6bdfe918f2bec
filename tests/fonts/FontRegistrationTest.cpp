#include "FontRegistration.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using fonts::FontRetryPolicy;
using fonts::RegisterFontData;

constexpr FontRetryPolicy kNoPause{5, std::chrono::milliseconds(0)};

TEST(FontRegistration, RetriesAFailingRegistrationUntilItSucceeds) {
    int calls = 0;
    const int handle = RegisterFontData("data", "test font", kNoPause, [&](const QByteArray&) {
        ++calls;
        return calls < 3 ? -1 : 7;
    });
    EXPECT_EQ(handle, 7);
    EXPECT_EQ(calls, 3);
}

TEST(FontRegistration, GivesUpAfterTheBound) {
    int calls = 0;
    const int handle = RegisterFontData("data", "test font", kNoPause, [&](const QByteArray&) {
        ++calls;
        return -1;
    });
    EXPECT_EQ(handle, -1);
    EXPECT_EQ(calls, 5);
}

}  // namespace
