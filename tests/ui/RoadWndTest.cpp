// The road window: opened from the menu and by F2, following the shoe, painted as the boards at
// the tables draw their roads, and remembered between starts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/WindowFixture.h"
#include "ui/Fonts.h"
#include "ui/NuvDlg.h"
#include "ui/RoadWnd.h"

namespace {

// Points the settings hive at a fresh folder while it lives, so that what one test remembers
// about the road window never reaches another.
class FreshHive {
public:
    FreshHive() : m_saved(qgetenv("XDG_CONFIG_HOME")) {
        EXPECT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    }
    ~FreshHive() { qputenv("XDG_CONFIG_HOME", m_saved); }
    FreshHive(const FreshHive&) = delete;
    FreshHive& operator=(const FreshHive&) = delete;

    QString Text() const {
        QFile file(m_dir.filePath(QStringLiteral("nuv/registry.reg")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

// The hive is set aside before the window is built.
class RoadWindow : protected FreshHive, public WindowFixture {
protected:
    CRoadWnd* Roads() { return dlg.findChild<CRoadWnd*>(); }
    QAction* RoadsItem() { return Find<QAction>("actRoads"); }

    // The object names of the entries of the menu that pops up while `open` runs.
    static QStringList PoppedUpMenu(const std::function<void()>& open) {
        QStringList entries;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    entries << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
                menu->close();
            }
        });
        open();
        return entries;
    }
};

CShoeRoads RoadsOf(std::string_view hands) {
    CShoeRoads roads;
    for (const char h : hands)
        roads.Add(h == 'B' ? SIDE_BANKER : h == 'P' ? SIDE_PLAYER : SIDE_TIE);
    return roads;
}

CShoeRoads RoadsOfRecord(const CShoeEngine& shoe) {
    CShoeRoads roads;
    for (int i = 0; i < shoe.m_nHandCount; ++i) roads.Add(shoe.m_ResultCell[i].m_nSide);
    return roads;
}

TEST_F(RoadWindow, MenuButtonAndRightClickOfferTheSameMenu) {
    auto* menu = Find<QPushButton>("btnMenu");
    auto* notes = Find<QPushButton>("btnNotes");
    EXPECT_EQ(menu->text(), QStringLiteral("菜单"));
    EXPECT_EQ(menu->size(), notes->size());
    EXPECT_EQ(menu->y(), notes->y());
    EXPECT_EQ(menu->font(), notes->font());
    EXPECT_GT(notes->x() - menu->geometry().right(), 1);  // left of it, not touching
    EXPECT_LT(notes->x() - menu->geometry().right(), 12);
    EXPECT_TRUE(menu->isVisible());

    const QStringList entries{"actRoads", "-", "actCopy", "actPaste", "-", "actAbout"};
    EXPECT_EQ(PoppedUpMenu([&] { QTest::mouseClick(menu, Qt::LeftButton); }), entries);
    EXPECT_EQ(PoppedUpMenu([&] {
                  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(300, 200),
                                          dlg.mapToGlobal(QPoint(300, 200)));
                  QApplication::sendEvent(&dlg, &event);
              }),
              entries);
    QAction* item = RoadsItem();
    EXPECT_EQ(item->text(), QStringLiteral("路单"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(Roads(), nullptr);  // nothing is built before it is asked for
}

// F2 opens the window beside the main one, not modal; from then on it shows the shoe of the
// record through hands, Back, Clear and a random test; F2 in it and its close box close it.
TEST_F(RoadWindow, FollowsEveryChangeOfTheRecord) {
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    ClickHands("TBBP");  // entered before the window exists
    QTest::keyClick(&dlg, Qt::Key_F2);
    CRoadWnd* roads = Roads();
    ASSERT_NE(roads, nullptr);
    EXPECT_TRUE(roads->isVisible());
    EXPECT_TRUE(RoadsItem()->isChecked());
    EXPECT_FALSE(roads->isModal());
    EXPECT_TRUE(roads->isWindow());
    EXPECT_EQ(roads->windowTitle(), QStringLiteral("路单"));
    EXPECT_TRUE(dlg.screen()->availableGeometry().contains(roads->frameGeometry()));
    EXPECT_EQ(roads->Roads(), RoadsOf("TBBP"));

    ClickHands("BTTPPB");
    EXPECT_EQ(roads->Roads(), RoadsOf("TBBPBTTPPB"));
    Click("m_btnBack");
    EXPECT_EQ(roads->Roads(), RoadsOf("TBBPBTTPP"));
    Click("btnClear");
    EXPECT_EQ(roads->Roads(), CShoeRoads{});
    ClickHands("PPB");
    EXPECT_EQ(roads->Roads(), RoadsOf("PPB"));

    dlg.m_fnSeed = [] { return std::uint64_t{20260101}; };
    Find<QLineEdit>("m_editTestShoes")->setText(QStringLiteral("3"));
    Click("m_btnRandomTest");
    ASSERT_GT(dlg.m_shoe.m_nHandCount, 4);
    EXPECT_EQ(roads->Roads(), RoadsOfRecord(dlg.m_shoe));

    QTest::keyClick(roads, Qt::Key_F2);
    EXPECT_FALSE(roads->isVisible());
    EXPECT_FALSE(RoadsItem()->isChecked());
    RoadsItem()->trigger();
    EXPECT_TRUE(roads->isVisible());
    EXPECT_EQ(Roads(), roads);  // the same window again
    roads->close();
    EXPECT_FALSE(roads->isVisible());
    EXPECT_FALSE(RoadsItem()->isChecked());
}

// The first place of the window: beside the main window, on whichever side has room, and whole
// on the screen.
TEST(RoadWindowState, PlacedBesideTheMainWindow) {
    const QSize size(740, 484);
    const struct {
        const char* name;
        QRect owner;
        QRect screen;
        QPoint place;
    } cases[] = {
        {"room on the right", {100, 50, 544, 664}, {0, 0, 1920, 1080}, {652, 50}},
        {"room on the left only", {900, 50, 544, 664}, {0, 0, 1920, 1080}, {152, 50}},
        {"room on neither side", {600, 50, 544, 664}, {0, 0, 1280, 1024}, {540, 50}},
        {"kept above the bottom", {100, 700, 544, 664}, {0, 0, 1920, 1080}, {652, 596}},
        {"a second screen", {2000, 0, 544, 664}, {1920, 0, 1920, 1080}, {2552, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint place = CRoadWnd::PlaceBeside(c.owner, size, c.screen);
        EXPECT_EQ(place, c.place);
        EXPECT_TRUE(c.screen.contains(QRect(place, size)));
    }
}

// Open or closed and the place are kept as extra values, written only when they change; a first
// start and a start that changes nothing write none.
TEST(RoadWindowState, RememberedBetweenStarts) {
    FreshHive hive;
    CRecordingPrompter prompter;
    {
        CnuvDlg dlg(nullptr, &prompter);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_FALSE(hive.Text().contains(QStringLiteral("RoadWnd")));
        dlg.findChild<QAction*>(QStringLiteral("actRoads"))->trigger();
        EXPECT_TRUE(hive.Text().contains(QStringLiteral("\"RoadWndOpen\"=dword:00000001")));
        dlg.findChild<CRoadWnd*>()->move(123, 87);
    }
    EXPECT_TRUE(
        hive.Text().contains(QStringLiteral("\"RoadWndX\"=dword:0000007b\n"
                                            "\"RoadWndY\"=dword:00000057")))
        << hive.Text();
    const QString afterFirst = hive.Text();
    {
        CnuvDlg dlg(nullptr, &prompter);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        CRoadWnd* roads = dlg.findChild<CRoadWnd*>();
        ASSERT_NE(roads, nullptr);
        EXPECT_TRUE(roads->isVisible());
        EXPECT_EQ(roads->pos(), QPoint(123, 87));
        EXPECT_TRUE(dlg.findChild<QAction*>(QStringLiteral("actRoads"))->isChecked());
        EXPECT_EQ(hive.Text(), afterFirst);  // opened where it was: nothing new to write
        roads->close();
        EXPECT_TRUE(hive.Text().contains(QStringLiteral("\"RoadWndOpen\"=dword:00000000")));
    }
    const QString afterSecond = hive.Text();
    {
        CnuvDlg dlg(nullptr, &prompter);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_EQ(dlg.findChild<CRoadWnd*>(), nullptr);
    }
    EXPECT_EQ(hive.Text(), afterSecond);
    EXPECT_EQ(prompter.Count(), 0u);
}

// --- painting ---

// Pixels of `image` inside `cell` that are clearly of `colour`'s kind (antialiased edges of a
// pure red, blue or green stroke keep their leading channel high and the others low).
int PixelsLike(const QImage& image, const QRect& cell, const QColor& colour) {
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool like = colour == CRoadWnd::BankerColour()
                                  ? c.red() > 180 && c.green() < 110 && c.blue() < 110
                              : colour == CRoadWnd::PlayerColour()
                                  ? c.blue() > 180 && c.red() < 110 && c.green() < 110
                                  : c.green() > 100 && c.red() < 110 && c.blue() < 90;
            n += like;
        }
    }
    return n;
}

QColor MarkColour(int mark) {
    return static_cast<RoadColour>(mark) == RoadColour::Red ? CRoadWnd::BankerColour()
                                                            : CRoadWnd::PlayerColour();
}

QColor OtherColour(const QColor& colour) {
    return colour == CRoadWnd::BankerColour() ? CRoadWnd::PlayerColour() : CRoadWnd::BankerColour();
}

bool IsGround(const QImage& image, QPoint p) {
    return image.pixelColor(p) == QColor(Qt::white);
}

void SaveScreenshot(const QImage& image, const char* name) {
    const QDir dir(QStringLiteral(NUV_SCREENSHOT_DIR));
    ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
    ASSERT_TRUE(image.save(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".png"))));
}

// Every cell of every road is painted in its colour and shape: bead discs with ties in green,
// hollow circles in the big road and the big eye boy, dots in the small road, slashes in the
// cockroach pig, ties as green marks on the big road; the preview likewise.
TEST(RoadWindowPaint, EachRoadInItsColoursAndShapes) {
    ShoeSettings noStops;
    noStops.m_nWinStopMoney = noStops.m_nLossStopMoney = noStops.m_nWinStopNum =
        noStops.m_nDangerous2 = 1000000;
    CShoeEngine shoe(noStops);
    shoe.Replay("HZXXZHHZZXZXXXHZZXZZZZZZZXXHXZXZZXXXZHXZZXXZXZZZHXXXXZXZHZZXXZXZXZ");
    ASSERT_EQ(shoe.m_nHandCount, 66);
    CRoadWnd wnd(nullptr);
    wnd.Follow(shoe);
    wnd.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wnd));
    const QImage image = wnd.grab().toImage();
    SaveScreenshot(image, "6-roads");
    const CShoeRoads& roads = wnd.Roads();
    ASSERT_EQ(roads, RoadsOfRecord(shoe));

    const std::vector<int>& hands = roads.Hands();
    for (std::size_t i = 0; i < hands.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "bead " << i);
        const QRect cell =
            wnd.CellRect(CRoadWnd::Road::Bead, static_cast<int>(i) / 6, static_cast<int>(i) % 6);
        ASSERT_FALSE(cell.isEmpty());
        const QColor colour = hands[i] == SIDE_BANKER   ? CRoadWnd::BankerColour()
                              : hands[i] == SIDE_PLAYER ? CRoadWnd::PlayerColour()
                                                        : CRoadWnd::TieColour();
        EXPECT_GT(PixelsLike(image, cell, colour), 40);
        for (const QColor& other :
             {CRoadWnd::BankerColour(), CRoadWnd::PlayerColour(), CRoadWnd::TieColour()}) {
            if (other != colour) {
                EXPECT_EQ(PixelsLike(image, cell, other), 0);
            }
        }
    }

    int tieCells = 0;
    for (const CRoad::Cell& c : roads.BigRoad().Cells()) {
        SCOPED_TRACE(testing::Message() << "big road " << c.column << "," << c.row);
        const QRect cell = wnd.CellRect(CRoadWnd::Road::Big, c.column, c.row);
        ASSERT_FALSE(cell.isEmpty());
        const QColor colour =
            c.mark == SIDE_BANKER ? CRoadWnd::BankerColour() : CRoadWnd::PlayerColour();
        EXPECT_GT(PixelsLike(image, cell, colour), 15);
        EXPECT_EQ(PixelsLike(image, cell, OtherColour(colour)), 0);
        EXPECT_EQ(PixelsLike(image, cell, CRoadWnd::TieColour()) > 0, c.ties > 0);
        if (c.ties == 0) {
            EXPECT_TRUE(IsGround(image, cell.center()));  // hollow
        }
        tieCells += c.ties > 0;
    }
    EXPECT_GT(tieCells, 3);

    const struct {
        CRoadWnd::Road road;
        int k;
    } derived[] = {{CRoadWnd::Road::BigEyeBoy, kBigEyeBoy},
                   {CRoadWnd::Road::Small, kSmallRoad},
                   {CRoadWnd::Road::Cockroach, kCockroachPig}};
    for (const auto& d : derived) {
        ASSERT_FALSE(roads.Derived(d.k).Empty());
        for (const CRoad::Cell& c : roads.Derived(d.k).Cells()) {
            SCOPED_TRACE(testing::Message() << "road " << d.k << " " << c.column << "," << c.row);
            const QRect cell = wnd.CellRect(d.road, c.column, c.row);
            ASSERT_FALSE(cell.isEmpty());
            const QColor colour = MarkColour(c.mark);
            EXPECT_GT(PixelsLike(image, cell, colour), 3);
            EXPECT_EQ(PixelsLike(image, cell, OtherColour(colour)), 0);
            const QPoint upperLeft =
                cell.topLeft() + QPoint(cell.width() * 3 / 10, cell.height() * 3 / 10);
            switch (d.road) {
                case CRoadWnd::Road::BigEyeBoy:  // a ring: the centre stays white
                    EXPECT_TRUE(IsGround(image, cell.center()));
                    break;
                case CRoadWnd::Road::Small:  // a dot: filled to well off the centre
                    EXPECT_FALSE(IsGround(image, cell.center()));
                    EXPECT_FALSE(IsGround(image, upperLeft));
                    break;
                default:  // a slash from lower left to upper right, through the centre only
                    EXPECT_FALSE(IsGround(image, cell.center()));
                    EXPECT_TRUE(IsGround(image, upperLeft));
                    break;
            }
        }
    }

    for (const int side : {SIDE_BANKER, SIDE_PLAYER}) {
        for (const auto& d : derived) {
            SCOPED_TRACE(testing::Message() << "preview " << side << " road " << d.k);
            const QRect cell = wnd.PreviewRect(side, d.k).adjusted(1, 1, -1, -1);
            const auto mark = roads.Preview(side, d.k);
            ASSERT_TRUE(mark.has_value());
            const QColor colour = MarkColour(static_cast<int>(*mark));
            EXPECT_GT(PixelsLike(image, cell, colour), 3);
            EXPECT_EQ(PixelsLike(image, cell, OtherColour(colour)), 0);
        }
    }

    // The labels are drawn in a face that has every one of their characters.
    const QFontMetrics metrics(PointFont(kFaceSong, 100));
    for (const QChar ch : QStringLiteral("珠盘路大眼仔小蟑螂庄闲和问统计共手最长连列数"))
        EXPECT_TRUE(metrics.inFont(ch)) << QString(ch).toStdString();
}

