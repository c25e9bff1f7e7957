#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <string>

#include "filelist/ListReorder.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
#include "tests/support/Polling.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/TestTree.h"

namespace {

class ListReorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QImage pointer(32, 32, QImage::Format_ARGB32);
        pointer.fill(Qt::darkBlue);
        ASSERT_TRUE(pointer.save(programFolder.root() + QStringLiteral("/drag.ico"), "ICO"));
        reorder = filelist::ListReorder::install(window);
        window.resize(500, 400);
        fill({"A", "B", "C", "D", "E"});
        window.show();
        QApplication::processEvents();
    }

    void fill(const QStringList& texts) {
        window.list().clear();
        for (const QString& text : texts) window.list().appendEntry(text);
    }
    QStringList texts() { return window.list().entryTexts(); }
    QWidget* viewport() { return window.list().viewport(); }
    QPoint rowCentre(int row) {
        return window.list().visualItemRect(window.list().topLevelItem(row)).center();
    }
    QPoint belowLastRow() { return rowCentre(window.list().topLevelItemCount() - 1) + QPoint(0, 60); }

    void press(QPoint at) { QTest::mousePress(viewport(), Qt::LeftButton, {}, at); }
    // The pointer really is where the move goes: code that asked the screen would find it there.
    void moveTo(QPoint at) {
        QCursor::setPos(viewport()->mapToGlobal(at));
        QTest::mouseMove(viewport(), at);
    }
    void release(QPoint at) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at); }
    void carry(int fromRow, std::initializer_list<int> overRows) {
        press(rowCentre(fromRow));
        for (int row : overRows) moveTo(rowCentre(row));
        release(rowCentre(overRows.size() > 0 ? *(overRows.end() - 1) : fromRow));
    }

    testsupport::TestTree programFolder;
    const platform::services::Override<platform::ProgramFolderService> programFolderInUse{
        programFolder.root()};
    testsupport::TestListWindow window;
    filelist::ListReorder* reorder = nullptr;
};

TEST_F(ListReorderTest, CarryingDownOneStepAtATimeMovesThePassedEntriesBack) {
    carry(2, {3, 4});
    EXPECT_EQ(texts(), (QStringList{"A", "B", "D", "E", "C"}));
    EXPECT_EQ(window.list().currentItem(), window.list().topLevelItem(4));
}

TEST_F(ListReorderTest, OneStepSeveralEntriesAwayExchangesOnlyTheTwo) {
    carry(1, {4});
    EXPECT_EQ(texts(), (QStringList{"A", "E", "C", "D", "B"}));
    carry(4, {0});
    EXPECT_EQ(texts(), (QStringList{"B", "E", "C", "D", "A"}));
}

