#include <gtest/gtest.h>

#include <functional>
#include <string_view>

#include <QImage>
#include <QPainter>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "ui/Fonts.h"
#include "ui/ShoeLines.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

void Play(CShoeEngine& shoe, std::string_view hands) {
    for (const char h : hands) {
        shoe.RecordHand(h == 'B' ? SIDE_BANKER : h == 'P' ? SIDE_PLAYER : SIDE_TIE);
    }
}

// A shoe of `hands` hands whose settled advice cells 4, 5, ... hold `values` on `sides`, with
// score and counters written straight into the record.
void Settled(CShoeEngine& shoe, int hands, std::initializer_list<std::pair<int, int>> cells) {
    shoe.ResetShoe();
    shoe.m_nHandCount = hands;
    int i = CShoeEngine::kFirstAdvised;
    for (const auto& [side, value] : cells) {
        shoe.m_AdviceCell[i] = CCellRecord{1, value, side};
        shoe.m_nStake[i] = value < 0 ? -value : value;
        ++i;
    }
    shoe.RebuildDerivedState();
}

struct LineCase {
    const char* name;
    std::function<void(ShoeSettings&, CShoeEngine&)> setUp;
    const char* advice;
    QColor adviceColour;
    const char* status;
};

// Defaults: minimum 200, maximum 20000, so one unit is 100 yuan.
const LineCase kLineCases[] = {
    {"empty shoe", [](ShoeSettings&, CShoeEngine&) {}, "请输入前四手", kBlack,
     "0分 正常 收益率0％ ++0"},
    {"pause advice", [](ShoeSettings&, CShoeEngine& s) { Play(s, "BBBP"); }, "第5手请暂停下注",
     kRed, "0分 正常 收益率0％ ++0"},
    {"banker bet below the minimum is split",
     [](ShoeSettings&, CShoeEngine& s) { Play(s, "BBBPB"); }, "第6手请下注 庄1 (庄:300元 闲:200元)",
     kRed, "0分 正常 收益率0％ ++0"},
    {"banker bet at the minimum is not split",
     [](ShoeSettings&, CShoeEngine& s) {
         Play(s, "BBBPB");
         s.m_nStake[5] = 2;
     },
     "第6手请下注 庄2 (庄:200元)", kRed, "0分 正常 收益率0％ ++0"},
    {"player bet", [](ShoeSettings&, CShoeEngine& s) { Play(s, "BBBPBB"); },
     "第7手请下注 闲2 (闲:200元)", kBlue, "1分 正常 收益率100％ ++0"},
    {"player bet below the minimum is split",
     [](ShoeSettings&, CShoeEngine& s) {
         Play(s, "BBBPBB");
         s.m_nStake[6] = 1;
     },
     "第7手请下注 闲1 (闲:300元 庄:200元)", kBlue, "1分 正常 收益率100％ ++0"},
    {"unit is the table minimum when that is smaller",
     [](ShoeSettings& st, CShoeEngine& s) {
         st.m_nXXLimitMoney = 50;
         Play(s, "BBBPB");
     },
     "第6手请下注 庄1 (庄:50元)", kRed, "0分 正常 收益率0％ ++0"},
    {"amounts beyond 32 bits are shown as they are",
     [](ShoeSettings& st, CShoeEngine& s) {
         st.m_nXXLimitMoney = 2000000000;
         st.m_nSXLimitMoney = 2000000000;  // unit 10,000,000 yuan
         Play(s, "BBBPB");
         s.m_nStake[5] = 300;
     },
     "第6手请下注 庄300 (庄:3000000000元)", kRed, "0分 正常 收益率0％ ++0"},
    {"ended shoe: amount after commission on banker wins",
     [](ShoeSettings& st, CShoeEngine& s) {
         st.m_nWinStopMoney = 10;
         Settled(s, 7, {{SIDE_BANKER, 12}, {SIDE_PLAYER, -4}, {SIDE_PLAYER, 2}});
         s.m_nScore = 10;
     },
     "本局结束,总计赢940元", kRed, "10分 正常 收益率0％ ++0"},
    {"ended shoe with a loss wins nothing",
     [](ShoeSettings& st, CShoeEngine& s) {
         st.m_nLossStopMoney = 3;
         Settled(s, 6, {{SIDE_BANKER, -1}, {SIDE_PLAYER, -2}});
         s.m_nScore = -3;
         s.m_nYield = -100;
     },
     "本局结束,总计赢0元", kRed, "-3分 失败 收益率-100％ ++0"},
    {"alarm from the first paint when the alarm count is 0",
     [](ShoeSettings& st, CShoeEngine&) { st.m_nDangerous1 = 0; }, "请输入前四手", kBlack,
     "0分 警告 收益率0％ ++0"},
    {"won cycles equal to the limit: still 正常",
     [](ShoeSettings&, CShoeEngine& s) {
         Settled(s, 6, {{SIDE_BANKER, 1}, {SIDE_BANKER, 1}});
         s.m_nScore = 2;
         s.m_nYield = 100;
         s.m_nWinCycles = 4;
     },
     "本局结束,总计赢190元", kRed, "2分 正常 收益率100％ ++4"},
    {"won cycles above the limit: 博赢",
     [](ShoeSettings&, CShoeEngine& s) {
         Settled(s, 6, {{SIDE_PLAYER, 1}, {SIDE_PLAYER, 1}});
         s.m_nScore = 2;
         s.m_nYield = 100;
         s.m_nWinCycles = 5;
     },
     "本局结束,总计赢200元", kRed, "2分 博赢 收益率100％ ++5"},
};

}  // namespace

