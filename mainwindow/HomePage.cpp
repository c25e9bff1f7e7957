#include "mainwindow/HomePage.h"

#include <QTime>
#include <random>

#include "platform/AppError.h"
#include "platform/Shell.h"

namespace mainwindow {

namespace {
RandomSource& currentSource() {
    static RandomSource source;
    return source;
}

double timeSeededDraw() {
    std::mt19937 generator(
        static_cast<std::mt19937::result_type>(QTime::currentTime().msecsSinceStartOfDay() / 1000));
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}
}  // namespace

void setRandomSource(RandomSource source) { currentSource() = std::move(source); }

void VisitHomePageSometimes() {
    const double draw = currentSource() ? currentSource()() : timeSeededDraw();
    const int n = static_cast<int>(draw * 100) + 1;
    if (n != 7) return;
    if (!platform::openWithShell(kHomePage)) throw platform::AppError(platform::ErrorNumber::FileNotFound);
}

}  // namespace mainwindow
