// The live shoe kept on disk: the journal that every command feeds, the offer to resume the shoe
// of the last run, the history of finished shoes, and copy and paste of a shoe's letters.
#include <cstring>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "dialogs/Product.h"
#include "dialogs/Prompter.h"
#include "dialogs/WaitCursor.h"
#include "engine/Side.h"
#include "history/LiveShoe.h"
#include "platform/UserFolders.h"
#include "ui/NuvDlg.h"

namespace {

QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// The result letter of a pasted character (B/P/T or Z/X/H, either case), or '\0'.
char PastedLetter(QChar c) {
    switch (c.toUpper().unicode()) {
        case u'B':
        case u'Z':
            return 'Z';
        case u'P':
        case u'X':
            return 'X';
        case u'T':
        case u'H':
            return 'H';
        default:
            return '\0';
    }
}

}  // namespace

void CnuvDlg::OpenJournal() {
    m_pLiveShoe = std::make_unique<CLiveShoe>(UserDataFolder());
    const FileResult opened = m_pLiveShoe->Open();
    m_nJournalError = opened.error;
    if (!opened.ok()) return;
    // The journal's shoe is offered after the window is shown; until the user has answered,
    // nothing is written, so the shoe cannot be mixed with a new one.
    CShoeEngine rebuilt(m_settings);
    rebuilt.ResetShoe();
    ApplyCommands(rebuilt, m_pLiveShoe->OpenedShoe());
    m_bResumePending = rebuilt.m_nHandCount > 0;
}

bool CnuvDlg::KeepingShoe() const {
    return m_pLiveShoe && m_pLiveShoe->IsOpen() && !m_bResumePending && m_bShoeKept;
}

void CnuvDlg::RunJournalDue() {
    std::function<void()> due = std::move(m_fnJournalDue);
    m_fnJournalDue = nullptr;
    if (due) due();
}

void CnuvDlg::JournalResult(const FileResult& result) {
    if (result.ok()) {
        m_bJournalTroubleShown = false;
        return;
    }
    if (m_bJournalTroubleShown) return;
    m_bJournalTroubleShown = true;
    Prompter().Message(
        this, kProductName,
        QStringLiteral("无法保存牌靴记录：%1（%2）。\n程序意外关闭时，这一靴将无法恢复。")
            .arg(QFile::decodeName(QByteArray::fromStdString(result.path)),
                 QString::fromLocal8Bit(result.reason.c_str())),
        CPrompter::Icon::Warning);
}

void CnuvDlg::OfferResume() {
    if (!m_pLiveShoe) return;
    if (m_nJournalError == EWOULDBLOCK) {
        Prompter().Message(this, kProductName,
                           QStringLiteral("另一个窗口正在记录牌靴，这个窗口不保存牌靴记录。"),
                           CPrompter::Icon::Warning);
        return;
    }
    if (m_nJournalError != 0) {
        Prompter().Message(this, kProductName,
                           QStringLiteral("无法打开牌靴记录（%1）：%2。\n这个窗口不保存牌靴记录。")
                               .arg(PathText(m_pLiveShoe->Folder() / CLiveShoe::kJournalName),
                                    QString::fromLocal8Bit(std::strerror(m_nJournalError))),
                           CPrompter::Icon::Warning);
        return;
    }
    if (!m_pLiveShoe->DamagedCopy().empty()) {
        Prompter().Message(
            this, kProductName,
            QStringLiteral("牌靴记录已损坏，只读出了损坏处之前的记录；原来的文件另存为 %1。")
                .arg(PathText(m_pLiveShoe->DamagedCopy())),
            CPrompter::Icon::Warning);
    }
    if (!m_bResumePending) return;

    CShoeEngine rebuilt(m_settings);
    rebuilt.ResetShoe();
    ApplyCommands(rebuilt, m_pLiveShoe->OpenedShoe());
    // A shoe already begun in this window (hands entered before the question could come) is the
    // one kept; the old one goes to the history as if declined.
    const bool resume = m_shoe.m_nHandCount == 0 &&
                        Prompter().AskYesNo(this, kProductName,
                                            QString::asprintf("上次的牌靴还有%d手记录，是否恢复？",
                                                              rebuilt.m_nHandCount));
    m_bResumePending = false;
    if (!resume) {
        JournalResult(m_pLiveShoe->Declined(rebuilt));
        if (m_shoe.m_nHandCount > 0 && m_bShoeKept) JournalResult(m_pLiveShoe->Entered(m_shoe));
        return;
    }
    {
        // The shoe comes back through the pipeline as the journal's commands made it; the user
        // asked for it, so its end, if it had ended, shows in the lines and brings no message.
        CWaitCursor wait;
        CSimulating quiet(m_shoe);
        m_shoe.ResetShoe();
        ApplyCommands(m_shoe, m_pLiveShoe->OpenedShoe());
    }
    RecordChanged();
    update();
    UpdateData(false);
}

void CnuvDlg::ShoeReplacedByTest() {
    if (KeepingShoe()) JournalResult(m_pLiveShoe->Leaving(m_shoe));
    // A test's shoe is a simulation: the journal keeps no test shoe, the history no test row.
    m_bShoeKept = false;
}

void CnuvDlg::OnCopyShoe() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(m_shoe.ResultLetters(m_shoe.m_nHandCount)));
}

void CnuvDlg::OnPasteShoe() {
    if (m_shoe.m_bSimulating) return;
    const QString text = QGuiApplication::clipboard()->text();
    std::string letters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace()) continue;
        const char letter = PastedLetter(text[i]);
        if (letter == '\0') {
            Prompter().Message(
                this, kProductName,
                QStringLiteral("剪贴板里的第%1个字符“%2”不是牌靴记录，没有粘贴。\n"
                               "牌靴记录只能用 B、P、T 或 Z、X、H（大小写均可）表示庄、闲、和。")
                    .arg(i + 1)
                    .arg(text[i]),
                CPrompter::Icon::Warning);
            return;
        }
        letters += letter;
    }
    if (letters.empty()) {
        Prompter().Message(this, kProductName, QStringLiteral("剪贴板里没有牌靴记录。"),
                           CPrompter::Icon::None);
        return;
    }
    if (m_shoe.m_nHandCount > 0 &&
        !Prompter().AskYesNo(
            this, kProductName,
            QString::asprintf("当前牌靴已有%d手记录，要用剪贴板里的%d手替换它吗？",
                              m_shoe.m_nHandCount, static_cast<int>(letters.size())))) {
        return;
    }

    if (KeepingShoe()) JournalResult(m_pLiveShoe->Leaving(m_shoe));
    if (!m_bResumePending) m_bShoeKept = true;
    m_fnJournalDue = [this] {
        if (KeepingShoe()) JournalResult(m_pLiveShoe->Entered(m_shoe));
    };
    {
        CWaitCursor wait;
        // As if clicked: a hand that ends the shoe shows the end-of-shoe message, and the
        // letters after it are dropped.
        m_shoe.Replay(letters);
    }
    RunJournalDue();
    RecordChanged();
    update();
    UpdateData(false);
    const int dropped = static_cast<int>(letters.size()) - m_shoe.m_nHandCount;
    if (dropped > 0) {
        Prompter().Message(this, kProductName,
                           QString::asprintf("这一靴已经结束，剪贴板里还有%d手没有输入。", dropped),
                           CPrompter::Icon::None);
    }
}
