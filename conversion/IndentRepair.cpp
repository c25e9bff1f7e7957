// Steps 150 to 158: every negative indent becomes 0.
#include <cstdint>
#include <exception>
#include <vector>

#include "conversion/DocumentRun.h"

namespace Word1 {

namespace {

// One write of the walk: made with the others in one call, reported at its own step.
struct IndentWrite {
    int step;
    std::exception_ptr failure;   // before it could be made (no points)
    std::size_t edit = SIZE_MAX;  // into the edits otherwise
};

}  // namespace

// The writes of the walk go to the engine together; each write's failure is still reported at its
// own step, in its place in the walk (the tests cannot fail, so the order of the writes is the
// order of the walk).
void repairIndents(DocumentRun& run) {
    errorreport::StepGuard& guard = run.guard;
    std::vector<wordclient::ParagraphIndents> paragraphs;
    guard.step(150, [&] { paragraphs = run.engine().paragraphIndents(); });

    std::vector<IndentWrite> writes;
    std::vector<wordclient::IndentEdit> edits;
    const auto write = [&](int step, std::size_t paragraph, bool left) {
        try {
            edits.push_back({paragraph, left, run.engine().centimetersToPoints(0)});
            writes.push_back({step, nullptr, edits.size() - 1});
        } catch (...) {
            writes.push_back({step, std::current_exception()});
        }
    };
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (guard.test(152, [&] { return paragraphs[i].left < 0; })) write(154, i, true);
        if (guard.test(156, [&] { return paragraphs[i].right < 0; })) write(158, i, false);
    }
    std::vector<std::exception_ptr> outcomes;
    if (!edits.empty()) {
        try {
            outcomes = run.engine().setIndents(edits);
        } catch (...) {
            outcomes.assign(edits.size(), std::current_exception());
        }
    }
    for (const IndentWrite& each : writes) {
        guard.step(each.step, [&] {
            if (each.failure) std::rethrow_exception(each.failure);
            if (each.edit < outcomes.size() && outcomes[each.edit])
                std::rethrow_exception(outcomes[each.edit]);
        });
    }
}

}  // namespace Word1
