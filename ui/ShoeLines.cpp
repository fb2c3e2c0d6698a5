#include "ui/ShoeLines.h"

#include <QPainter>
#include <QRect>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "ui/Fonts.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

}  // namespace

ShoeLine AdviceLine(CShoeEngine& shoe) {
    const int n = shoe.m_nHandCount;
    if (n < CShoeEngine::kFirstAdvised) return {QStringLiteral("请输入前四手"), kBlack};

    // Amounts in yuan are worked out in 64 bits: stake x unit overflows 32 bits once the table
    // limits are in the tens of millions, and a wrapped amount would tell the player a wrong bet.
    const long long unit = shoe.BaseUnit();
    if (shoe.IsShoeOver()) {
        return {
            QString::asprintf("本局结束,总计赢%lld元", static_cast<long long>(shoe.WonAmount())),
            kRed};
    }

    const int hand = n + 1;
    const int side = shoe.m_AdviceCell[n].m_nSide;
    const int stake = shoe.m_nStake[n];
    const long long minimum = shoe.Settings().m_nXXLimitMoney;
    const long long amount = stake * unit;
    if (side == SIDE_BANKER || side == SIDE_PLAYER) {
        const bool banker = side == SIDE_BANKER;
        const char* format = nullptr;
        if (amount < minimum) {
            format = banker ? "第%d手请下注 庄%d (庄:%lld元 闲:%lld元)"
                            : "第%d手请下注 闲%d (闲:%lld元 庄:%lld元)";
            return {QString::asprintf(format, hand, stake, amount + minimum, minimum),
                    banker ? kRed : kBlue};
        }
        format = banker ? "第%d手请下注 庄%d (庄:%lld元)" : "第%d手请下注 闲%d (闲:%lld元)";
        return {QString::asprintf(format, hand, stake, amount), banker ? kRed : kBlue};
    }
    return {QString::asprintf("第%d手请暂停下注", hand), kRed};
}

ShoeLine StatusLine(CShoeEngine& shoe) {
    // "％" is the full-width percent sign, an ordinary character of the text.
    const char* verdict = "正常";
    if (shoe.IsShoeOver() && shoe.m_nScore < 0) {
        verdict = "失败";
    } else if (shoe.m_nDangerCount >= shoe.Settings().m_nDangerous1) {
        verdict = "警告";
    } else if (shoe.IsShoeOver() && shoe.m_nWinCycles > shoe.Settings().m_nWinStopNum &&
               shoe.m_nScore > 0) {
        verdict = "博赢";
    }
    return {QString::asprintf("%d分 %s 收益率%d％ ++%d", shoe.m_nScore, verdict, shoe.m_nYield,
                              shoe.m_nWinCycles),
            kRed};
}

void PaintShoeLine(QPainter& painter, const QRect& rect, const ShoeLine& line) {
    // A line too long for its rectangle (large table limits give seven-digit amounts) is drawn
    // smaller rather than cut off; a line that fits keeps the 15-point face.
    painter.setFont(FitToWidth(PointFont(kFaceKai, 150), line.text, rect.width()));
    painter.setPen(line.colour);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.text);
}
