// Steps 180 to 192: the first page left is selected, the last one to the end of the story.
#include <exception>
#include <vector>

#include "conversion/DocumentRun.h"
#include "platform/EventLoop.h"

namespace Word1 {

namespace {

// Steps 186 to 192: to the start of the page after this pass, then 100 times 200 lines back up.
void selectUpToTheNextPage(DocumentRun& run) {
    errorreport::StepGuard& guard = run.guard;
    guard.step(186, [&] {
        run.engine().selectionGoTo(wordclient::wd::GoToPage, wordclient::wd::GoToNext,
                                   static_cast<std::int16_t>(DocumentRun::kPagesPerPass + 1));
    });
    // The 100 moves travel to the engine together; each is still yielded for and reported in turn.
    std::vector<std::exception_ptr> moves;
    try {
        moves = run.engine().selectionMoveUpRepeated(wordclient::wd::Line, DocumentRun::kLinesPerMove,
                                                     wordclient::wd::Extend, DocumentRun::kMovesPerPass);
    } catch (...) {
        moves.assign(DocumentRun::kMovesPerPass,
                     std::current_exception());  // no engine: every move fails alike
    }
    for (std::size_t move = 0; move < DocumentRun::kMovesPerPass; ++move) {
        guard.step(190, [&] { platform::yieldToEventLoop(); });
        if (move < moves.size()) {
            guard.step(192, [&] {
                if (moves[move]) std::rethrow_exception(moves[move]);
            });
        }
    }
}

}  // namespace

void selectPage(DocumentRun& run) {
    errorreport::StepGuard& guard = run.guard;
    // The page still in flight counts as done: its step 218 cannot fail.
    const std::int32_t pagesDoneByNow = run.pagesDone + (run.previous ? DocumentRun::kPagesPerPass : 0);
    if (guard.test(180, [&] { return DocumentRun::kPagesPerPass >= run.pageCount - pagesDoneByNow; })) {
        guard.step(182, [&] { run.finished = true; });
        guard.step(184, [&] { run.engine().selectionEndKey(wordclient::wd::Story, wordclient::wd::Extend); });
    } else {
        selectUpToTheNextPage(run);
    }
}

}  // namespace Word1
