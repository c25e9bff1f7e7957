#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "filelist/ListReorder.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "tests/filelist/TestListWindow.h"
#include "tests/support/FolderOrder.h"
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
        reorder->setCursorPosition([this] { return QPoint(10, screenY); });
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
    void moveTo(QPoint at) { QTest::mouseMove(viewport(), at); }
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
    int screenY = 330;  // between the scroll heights: no scrolling
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

// A long list in a short window: the rows 10.. are in view, and the carried entry runs along the
// top or bottom row of the view.
class ListReorderScrollTest : public ListReorderTest {
  protected:
    void SetUp() override {
        ListReorderTest::SetUp();
        QStringList many;
        for (int i = 0; i < 40; ++i) many << QStringLiteral("entry %1").arg(i);
        fill(many);
        window.resize(500, 200);
        QApplication::processEvents();
        window.list().scrollToItem(window.list().topLevelItem(10), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
    }
    int topRow() { return window.list().indexAt(QPoint(5, 2)).row(); }
    int bottomRow() {
        const QModelIndex last = window.list().indexAt(QPoint(5, viewport()->height() - 2));
        return last.isValid() ? last.row() : -1;
    }
    // Carries the entry below the top row onto the top row.
    void carryOntoTop() { carry(topRow() + 1, {topRow()}); }
    // Carries the entry above the last fully shown row onto that row.
    void carryOntoBottom() {
        const int last = window.list().visualItemRect(window.list().topLevelItem(bottomRow())).bottom() <
                                 viewport()->height()
                             ? bottomRow()
                             : bottomRow() - 1;
        carry(last - 1, {last});
    }
};

TEST_F(ListReorderScrollTest, AbovePointerHeight305TheListScrollsUpOneEntryPerExchange) {
    ASSERT_EQ(topRow(), 10);
    screenY = 304;
    carryOntoTop();
    EXPECT_EQ(topRow(), 9);
    screenY = 305;
    carryOntoTop();
    EXPECT_EQ(topRow(), 9);
    screenY = 364;
    carryOntoTop();
    EXPECT_EQ(topRow(), 9);
}

TEST_F(ListReorderScrollTest, FromPointerHeight365TheListScrollsDownOneEntryPerExchange) {
    const int top = topRow();
    screenY = 364;
    carryOntoBottom();
    EXPECT_EQ(topRow(), top);
    screenY = 365;
    carryOntoBottom();
    EXPECT_EQ(topRow(), top + 1);
    screenY = 1000;
    carryOntoBottom();
    EXPECT_EQ(topRow(), top + 2);
}

// The pointer held still on the top row for a while, with the event loop running and the real
// pointer position: only the one exchange of the move happens, and the list scrolls only by the
// screen-height rule, however long the pointer rests there.
class ListReorderHoldTest : public ListReorderScrollTest {
  protected:
    // Places the window so that the top row sits at `screenHeight`, presses on the row below it,
    // moves onto the top row, holds still for 1.5 s and releases.
    void holdOnTopRow(int screenHeight) {
        reorder->setCursorPosition([] { return QCursor::pos(); });
        const int top = topRow();
        const QPoint onTop = rowCentre(top);
        const QPoint shift(0, screenHeight - viewport()->mapToGlobal(onTop).y());
        window.move(window.pos() + shift);
        QApplication::processEvents();
        ASSERT_EQ(viewport()->mapToGlobal(onTop).y(), screenHeight);

        press(rowCentre(top + 1));
        QCursor::setPos(viewport()->mapToGlobal(onTop));
        moveTo(onTop);
        QTest::qWait(1500);
        release(onTop);
    }
    QStringList expectedAfterOneExchange(int top) {
        QStringList expected;
        for (int i = 0; i < 40; ++i) expected << QStringLiteral("entry %1").arg(i);
        expected.swapItemsAt(top, top + 1);
        return expected;
    }
};

TEST_F(ListReorderHoldTest, HoldingThePointerOnTheTopRowMovesTheEntryOnceAndScrollsNothing) {
    ASSERT_EQ(topRow(), 10);
    holdOnTopRow(330);
    EXPECT_EQ(texts(), expectedAfterOneExchange(10));
    EXPECT_EQ(topRow(), 10);
    EXPECT_EQ(window.list().currentItem(), window.list().topLevelItem(10));
}

TEST_F(ListReorderHoldTest, HighOnTheScreenTheOneExchangeScrollsOneEntry) {
    ASSERT_EQ(topRow(), 10);
    holdOnTopRow(200);
    EXPECT_EQ(texts(), expectedAfterOneExchange(10));
    EXPECT_EQ(topRow(), 9);
}

TEST_F(ListReorderHoldTest, AfterACarryTheKeyboardStillScrollsToTheCurrentEntry) {
    holdOnTopRow(330);
    window.list().setFocus();
    for (int i = 0; i < 15; ++i) QTest::keyClick(&window.list(), Qt::Key_Down);
    EXPECT_EQ(window.list().currentItem(), window.list().topLevelItem(25));
    EXPECT_GE(bottomRow(), 25);
    for (int i = 0; i < 25; ++i) QTest::keyClick(&window.list(), Qt::Key_Up);
    EXPECT_EQ(topRow(), 0);
}

}  // namespace
