#include "FakeDesktop.h"
#include "winsvc/cMagneticWnd.h"

#include <QTest>

using namespace WinMsg;

namespace {

constexpr WindowHandle Main = 1;
constexpr WindowHandle Other = 2;
constexpr WindowHandle Child = 3;
constexpr WindowHandle Sibling = 4;
constexpr WindowHandle Loose = 5;
constexpr WindowHandle LooseNeighbour = 6;
constexpr WindowHandle Stranger = 7;

} // namespace

class tst_cMagneticWnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void snapsToWorkAreaWithinSnapWidth()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 250};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        QCOMPARE(mgr.SnapWidth(), 10);

        desk.dragStart(Main, {150, 110});
        QCOMPARE(desk.dragTo(Main, {59, 300}).left, 0);  // 9 pixels off: snaps
        QCOMPARE(desk.dragTo(Main, {60, 300}).left, 10); // 10 pixels off: stays
        // Right and bottom edges snap to the far side.
        const WinRect r = desk.dragTo(Main, {845, 655});
        QCOMPARE(r, (WinRect{800, 650, 1000, 800}));
        desk.dragEnd(Main);
        // The moving messages are taken over, never passed on.
        QCOMPARE(desk.m_previousCalls, 2); // entering and leaving the move only

        mgr.setSnapWidth(0);
        desk.dragStart(Main, {900, 700});
        QCOMPARE(desk.dragTo(Main, {901, 700}).left, 801);
    }

    void laterSlotWinsAndWindowFollowsCursor()
    {
        FakeDesktop desk;
        desk.m_rects[Other] = {-195, 100, 5, 400}; // right edge 5 px inside the work area
        desk.m_rects[Main] = {100, 100, 300, 250};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Other));
        QVERIFY(mgr.AddWindow(Main));

        desk.dragStart(Main, {150, 110});
        // Left edge at 3: the work area's edge (0) and the other window's edge (5) are both
        // near; the other window sits in the later slot.
        QCOMPARE(desk.dragTo(Main, {53, 110}).left, 5);
        // Out of the zone the window is back under the cursor, whatever the snap did before.
        QCOMPARE(desk.dragTo(Main, {80, 110}).left, 30);
        // A proposal that disagrees with the cursor is ignored.
        desk.m_cursor = {200, 120};
        WinRect proposed{0, 0, 200, 150};
        desk.send(Main, WM_MOVING, 0, reinterpret_cast<std::intptr_t>(&proposed));
        QCOMPARE(proposed, (WinRect{150, 110, 350, 260}));
    }

    void sizingSnapsOnlyTheEdgesBeingDragged()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 250};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        desk.dragStart(Main, {300, 250});

        // Bottom-right corner: left and top are near edges too but stay.
        QCOMPARE(desk.sizeTo(Main, WMSZ_BOTTOMRIGHT, {4, 3, 995, 792}), (WinRect{4, 3, 1000, 800}));
        // Top edge: only the top moves.
        QCOMPARE(desk.sizeTo(Main, WMSZ_TOP, {4, 6, 996, 700}), (WinRect{4, 0, 996, 700}));
        QCOMPARE(desk.sizeTo(Main, WMSZ_LEFT, {-7, 6, 996, 700}), (WinRect{0, 6, 996, 700}));
        // An edge far from everything is left alone.
        QCOMPARE(desk.sizeTo(Main, WMSZ_BOTTOMLEFT, {50, 60, 400, 500}),
                 (WinRect{50, 60, 400, 500}));
    }

    void maximisedAndMinimisedWindows()
    {
        FakeDesktop desk;
        desk.m_rects[Other] = {500, 300, 700, 500};
        desk.m_zoomed.insert(Other);
        desk.m_rects[Main] = {100, 100, 300, 250};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Other));
        QVERIFY(mgr.AddWindow(Main));

        // The maximised window counts as the work area, not as its reported rectangle.
        desk.dragStart(Main, {100, 100});
        QCOMPARE(desk.dragTo(Main, {297, 300}).right, 497);

        // A minimised window takes part with whatever rectangle is reported for it.
        desk.m_zoomed.clear();
        desk.m_minimized.insert(Other);
        desk.dragStart(Main, {297, 300});
        QCOMPARE(desk.dragTo(Main, {297, 300}).right, 500);
    }

    void gluedGroupMovesWithParent()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 300};
        desk.m_rects[Child] = {300, 100, 400, 200};          // touches the parent
        desk.m_rects[Sibling] = {400, 100, 500, 200};        // touches the glued child only
        desk.m_rects[Loose] = {0, 500, 100, 600};            // touches nothing glued
        desk.m_rects[LooseNeighbour] = {100, 500, 200, 600}; // touches the loose one only
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        QVERIFY(mgr.AddWindow(LooseNeighbour, Main));
        QVERIFY(mgr.AddWindow(Loose, Main));
        QVERIFY(mgr.AddWindow(Sibling, Main));
        QVERIFY(mgr.AddWindow(Child, Main));
        QVERIFY(mgr.IsGlued(Child));
        QVERIFY(mgr.IsGlued(Sibling));
        QVERIFY(!mgr.IsGlued(Loose));
        QVERIFY(!mgr.IsGlued(LooseNeighbour));

        desk.dragStart(Main, {150, 150});
        desk.m_batches.clear();
        desk.dragTo(Main, {200, 170});
        QCOMPARE(desk.m_batches.size(), std::size_t(1));
        QCOMPARE(desk.m_batches[0],
                 (std::vector<WindowPlacement>{{Sibling, {450, 120}}, {Child, {350, 120}}}));
        QCOMPARE(desk.m_rects[Loose], (WinRect{0, 500, 100, 600}));

        // The group's edges snap too: the sibling's right edge 3 px from the work area's.
        const WinRect r = desk.dragTo(Main, {647, 170});
        QCOMPARE(r.left, 600);
        QCOMPARE(desk.m_rects[Sibling].right, 1000);
        desk.dragEnd(Main);
        QVERIFY(mgr.IsGlued(Sibling));

        // A drag of a window without glued windows still commits an (empty) batch.
        desk.dragStart(Loose, {10, 510});
        desk.m_batches.clear();
        desk.dragTo(Loose, {20, 510});
        QCOMPARE(desk.m_batches, (std::vector<std::vector<WindowPlacement>>{{}}));
    }

    void unregisteredParentGluesToWorkArea()
    {
        FakeDesktop desk;
        desk.m_rects[Stranger] = {600, 600, 700, 700};
        desk.m_rects[Main] = {300, 300, 400, 400};
        desk.m_rects[Child] = {0, 50, 100, 150};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        // Before any drag the work area slot is still empty.
        QVERIFY(mgr.AddWindow(Child, Stranger));
        QVERIFY(!mgr.IsGlued(Child));
        // Once read, the work area stands in for the parent that is not registered.
        desk.dragStart(Main, {300, 300});
        desk.dragEnd(Main);
        QVERIFY(mgr.IsGlued(Child));
        desk.m_rects[Child] = {1, 50, 101, 150};
        mgr.CheckGlueing();
        QVERIFY(!mgr.IsGlued(Child));
    }

    void removingParentAndBadHandles()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 300};
        desk.m_rects[Child] = {300, 100, 400, 200};
        desk.m_rects[Other] = {700, 100, 800, 200};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        QVERIFY(!mgr.AddWindow(Main));
        QVERIFY(!mgr.AddWindow(Stranger));        // no such window
        QVERIFY(!mgr.AddWindow(Other, Stranger)); // no such parent
        QVERIFY(!mgr.AddWindow(0));
        QVERIFY(!mgr.RemoveWindow(Other));
        QCOMPARE(mgr.Count(), 1);
        QVERIFY(!desk.hooked(Other));

        QVERIFY(mgr.AddWindow(Child, Main));
        QVERIFY(mgr.AddWindow(Other));
        QVERIFY(mgr.IsGlued(Child));
        QVERIFY(mgr.RemoveWindow(Main));
        QVERIFY(!desk.hooked(Main));
        QCOMPARE(mgr.Count(), 2);
        QCOMPARE(mgr.ParentOf(Child), WindowHandle(0));
        QVERIFY(!mgr.IsGlued(Child));
        // The remaining windows keep working with their own slots.
        desk.dragStart(Other, {700, 100});
        QCOMPARE(desk.dragTo(Other, {403, 100}).left, 400); // snaps to the child's right edge
    }

    void onlyExactMinimiseAndRestoreCommandsRecheckGlue()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 300};
        desk.m_rects[Child] = {300, 100, 400, 200};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        QVERIFY(mgr.AddWindow(Child, Main));
        QVERIFY(mgr.IsGlued(Child));

        desk.m_rects[Child] = {350, 100, 450, 200};
        desk.send(Main, WM_SYSCOMMAND, SC_MINIMIZE | 0x2);
        desk.send(Main, WM_SYSCOMMAND, SC_RESTORE | 0xF);
        desk.send(Main, WM_SYSCOMMAND, 0xF060); // close
        QVERIFY(mgr.IsGlued(Child));
        desk.send(Main, WM_SYSCOMMAND, SC_MINIMIZE);
        QVERIFY(!mgr.IsGlued(Child));

        desk.m_rects[Child] = {300, 100, 400, 200};
        desk.send(Main, WM_SYSCOMMAND, SC_RESTORE);
        QVERIFY(mgr.IsGlued(Child));
        desk.m_rects[Child] = {350, 100, 450, 200};
        desk.send(Child, WM_COMMAND, 5);
        QVERIFY(!mgr.IsGlued(Child));
    }

    void destructionUnhooksEverything()
    {
        FakeDesktop desk;
        desk.m_rects[Main] = {100, 100, 300, 300};
        desk.m_rects[Other] = {400, 100, 500, 300};
        {
            cMagneticWnd mgr(desk, desk);
            QVERIFY(mgr.AddWindow(Main));
            QVERIFY(mgr.AddWindow(Other));
            QVERIFY(desk.hooked(Main) && desk.hooked(Other));
        }
        QVERIFY(!desk.hooked(Main));
        QVERIFY(!desk.hooked(Other));
    }
};

QTEST_GUILESS_MAIN(tst_cMagneticWnd)
#include "tst_cMagneticWnd.moc"
