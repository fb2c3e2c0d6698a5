#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include "tests/ui/UiTestSupport.h"
#include "ui/NuvDlg.h"

// The main window shown headless, its message boxes answered by a recording prompter, and ways to
// reach its controls by object name.
class WindowFixture : public testing::Test {
protected:
    WindowFixture() {
        dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }

    template <typename W>
    W* Find(const char* name) {
        W* w = dlg.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    // Clicks the result buttons for hands given as B, P and T.
    void ClickHands(std::string_view hands) {
        for (const char h : hands)
            Click(h == 'B' ? "btnBanker" : h == 'P' ? "btnPlayer" : "btnTie");
    }

    // The texts of the test row's four edits, left to right.
    QStringList Edits() {
        QStringList texts;
        for (const char* name :
             {"m_editTestTimes", "m_editTestShoes", "m_editTotalWin", "m_editFirstLossRun"}) {
            texts << Find<QLineEdit>(name)->text();
        }
        return texts;
    }

    CRecordingPrompter prompter;
    CnuvDlg dlg{nullptr, &prompter};
};