TEST_F(ListReorderTest, SameTextsBlankSpaceAndMovesWithoutAButtonChangeNothing) {
    fill({"A", "B", "A", "D", "E"});
    carry(0, {2});
    EXPECT_EQ(texts(), (QStringList{"A", "B", "A", "D", "E"}));

    carry(3, {});
    press(rowCentre(3));
    moveTo(belowLastRow());
    release(belowLastRow());
    EXPECT_EQ(texts(), (QStringList{"A", "B", "A", "D", "E"}));

    QMouseEvent freeMove(QEvent::MouseMove, QPointF(rowCentre(0)),
                         QPointF(viewport()->mapToGlobal(rowCentre(0))), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
    QApplication::sendEvent(viewport(), &freeMove);
    EXPECT_FALSE(reorder->dragActive());
    EXPECT_EQ(texts(), (QStringList{"A", "B", "A", "D", "E"}));
}

TEST_F(ListReorderTest, APressOnBlankSpaceCarriesTheLastCarriedEntryAgain) {
    carry(2, {3});  // C travels to row 3
    ASSERT_EQ(texts(), (QStringList{"A", "B", "D", "C", "E"}));
    press(belowLastRow());
    moveTo(rowCentre(0));
    release(rowCentre(0));
    EXPECT_EQ(texts(), (QStringList{"C", "B", "D", "A", "E"}));
}

TEST_F(ListReorderTest, AnEntryRemovedSinceItWasCarriedIsNotCarriedAgain) {
    carry(2, {});
    delete window.list().topLevelItem(2);
    EXPECT_EQ(reorder->dragRow(), -1);
    press(belowLastRow());
    moveTo(rowCentre(0));
    moveTo(rowCentre(3));
    release(rowCentre(3));
    EXPECT_EQ(texts(), (QStringList{"A", "B", "D", "E"}));

    carry(1, {});
    window.list().clear();
    fill({"A", "B"});
    press(belowLastRow());
    moveTo(rowCentre(0));
    release(rowCentre(0));
    EXPECT_EQ(texts(), (QStringList{"A", "B"}));
}

TEST_F(ListReorderTest, TheListShowsTheDragPointerWhileCarryingAndTheArrowAfter) {
    press(rowCentre(1));
    EXPECT_EQ(window.list().cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(reorder->dragActive());
    release(rowCentre(1));
    EXPECT_EQ(window.list().cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(reorder->dragActive());

    QFile::remove(programFolder.root() + QStringLiteral("/drag.ico"));
    press(rowCentre(1));
    EXPECT_NE(window.list().cursor().shape(), Qt::ArrowCursor);  // still a carrying pointer, read anew
    release(rowCentre(1));
}

TEST_F(ListReorderTest, MovingOverTheListResetsTheWindowPointerUnlessBusy) {
    window.setMousePointer(99);
    moveTo(rowCentre(1));
    press(rowCentre(1));
    moveTo(rowCentre(2));
    EXPECT_EQ(window.mousePointer(), 0);
    release(rowCentre(2));
    ASSERT_EQ(texts(), (QStringList{"A", "C", "B", "D", "E"}));

    window.setMousePointer(11);
    carry(2, {3});  // reordering still works while busy
    EXPECT_EQ(window.mousePointer(), 11);
    EXPECT_EQ(texts(), (QStringList{"A", "C", "D", "B", "E"}));
}

// A long list in a list of the window's designed size (520 x 169 pixels), rows 10.. in view, with
// the window at a screen height of the test's choice: the top, the middle or the bottom of the
// screen. The carried entry runs along the top or bottom row of the view.
class ListReorderScrollTest : public ListReorderTest, public ::testing::WithParamInterface<int> {
  protected:
    static constexpr int kHalfStillBand = 30;      // nothing scrolls this close to the list's middle
    static constexpr int kSeveralHeldSteps = 400;  // ms: a pointer held still takes a step every 100
    void SetUp() override {
        ListReorderTest::SetUp();
        fill(entries());
        window.list().setFixedSize(520, 169);
        window.adjustSize();
        placeWindow();
        window.list().scrollToItem(window.list().topLevelItem(10), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
        ASSERT_EQ(topRow(), 10);
    }
    // GetParam(): 0 the window at the top of the screen, 1 in its middle, 2 at its bottom.
    void placeWindow() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const int room = screen.height() - window.frameGeometry().height();
        window.move(screen.left() + 40, screen.top() + room * GetParam() / 2);
        QApplication::processEvents();
    }
    static QStringList entries() {
        QStringList many;
        for (int i = 0; i < 40; ++i) many << QStringLiteral("entry %1").arg(i);
        return many;
    }
    int topRow() { return window.list().indexAt(QPoint(5, 2)).row(); }
    // The last row shown whole.
    int lastWholeRow() {
        const QModelIndex last = window.list().indexAt(QPoint(5, viewport()->height() - 2));
        const int row = last.isValid() ? last.row() : window.list().topLevelItemCount() - 1;
        return window.list().visualItemRect(window.list().topLevelItem(row)).bottom() < viewport()->height()
                   ? row
                   : row - 1;
    }
    // Where the carried entry shows: the current entry, and the one selected.
    void expectCarriedShownAt(int row) {
        EXPECT_EQ(window.list().currentItem(), window.list().topLevelItem(row));
        const QList<QTreeWidgetItem*> selected = window.list().selectedItems();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.front(), window.list().topLevelItem(row));
    }
    // Presses on `fromRow` and moves onto `ontoRow`, the button still held.
    void pressAndMoveOnto(int fromRow, int ontoRow) {
        press(rowCentre(fromRow));
        moveTo(rowCentre(fromRow) + QPoint(0, rowCentre(ontoRow).y() > rowCentre(fromRow).y() ? 2 : -2));
        moveTo(rowCentre(ontoRow));
    }
};

std::string screenPlace(const ::testing::TestParamInfo<int>& info) {
    const char* const places[] = {"WindowAtTheTop", "WindowInTheMiddle", "WindowAtTheBottom"};
    return places[info.param];
}

INSTANTIATE_TEST_SUITE_P(ScreenPlaces, ListReorderScrollTest, ::testing::Values(0, 1, 2), screenPlace);

TEST_P(ListReorderScrollTest, OnTheBottomRowTheListScrollsDownOneEntryPerExchange) {
    const int last = lastWholeRow();
    pressAndMoveOnto(last - 1, last);
    release(rowCentre(last));
    EXPECT_EQ(topRow(), 11);
    QStringList expected = entries();
    expected.swapItemsAt(last - 1, last);
    EXPECT_EQ(texts(), expected);
}

TEST_P(ListReorderScrollTest, OnTheTopRowTheListScrollsUpOneEntryPerExchange) {
    pressAndMoveOnto(11, 10);
    release(rowCentre(10));
    EXPECT_EQ(topRow(), 9);
}

TEST_P(ListReorderScrollTest, InTheMiddleOfTheListNothingScrolls) {
    const int middle = (10 + lastWholeRow()) / 2;
    ASSERT_LT(std::abs(rowCentre(middle).y() - viewport()->height() / 2), kHalfStillBand);
    pressAndMoveOnto(middle + 1, middle);
    release(rowCentre(middle));
    EXPECT_EQ(topRow(), 10);
    pressAndMoveOnto(middle - 1, middle);
    release(rowCentre(middle));
    EXPECT_EQ(topRow(), 10);
}

TEST_P(ListReorderScrollTest, AfterAScrollTheCarriedEntryIsTheHighlightedOne) {
    const int last = lastWholeRow();
    const QPoint onLast = rowCentre(last);
    pressAndMoveOnto(last - 1, last);
    ASSERT_EQ(topRow(), 11);
    // The list moved under the pointer: the next little move lands on the entry that scrolled in.
    moveTo(onLast + QPoint(0, 1));
    EXPECT_EQ(window.list().topLevelItem(last + 1)->text(0), QStringLiteral("entry %1").arg(last - 1));
    expectCarriedShownAt(last + 1);
    release(onLast + QPoint(0, 1));
    expectCarriedShownAt(last + 1);
}

// Held still on the bottom row, the pointer lies over a new entry after every scroll: the carried
// entry goes on down to the end of the list, one place per step, and the passed ones move back.
TEST_P(ListReorderScrollTest, HeldStillOnTheBottomRowTheEntryTravelsToTheEnd) {
    const int last = lastWholeRow();
    pressAndMoveOnto(last - 1, last);
    const QString carried = QStringLiteral("entry %1").arg(last - 1);
    const bool arrived = testsupport::waitUntil([&] { return texts().back() == carried; }, 20000);
    release(rowCentre(last));
    ASSERT_TRUE(arrived) << texts().join(QLatin1Char(',')).toStdString();
    QStringList expected = entries();
    expected.move(last - 1, 39);
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(lastWholeRow(), 39);
    expectCarriedShownAt(39);
}

TEST_P(ListReorderScrollTest, HeldStillOnTheTopRowTheEntryTravelsToTheStart) {
    pressAndMoveOnto(11, 10);
    const bool arrived =
        testsupport::waitUntil([&] { return texts().front() == QStringLiteral("entry 11"); }, 20000);
    release(rowCentre(10));
    ASSERT_TRUE(arrived) << texts().join(QLatin1Char(',')).toStdString();
    QStringList expected = entries();
    expected.move(11, 0);
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(topRow(), 0);
}

// Resting in the still band, or after the release, nothing more happens however long one waits.
TEST_P(ListReorderScrollTest, HeldStillInTheMiddleOrReleasedNothingMoreHappens) {
    const int middle = (10 + lastWholeRow()) / 2;
    pressAndMoveOnto(middle - 1, middle);
    QTest::qWait(kSeveralHeldSteps);
    release(rowCentre(middle));
    QStringList expected = entries();
    expected.swapItemsAt(middle - 1, middle);
    EXPECT_EQ(texts(), expected);

    const int last = lastWholeRow();
    pressAndMoveOnto(last - 1, last);
    release(rowCentre(last));
    QTest::qWait(kSeveralHeldSteps);
    expected.swapItemsAt(last - 1, last);
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(topRow(), 11);
}

TEST_P(ListReorderScrollTest, AfterACarryTheKeyboardStillScrollsToTheCurrentEntry) {
    const int middle = (10 + lastWholeRow()) / 2;
    pressAndMoveOnto(middle - 1, middle);
    release(rowCentre(middle));
    window.list().setFocus();
    for (int i = 0; i < 15; ++i) QTest::keyClick(&window.list(), Qt::Key_Down);
    EXPECT_EQ(window.list().currentItem(), window.list().topLevelItem(middle + 15));
    EXPECT_GE(lastWholeRow(), middle + 15);
    for (int i = 0; i < middle + 15; ++i) QTest::keyClick(&window.list(), Qt::Key_Up);
    EXPECT_EQ(topRow(), 0);
}

}  // namespace
