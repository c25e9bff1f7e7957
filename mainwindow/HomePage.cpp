#include "mainwindow/HomePage.h"

#include <QTime>
#include <random>

#include "platform/AppError.h"
#include "platform/Services.h"
#include "platform/Shell.h"

namespace mainwindow {

namespace {
double timeSeededDraw() {
    std::mt19937 generator(
        static_cast<std::mt19937::result_type>(QTime::currentTime().msecsSinceStartOfDay() / 1000));
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}
}  // namespace

RandomSource RandomSourceService::byDefault() { return timeSeededDraw; }

void VisitHomePageSometimes() {
    const RandomSource source = platform::services::get<RandomSourceService>();
    const double draw = source ? source() : timeSeededDraw();
    const int n = static_cast<int>(draw * 100) + 1;
    if (n != 7) return;
    if (!platform::openWithShell(kHomePage)) throw platform::AppError(platform::ErrorNumber::FileNotFound);
}

}  // namespace mainwindow
