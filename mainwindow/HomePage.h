#pragma once

#include <QUrl>
#include <functional>

namespace mainwindow {

inline const QUrl kHomePage{QStringLiteral("https://hollenwick.example/")};

// A number in [0, 1). By default a generator seeded from the seconds since midnight; tests put
// their own in place with a platform::services::Override<RandomSourceService>.
using RandomSource = std::function<double()>;
struct RandomSourceService {
    using Value = RandomSource;
    static RandomSource byDefault();
};

// About one start in a hundred opens the maker's home page in the browser, without waiting.
// Throws AppError when the page cannot be opened.
void VisitHomePageSometimes();

}  // namespace mainwindow
