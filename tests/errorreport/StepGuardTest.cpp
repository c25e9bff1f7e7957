#include <gtest/gtest.h>

#include <stdexcept>

#include "errorreport/ErrorReport.h"
#include "errorreport/StepGuard.h"
#include "platform/AppError.h"
#include "tests/support/RecordingDialogs.h"

using errorreport::StepGuard;
using platform::AppError;

namespace {

const QString kLocation = QStringLiteral("in Tessary2017/04/05.Form1.PushButton2_Click ");

TEST(ErrorReport, BuildsTheMessageExactly) {
    EXPECT_EQ(errorreport::applicationErrorText(kLocation, 122, QStringLiteral("File not found")),
              QStringLiteral("File not found\r\nin Tessary2017/04/05.Form1.PushButton2_Click at line 122"
                             "\r\rPlease email screenshot of this message to support@hollenwick.example"));
    // A description ending in a line break still gets its own "\r\n".
    EXPECT_TRUE(errorreport::applicationErrorText(kLocation, 100, QStringLiteral("x\r\n"))
                    .startsWith(QStringLiteral("x\r\n\r\nin ")));
}

TEST(ErrorReport, ShowsAWarningBoxWithOneButton) {
    testsupport::RecordingDialogs dialogs;
    errorreport::ReportApplicationError(kLocation, 232, QStringLiteral("Overflow"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(dialogs.shown[0].buttons, platform::MessageButtons::Ok);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("at line 232")));
}

struct Report {
    int step;
    QString description;
};

class StepGuardTest : public ::testing::Test {
  protected:
    std::vector<Report> reports;
    StepGuard guard{kLocation, [this](const QString& location, int step, const QString& description) {
                        EXPECT_EQ(location, kLocation);
                        reports.push_back({step, description});
                    }};
};

TEST_F(StepGuardTest, ASequenceGoesOnAfterEveryFailure) {
    std::vector<int> ran;
    guard.step(100, [&] {
        ran.push_back(100);
        throw AppError(platform::ErrorNumber::FileNotFound);
    });
    guard.step(102, [&] { ran.push_back(102); });
    guard.step(104, [&] { throw std::runtime_error("boom"); });
    guard.step(106, [&] { ran.push_back(106); });
    EXPECT_EQ(ran, (std::vector<int>{100, 102, 106}));
    ASSERT_EQ(reports.size(), 2u);  // one box per failed step
    EXPECT_EQ(reports[0].step, 100);
    EXPECT_EQ(reports[0].description, QStringLiteral("File not found"));
    EXPECT_EQ(reports[1].step, 104);
    EXPECT_EQ(reports[1].description, QStringLiteral("boom"));
    EXPECT_EQ(guard.reportCount(), 2);
}

TEST_F(StepGuardTest, AFailedTestEntersItsBranch) {
    EXPECT_TRUE(guard.test(102, []() -> bool { throw AppError(6); }));
    EXPECT_FALSE(guard.test(104, [] { return false; }));
    EXPECT_TRUE(guard.test(106, [] { return true; }));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].step, 102);
}

TEST_F(StepGuardTest, AFailedLoopStartEntersTheBodyAndAFailedAdvanceLeaves) {
    EXPECT_TRUE(guard.loopStart(108, []() -> bool { throw AppError(6); }));
    EXPECT_FALSE(guard.loopStart(108, [] { return false; }));
    EXPECT_FALSE(guard.loopAdvance(124, []() -> bool { throw AppError(platform::ErrorNumber::Overflow); }));
    EXPECT_TRUE(guard.loopAdvance(124, [] { return true; }));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].description, QStringLiteral("Overflow"));
}

}  // namespace