// More columns than the window holds: the newest are shown, the oldest scroll out.
TEST(RoadWindowPaint, NewestColumnsStayInView) {
    ShoeSettings noStops;
    noStops.m_nWinStopMoney = noStops.m_nLossStopMoney = noStops.m_nWinStopNum =
        noStops.m_nDangerous2 = 1000000;
    CShoeEngine shoe(noStops);
    std::string alternating;
    for (int i = 0; i < 40; ++i) alternating += i % 2 ? 'X' : 'Z';
    shoe.Replay(alternating);
    CRoadWnd wnd(nullptr);
    wnd.Follow(shoe);
    const QImage image = wnd.grab().toImage();
    ASSERT_EQ(wnd.Roads().BigRoad().Width(), 40);
    EXPECT_TRUE(wnd.CellRect(CRoadWnd::Road::Big, 0, 0).isEmpty());
    const QRect newest = wnd.CellRect(CRoadWnd::Road::Big, 39, 0);
    ASSERT_FALSE(newest.isEmpty());
    EXPECT_GT(PixelsLike(image, newest, CRoadWnd::PlayerColour()), 15);
    const QRect before = wnd.CellRect(CRoadWnd::Road::Big, 38, 0);
    EXPECT_EQ(before.right() + 1, newest.left());
    EXPECT_GT(PixelsLike(image, before, CRoadWnd::BankerColour()), 15);
}

}  // namespace