TEST(ShoeLines, AdviceAndStatusTexts) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.name);
        ShoeSettings settings;
        CShoeEngine shoe(settings);
        shoe.ResetShoe();
        c.setUp(settings, shoe);
        const ShoeLine advice = AdviceLine(shoe);
        EXPECT_EQ(advice.text.toStdString(), c.advice);
        EXPECT_EQ(advice.colour, c.adviceColour);
        const ShoeLine status = StatusLine(shoe);
        EXPECT_EQ(status.text.toStdString(), c.status);
        EXPECT_EQ(status.colour, kRed);
    }
}

TEST(ShoeLines, ShoeEndedByItsWinStop) {
    ShoeSettings settings;
    settings.m_nWinStopMoney = 1;
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    Play(shoe, "BBBPBB");  // the sixth hand wins one unit: the win-stop is reached
    EXPECT_EQ(AdviceLine(shoe).text, QStringLiteral("本局结束,总计赢95元"));
    EXPECT_EQ(shoe.m_AdviceCell[6].m_nSide, SIDE_NONE);
}

TEST(ShoeLines, LongLinesShowWholeInTheirRectangle) {
    // The longest lines the largest settings can give: ten-digit amounts, the last hand, the
    // largest stake, counters near their limits. Each must show whole in its 360-pixel rectangle.
    const QRect rect(40, 30, 360, 29);  // the size of both line rectangles, inside a margin
    const struct {
        const char* name;
        const char16_t* text;
        bool fitsAtFullSize;
    } cases[] = {
        {"short advice", u"第6手请下注 庄1 (庄:300元 闲:200元)", true},
        {"empty shoe", u"请输入前四手", true},
        {"large limits", u"第12手请下注 庄300 (庄:3000000元 闲:10000元)", false},
        {"largest amounts", u"第66手请下注 闲300 (闲:5368709100元 庄:2147483647元)", false},
        {"largest end of shoe", u"本局结束,总计赢6442450941元", true},
        {"largest status", u"-19800分 警告 收益率-100％ ++2147483647", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ShoeLine line{QString::fromUtf16(c.text), QColor(255, 0, 0)};
        QImage clipped(440, 90, QImage::Format_ARGB32_Premultiplied);
        clipped.fill(Qt::transparent);
        QImage unclipped = clipped;
        {
            QPainter p(&clipped);
            PaintShoeLine(p, rect, line);
        }
        // The same text in the same font with nothing to clip it.
        const QFont font = FitToWidth(PointFont(kFaceKai, 150), line.text, rect.width());
        {
            QPainter p(&unclipped);
            p.setFont(font);
            p.setPen(line.colour);
            p.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, line.text);
        }
        EXPECT_TRUE(clipped == unclipped) << "part of the text was cut off";
        QRect ink;
        for (int y = 0; y < unclipped.height(); ++y)
            for (int x = 0; x < unclipped.width(); ++x)
                if (qAlpha(unclipped.pixel(x, y)) != 0) ink |= QRect(x, y, 1, 1);
        EXPECT_TRUE(rect.contains(ink));
        EXPECT_EQ(font.pointSizeF() == 15.0, c.fitsAtFullSize) << font.pointSizeF();
    }
}
