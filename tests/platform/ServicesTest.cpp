// The service registry: an override is in force for its life, the innermost wins, and every one
// puts back what was there before, in whatever order they end and also when a test throws.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "tests/support/RecordingDialogs.h"

namespace {

using platform::services::get;
using platform::services::Override;

struct Greeting {
    using Value = QString;
    static QString byDefault() { return QStringLiteral("default"); }
};

TEST(Services, OverridesNestAndEachPutsBackWhatWasThere) {
    EXPECT_EQ(get<Greeting>(), QStringLiteral("default"));
    {
        const Override<Greeting> outer(QStringLiteral("outer"));
        EXPECT_EQ(get<Greeting>(), QStringLiteral("outer"));
        {
            const Override<Greeting> inner(QStringLiteral("inner"));
            EXPECT_EQ(get<Greeting>(), QStringLiteral("inner"));
        }
        EXPECT_EQ(get<Greeting>(), QStringLiteral("outer"));
    }
    EXPECT_EQ(get<Greeting>(), QStringLiteral("default"));
}

TEST(Services, AnOuterOverrideEndingFirstLeavesTheInnerInForce) {
    std::optional<Override<Greeting>> outer(std::in_place, QStringLiteral("outer"));
    std::optional<Override<Greeting>> inner(std::in_place, QStringLiteral("inner"));
    outer.reset();
    EXPECT_EQ(get<Greeting>(), QStringLiteral("inner"));
    inner.reset();
    EXPECT_EQ(get<Greeting>(), QStringLiteral("default"));
}

TEST(Services, AThrowingTestLeavesNoOverrideBehind) {
    EXPECT_THROW(
        {
            const Override<Greeting> during(QStringLiteral("during"));
            throw std::runtime_error("the test failed here");
        },
        std::runtime_error);
    EXPECT_EQ(get<Greeting>(), QStringLiteral("default"));
}

TEST(Services, AnInterfaceIsReachedByPointer) {
    platform::Dialogs* const programBoxes = &platform::dialogs();
    {
        testsupport::RecordingDialogs recording;
        EXPECT_EQ(&platform::dialogs(), &recording);
    }
    EXPECT_EQ(&platform::dialogs(), programBoxes);
}

TEST(Services, KeysAreApartEvenWhenTheirValuesAreOfOneType) {
    const Override<platform::ApplicationTitleService> title(QStringLiteral("Title"));
    EXPECT_EQ(platform::applicationTitle(), QStringLiteral("Title"));
    EXPECT_EQ(get<Greeting>(), QStringLiteral("default"));
    EXPECT_NE(platform::programFolder(), QStringLiteral("Title"));
}

}  // namespace
