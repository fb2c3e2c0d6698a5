#include "ui/RoadWnd.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "settings/SettingsStore.h"
#include "ui/Fonts.h"

namespace {

// Extra values in the settings key (see ReadExtraValue).
constexpr std::string_view kOpenName = "RoadWndOpen";
constexpr std::string_view kXName = "RoadWndX";
constexpr std::string_view kYName = "RoadWndY";

// Layout in pixels. The bead plate and the big road use large squares, the derived roads half
// as large, as on the boards at the tables.
constexpr int kMargin = 10;
constexpr int kLabelHeight = 20;
constexpr int kGap = 8;
constexpr int kBigCell = 20;
constexpr int kSmallCell = 10;
constexpr int kRows = CRoad::kRows;
constexpr int kBeadColumns = 11;  // a full shoe of 66 hands
constexpr int kBigColumns = 36;   // a full shoe seldom needs more
constexpr int kEyeColumns = 2 * kBigColumns;
constexpr int kHalfColumns = 35;  // the small road and the cockroach pig share one band
constexpr int kWidth = 2 * kMargin + kBigColumns * kBigCell;
constexpr int kBeadTop = kMargin + kLabelHeight;
constexpr int kBigTop = kBeadTop + kRows * kBigCell + kGap + kLabelHeight;
constexpr int kEyeTop = kBigTop + kRows * kBigCell + kGap + kLabelHeight;
constexpr int kLowTop = kEyeTop + kRows * kSmallCell + kGap + kLabelHeight;
constexpr int kHeight = kLowTop + kRows * kSmallCell + kMargin;
constexpr int kCockroachLeft = kWidth - kMargin - kHalfColumns * kSmallCell;
// The counts and the preview stand right of the bead plate.
constexpr int kPanelLeft = kMargin + kBeadColumns * kBigCell + 20;
constexpr int kLineHeight = 20;
constexpr int kPreviewTop = kBeadTop + 3 * kLineHeight + 12;
constexpr int kPreviewCell = 16;
constexpr int kPreviewLeft = kPanelLeft + 62;
constexpr int kPreviewStep = 26;

const QColor kPage(250, 247, 238);
const QColor kGridGround(255, 255, 255);
const QColor kGridLine(214, 210, 200);
const QColor kLabel(70, 60, 50);

struct Band {
    int left;
    int top;
    int cell;
    int columns;
};

Band BandOf(CRoadWnd::Road road) {
    switch (road) {
        case CRoadWnd::Road::Bead:
            return {kMargin, kBeadTop, kBigCell, kBeadColumns};
        case CRoadWnd::Road::Big:
            return {kMargin, kBigTop, kBigCell, kBigColumns};
        case CRoadWnd::Road::BigEyeBoy:
            return {kMargin, kEyeTop, kSmallCell, kEyeColumns};
        case CRoadWnd::Road::Small:
            return {kMargin, kLowTop, kSmallCell, kHalfColumns};
        case CRoadWnd::Road::Cockroach:
            return {kCockroachLeft, kLowTop, kSmallCell, kHalfColumns};
    }
    return {};
}

// Drawn columns of each road, to scroll the newest into view.
int WidthOf(const CShoeRoads& roads, CRoadWnd::Road road) {
    switch (road) {
        case CRoadWnd::Road::Bead: {
            const int hands = static_cast<int>(roads.Hands().size());
            return (hands + CShoeRoads::kBeadRows - 1) / CShoeRoads::kBeadRows;
        }
        case CRoadWnd::Road::Big:
            return roads.BigRoad().Width();
        case CRoadWnd::Road::BigEyeBoy:
            return roads.Derived(kBigEyeBoy).Width();
        case CRoadWnd::Road::Small:
            return roads.Derived(kSmallRoad).Width();
        case CRoadWnd::Road::Cockroach:
            return roads.Derived(kCockroachPig).Width();
    }
    return 0;
}

int FirstShown(const CShoeRoads& roads, CRoadWnd::Road road) {
    return std::max(0, WidthOf(roads, road) - BandOf(road).columns);
}

QColor SideColour(int side) {
    return side == SIDE_BANKER   ? CRoadWnd::BankerColour()
           : side == SIDE_PLAYER ? CRoadWnd::PlayerColour()
                                 : CRoadWnd::TieColour();
}

QColor MarkColour(int mark) {
    return static_cast<RoadColour>(mark) == RoadColour::Red ? CRoadWnd::BankerColour()
                                                            : CRoadWnd::PlayerColour();
}

// The mark of a derived road in `cell`: hollow circle, filled dot or slash.
void PaintDerivedMark(QPainter& p, CRoadWnd::Road road, const QRectF& cell, const QColor& colour) {
    const qreal s = cell.width();
    switch (road) {
        case CRoadWnd::Road::BigEyeBoy: {
            const qreal w = std::max<qreal>(1.8, s / 7);
            p.setPen(QPen(colour, w));
            p.setBrush(Qt::NoBrush);
            const qreal in = s * 0.14 + w / 2;
            p.drawEllipse(cell.adjusted(in, in, -in, -in));
            break;
        }
        case CRoadWnd::Road::Small: {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            const qreal in = s * 0.14;
            p.drawEllipse(cell.adjusted(in, in, -in, -in));
            break;
        }
        case CRoadWnd::Road::Cockroach: {
            p.setPen(QPen(colour, std::max<qreal>(2.0, s / 5), Qt::SolidLine, Qt::RoundCap));
            const qreal in = s * 0.2;
            p.drawLine(QPointF(cell.left() + in, cell.bottom() - in),
                       QPointF(cell.right() - in, cell.top() + in));
            break;
        }
        default:
            break;
    }
}

void PaintGrid(QPainter& p, const Band& band) {
    const QRect area(band.left, band.top, band.columns * band.cell, kRows * band.cell);
    p.fillRect(area, kGridGround);
    p.setPen(QPen(kGridLine, 1));
    for (int c = 0; c <= band.columns; ++c) {
        const int x = band.left + c * band.cell;
        p.drawLine(x, area.top(), x, area.top() + area.height());
    }
    for (int r = 0; r <= kRows; ++r) {
        const int y = band.top + r * band.cell;
        p.drawLine(area.left(), y, area.left() + area.width(), y);
    }
}

void PaintLabel(QPainter& p, int left, int top, const QString& text) {
    p.setPen(kLabel);
    QFont font = PointFont(kFaceSong, 100);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(left, top, 200, kLabelHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

CRoadWnd::CRoadWnd(QWidget* parent) : QWidget(parent), m_pSaveTimer(new QTimer(this)) {
    // A window of its own: a title and a close box, no sizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("roadWnd"));
    setWindowTitle(QStringLiteral("路单"));
    setFixedSize(kWidth, kHeight);
    // Opening it leaves the keyboard with the main window, where the hands are entered.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_pSaveTimer->setSingleShot(true);
    m_pSaveTimer->setInterval(500);
    connect(m_pSaveTimer, &QTimer::timeout, this, &CRoadWnd::SavePosition);
}

CRoadWnd::~CRoadWnd() {
    SavePosition();
}

void CRoadWnd::Follow(const CShoeEngine& shoe) {
    // The hands entered are the leading shown result cells; m_nHandCount lags behind while a
    // hand is being recorded.
    int hands = 0;
    while (hands < CShoeEngine::kHands && shoe.m_ResultCell[hands].m_bShow) ++hands;
    const std::vector<int>& known = m_roads.Hands();
    bool prefix = static_cast<int>(known.size()) <= hands;
    for (std::size_t i = 0; prefix && i < known.size(); ++i)
        prefix = known[i] == shoe.m_ResultCell[i].m_nSide;
    if (prefix && static_cast<int>(known.size()) == hands) return;
    if (!prefix) m_roads.Clear();
    for (int i = static_cast<int>(m_roads.Hands().size()); i < hands; ++i)
        m_roads.Add(shoe.m_ResultCell[i].m_nSide);
    update();
}

void CRoadWnd::ShowBeside(const QWidget& owner) {
    if (!m_bPlaced) {
        const auto x = ReadExtraValue(kXName);
        const auto y = ReadExtraValue(kYName);
        const QPoint stored(x.value_or(0), y.value_or(0));
        if (x && y && QGuiApplication::screenAt(stored + QPoint(20, 20))) {
            move(stored);
        } else {
            const QScreen* screen = owner.screen();
            const QRect free = screen ? screen->availableGeometry() : QRect();
            // Not shown yet, the window has no frame: take the main window's frame as its own.
            const QSize frame = size() + (owner.frameGeometry().size() - owner.size());
            move(PlaceBeside(owner.frameGeometry(), frame, free));
        }
        m_bPlaced = true;
    }
    show();
}

QPoint CRoadWnd::PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen) {
    const QPoint right(owner.right() + 1 + kGap, owner.top());
    const QPoint left(owner.left() - kGap - size.width(), owner.top());
    if (screen.isEmpty()) return right;
    QPoint place = right;
    if (right.x() + size.width() - 1 > screen.right() && left.x() >= screen.left()) place = left;
    // Where neither side has room it goes over the main window, but stays whole on the screen.
    place.setX(std::max(screen.left(), std::min(place.x(), screen.right() + 1 - size.width())));
    place.setY(std::max(screen.top(), std::min(place.y(), screen.bottom() + 1 - size.height())));
    return place;
}

bool CRoadWnd::RememberedOpen() {
    return ReadExtraValue(kOpenName).value_or(0) != 0;
}

void CRoadWnd::RememberOpen(bool open) {
    WriteExtraValue(kOpenName, open ? 1 : 0);
}

void CRoadWnd::SavePosition() {
    m_pSaveTimer->stop();
    if (!m_bPlaced) return;
    WriteExtraValue(kXName, pos().x());
    WriteExtraValue(kYName, pos().y());
}

QRect CRoadWnd::CellRect(Road road, int column, int row) const {
    const Band band = BandOf(road);
    const int shown = column - FirstShown(m_roads, road);
    if (shown < 0 || shown >= band.columns || row < 0 || row >= kRows) return {};
    return {band.left + shown * band.cell, band.top + row * band.cell, band.cell, band.cell};
}

QRect CRoadWnd::PreviewRect(int side, int k) const {
    const int top = kPreviewTop + (side == SIDE_BANKER ? 0 : kLineHeight + 6);
    return {kPreviewLeft + (k - 1) * kPreviewStep, top + (kLineHeight - kPreviewCell) / 2,
            kPreviewCell, kPreviewCell};
}

void CRoadWnd::closeEvent(QCloseEvent* event) {
    event->accept();
    emit Closed();
}

void CRoadWnd::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_bPlaced) m_pSaveTimer->start();
}

void CRoadWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), kPage);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const struct {
        Road road;
        const char16_t* label;
    } bands[] = {{Road::Bead, u"珠盘路"},
                 {Road::Big, u"大路"},
                 {Road::BigEyeBoy, u"大眼仔"},
                 {Road::Small, u"小路"},
                 {Road::Cockroach, u"蟑螂路"}};
    for (const auto& b : bands) {
        const Band band = BandOf(b.road);
        PaintLabel(p, band.left, band.top - kLabelHeight, QString::fromUtf16(b.label));
        p.setRenderHint(QPainter::Antialiasing, false);
        PaintGrid(p, band);
        p.setRenderHint(QPainter::Antialiasing, true);
    }

    // Bead plate: every hand as a filled disc with its glyph, ties included.
    QFont glyphFont = PointFont(kFaceKai, 100);
    glyphFont.setBold(true);
    p.setFont(glyphFont);
    const std::vector<int>& hands = m_roads.Hands();
    for (std::size_t i = 0; i < hands.size(); ++i) {
        const int column = static_cast<int>(i) / CShoeRoads::kBeadRows;
        const QRect cell =
            CellRect(Road::Bead, column, static_cast<int>(i) % CShoeRoads::kBeadRows);
        if (cell.isEmpty()) continue;
        p.setPen(Qt::NoPen);
        p.setBrush(SideColour(hands[i]));
        p.drawEllipse(QRectF(cell).adjusted(2, 2, -2, -2));
        p.setPen(Qt::white);
        const char16_t* glyph = hands[i] == SIDE_BANKER   ? u"庄"
                                : hands[i] == SIDE_PLAYER ? u"闲"
                                                          : u"和";
        p.drawText(cell, Qt::AlignCenter, QString::fromUtf16(glyph));
    }

    // Big road: hollow circles, with the ties marked in green.
    QFont tieFont = PointFont(kFaceSong, 80);
    tieFont.setBold(true);
    for (const CRoad::Cell& c : m_roads.BigRoad().Cells()) {
        const QRect cell = CellRect(Road::Big, c.column, c.row);
        if (cell.isEmpty()) continue;
        p.setPen(QPen(SideColour(c.mark), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(cell).adjusted(3.5, 3.5, -3.5, -3.5));
        // One tie is a slash across the circle; several are their number inside it.
        if (c.ties == 1) {
            p.setPen(QPen(TieColour(), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(cell.left() + 4, cell.bottom() - 3),
                       QPointF(cell.right() - 3, cell.top() + 4));
        } else if (c.ties > 1) {
            p.setFont(tieFont);
            p.setPen(TieColour());
            p.drawText(cell, Qt::AlignCenter, QString::number(c.ties));
        }
    }

    const struct {
        Road road;
        int k;
    } derived[] = {
        {Road::BigEyeBoy, kBigEyeBoy}, {Road::Small, kSmallRoad}, {Road::Cockroach, kCockroachPig}};
    for (const auto& d : derived) {
        for (const CRoad::Cell& c : m_roads.Derived(d.k).Cells()) {
            const QRect cell = CellRect(d.road, c.column, c.row);
            if (!cell.isEmpty()) PaintDerivedMark(p, d.road, cell, MarkColour(c.mark));
        }
    }

    // Counts: hands and shares per side, then the longest runs and the big road's columns.
    const RoadCounts& n = m_roads.Counts();
    PaintLabel(p, kPanelLeft, kMargin, QStringLiteral("统计  共%1手").arg(n.Hands()));
    p.setFont(PointFont(kFaceSong, 100));
    const struct {
        const char16_t* name;
        int count;
        QColor colour;
    } sides[] = {{u"庄", n.banker, BankerColour()},
                 {u"闲", n.player, PlayerColour()},
                 {u"和", n.tie, TieColour()}};
    for (int i = 0; i < 3; ++i) {
        const QRect line(kPanelLeft, kBeadTop + i * kLineHeight, 160, kLineHeight);
        p.setPen(sides[i].colour);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1  %2手  %3%")
                       .arg(QString::fromUtf16(sides[i].name))
                       .arg(sides[i].count, 2)
                       .arg(n.Share(sides[i].count), 5, 'f', 1));
    }
    p.setPen(kLabel);
    const QString runs[] = {QStringLiteral("最长连庄  %1").arg(n.longestBanker),
                            QStringLiteral("最长连闲  %1").arg(n.longestPlayer),
                            QStringLiteral("大路列数  %1").arg(n.runs)};
    for (int i = 0; i < 3; ++i) {
        p.drawText(QRect(kPanelLeft + 170, kBeadTop + i * kLineHeight, 150, kLineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, runs[i]);
    }

    // Preview: the three derived roads' next marks after a banker or a player hand.
    for (const int side : {SIDE_BANKER, SIDE_PLAYER}) {
        const QRect box = PreviewRect(side, kBigEyeBoy);
        QFont font = PointFont(kFaceSong, 100);
        font.setBold(true);
        p.setFont(font);
        p.setPen(SideColour(side));
        p.drawText(QRect(kPanelLeft, box.center().y() - kLineHeight / 2, 60, kLineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   side == SIDE_BANKER ? QStringLiteral("庄问路") : QStringLiteral("闲问路"));
        for (const auto& d : derived) {
            const QRect cell = PreviewRect(side, d.k);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(kGridLine, 1));
            p.setBrush(kGridGround);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.setRenderHint(QPainter::Antialiasing, true);
            if (const auto mark = m_roads.Preview(side, d.k))
                PaintDerivedMark(p, d.road, cell, MarkColour(static_cast<int>(*mark)));
        }
    }
}
