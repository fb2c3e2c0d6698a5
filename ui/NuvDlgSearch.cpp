// The parameter search behind the hidden button "寻找最优参数".
#include "ui/NuvDlg.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>

#include "dialogs/Prompter.h"
#include "dialogs/WaitCursor.h"
#include "sim/ParameterSearch.h"
#include "sim/ShoeSpeed.h"
#include "ui/BackgroundWork.h"

namespace {

namespace fs = std::filesystem;

const QString kCaption = QStringLiteral("寻找最优参数");

// $XDG_DATA_HOME/nuv, or ~/.local/share/nuv when XDG_DATA_HOME is unset or not absolute.
fs::path RankingFolder() {
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    const fs::path data =
        xdg.startsWith('/')
            ? fs::path(xdg.toStdString())
            : fs::path(QFile::encodeName(QDir::homePath()).toStdString()) / ".local" / "share";
    return data / "nuv";
}

QString PathText(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace

double CnuvDlg::SampleShoeSpeed(const ShoeSettings& settings) {
    return MeasureSecondsPerShoe(settings);
}

void CnuvDlg::SearchParameters() {
    if (m_shoe.m_bSimulating) return;  // a test or search is already running
    if (!UpdateData(true)) return;

    // The search tests each grid point on copies of the settings: the window's own members, and
    // the hive, never change.
    const ShoeSettings base = m_settings;
    SearchOptions options;
    options.win = base.m_nWinStopMoney;
    options.loss = base.m_nLossStopMoney;
    options.winRadius = base.m_nXXLimitMoney;
    options.lossRadius = base.m_nSXLimitMoney;
    options.runs = m_nTestTimes;
    options.shoes = m_nTestShoes;
    options.folder = RankingFolder();
    // The estimate times a short sample of shoes first: the traditional 0.05 seconds per shoe is
    // some hundred thousand times too slow and would make every search look impossible.
    double secondsPerShoe = 0;
    {
        CWaitCursor wait;
        secondsPerShoe = m_fnSecondsPerShoe(base);
    }
    if (!Prompter().Confirm(this, kCaption,
                            QString::fromStdString(SearchQuestionText(
                                options, EstimateSearch(options, secondsPerShoe))))) {
        return;
    }
    options.seed = m_fnSeed();

    SearchResult result;
    FileResult folderError;
    {
        CSimulating simulating(m_shoe);
        UpdateData(false);
        CWaitCursor wait;
        std::error_code ec;
        fs::create_directories(options.folder, ec);
        if (ec) folderError = FileResult::Failure(options.folder, ec.value());
        RunInBackground(
            this, Prompter(), kCaption, QStringLiteral("正在寻找最优参数……"),
            [&](const WorkProgress& progress) { result = RunSearch(base, options, progress); });
        if (result.pointsDone > 0) {
            ShoeSettings last = base;
            last.m_nWinStopMoney = result.lastWin;
            last.m_nLossStopMoney = result.lastLoss;
            ShowTestResult(last, options.seed, result.lastTest);
        }
    }

    // A missing folder explains a failed write better than the write itself.
    const FileResult& failure = !folderError.ok() ? folderError : result.fileError;
    if (!failure.ok()) {
        Prompter().Message(this, kCaption,
                           QStringLiteral("测试结果没有保存到“%1”：%2")
                               .arg(QFile::decodeName(QByteArray::fromStdString(failure.path)),
                                    QString::fromStdString(failure.reason)),
                           CPrompter::Icon::Warning);
    }
    const QString report = QString::fromStdString(SearchReportText(options, result));
    if (result.cancelled) {
        Prompter().Message(this, kCaption,
                           QStringLiteral("寻找最优参数已取消，只测试了%1组参数中的%2组，"
                                          "“%3”只记录了这些组。\n\n")
                                   .arg(result.gridPoints)
                                   .arg(result.pointsDone)
                                   .arg(PathText(result.file)) +
                               report,
                           CPrompter::Icon::None);
    } else {
        Prompter().Message(this, QStringLiteral("完成 寻找最优参数"), report,
                           CPrompter::Icon::None);
    }
}
