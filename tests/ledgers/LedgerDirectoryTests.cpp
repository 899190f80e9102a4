#include "ledgers/Big5.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/PublicFunction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray legacyLine(const QString &plain)
{
    const QByteArray bytes = toBig5(QString::fromLatin1(LegacyMarker) + plain).value();
    QByteArray out(bytes.size(), '\0');
    quint32 key = LegacyStartKey;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 o = static_cast<quint8>(bytes[i]) ^ ((key >> 8) & 0xFF);
        out[i] = static_cast<char>(o);
        key = (o + key) * LegacyMultiplier + LegacyIncrement;
    }
    return out;
}

QByteArray enc(const QString &plain)
{
    return EncodeLedgerText(plain);
}

class LedgerDirectoryTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("UserInfo")); }

    void writeRaw(const QByteArray &content)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray readRaw() const
    {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return "(missing)";
        return file.readAll();
    }

    void writeLines(const QByteArrayList &lines) { writeRaw(lines.join("\r\n") + "\r\n"); }

    QTemporaryDir m_dir;
    LedgerDirectory m_ledgers { path() };
};

const auto accept = [](const QString &) { return true; };

} // namespace

TEST_F(LedgerDirectoryTest, MissingFileIsCreatedEmpty)
{
    EXPECT_TRUE(m_ledgers.ListLedgerNames().isEmpty());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(readRaw(), QByteArray());
    EXPECT_FALSE(m_ledgers.FindLedger(QStringLiteral("王小明")).found);
}

TEST_F(LedgerDirectoryTest, NewLedgerWithoutPasswordIsNameLineAndTwoEmptyLines)
{
    EXPECT_EQ(m_ledgers.AddLedger(QStringLiteral("王小明"), QString()), AddLedgerResult::Added);
    EXPECT_EQ(readRaw(), enc(QStringLiteral("王小明")) + "\r\n\r\n\r\n");

    const LedgerLookup found = m_ledgers.FindLedger(QStringLiteral("王小明"));
    EXPECT_TRUE(found.found);
    EXPECT_TRUE(found.passwordEmpty);
    EXPECT_TRUE(found.yearEmpty);
    const PasswordCheck check = m_ledgers.CheckLedgerPassword(QStringLiteral("王小明"), QString());
    EXPECT_TRUE(check.found && check.matches && check.yearEmpty);
}

TEST_F(LedgerDirectoryTest, AddListsInCreationOrderAndRefusesDuplicates)
{
    EXPECT_EQ(
        m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("pw")), AddLedgerResult::Added);
    EXPECT_EQ(m_ledgers.AddLedger(QStringLiteral("家用"), QString()), AddLedgerResult::Added);
    const QByteArray before = readRaw();
    EXPECT_EQ(m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("other")),
        AddLedgerResult::Duplicate);
    EXPECT_EQ(readRaw(), before);
    // Matching is case-sensitive, so this is a different ledger.
    EXPECT_EQ(m_ledgers.AddLedger(QStringLiteral("shop"), QString()), AddLedgerResult::Added);

    EXPECT_EQ(m_ledgers.ListLedgerNames(),
        QStringList({ QStringLiteral("Shop"), QStringLiteral("家用"), QStringLiteral("shop") }));
    const QByteArrayList lines = readRaw().split('\n');
    EXPECT_EQ(lines.size(), 10); // nine lines, each ended by CR LF
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    // No temporary file is left beside the list.
    EXPECT_EQ(
        QDir(m_dir.path()).entryList(QDir::Files), QStringList({ QStringLiteral("UserInfo") }));
}

TEST_F(LedgerDirectoryTest, DuplicateCheckSeesLaterRecordsAndLegacyNames)
{
    writeLines({ enc(QStringLiteral("A")), {}, {}, legacyLine(QStringLiteral("B")), {}, {} });
    EXPECT_EQ(m_ledgers.AddLedger(QStringLiteral("B"), QString()), AddLedgerResult::Duplicate);
}

TEST_F(LedgerDirectoryTest, PasswordCheckAndYear)
{
    m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("Secret1"));
    EXPECT_FALSE(m_ledgers.FindLedger(QStringLiteral("Shop")).passwordEmpty);

    PasswordCheck check
        = m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QStringLiteral("Secret1"));
    EXPECT_TRUE(check.found && check.matches && check.yearEmpty);
    EXPECT_FALSE(
        m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QStringLiteral("secret1")).matches);
    EXPECT_FALSE(m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QString()).matches);
    check = m_ledgers.CheckLedgerPassword(QStringLiteral("Nobody"), QStringLiteral("Secret1"));
    EXPECT_FALSE(check.found || check.matches);

    const QByteArray before = readRaw();
    EXPECT_FALSE(m_ledgers.SetLedgerYear(QStringLiteral("Nobody"), 2012));
    EXPECT_EQ(readRaw(), before);

    EXPECT_TRUE(m_ledgers.SetLedgerYear(QStringLiteral("Shop"), 2012));
    EXPECT_EQ(readRaw(),
        enc(QStringLiteral("Shop")) + "\r\n" + enc(QStringLiteral("Secret1")) + "\r\n2012\r\n");
    EXPECT_FALSE(m_ledgers.FindLedger(QStringLiteral("Shop")).yearEmpty);
    EXPECT_FALSE(
        m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QStringLiteral("Secret1")).yearEmpty);
}

TEST_F(LedgerDirectoryTest, ReadsAnyLineBreakAndWritesCrLf)
{
    const QByteArray a = enc(QStringLiteral("甲")), b = enc(QStringLiteral("乙")),
                     c = enc(QStringLiteral("丙"));
    // LF, lone CR, CR LF, and no break after the last line.
    writeRaw(
        a + "\n" + enc(QStringLiteral("p")) + "\n2011\r" + b + "\r\n\r\n\r\n" + c + "\r\n\r\n2010");
    EXPECT_EQ(m_ledgers.ListLedgerNames(),
        QStringList({ QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙") }));
    const LedgerLookup middle = m_ledgers.FindLedger(QStringLiteral("乙"));
    EXPECT_TRUE(middle.found && middle.passwordEmpty && middle.yearEmpty);
    EXPECT_FALSE(m_ledgers.FindLedger(QStringLiteral("丙")).yearEmpty);

    m_ledgers.SetLedgerYear(QStringLiteral("乙"), 2013);
    EXPECT_EQ(readRaw(),
        a + "\r\n" + enc(QStringLiteral("p")) + "\r\n2011\r\n" + b + "\r\n\r\n2013\r\n" + c
            + "\r\n\r\n2010\r\n");
}

TEST_F(LedgerDirectoryTest, ChangePassword)
{
    m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("old"));
    m_ledgers.SetLedgerYear(QStringLiteral("Shop"), 2012);
    const QByteArray before = readRaw();

    EXPECT_EQ(m_ledgers.ChangeLedgerPassword(
                  QStringLiteral("Shop"), QStringLiteral("wrong"), QStringLiteral("new")),
        ChangePasswordResult::WrongOldPassword);
    EXPECT_EQ(m_ledgers.ChangeLedgerPassword(
                  QStringLiteral("Nobody"), QStringLiteral("old"), QStringLiteral("new")),
        ChangePasswordResult::NoSuchLedger);
    EXPECT_EQ(readRaw(), before);

    EXPECT_EQ(m_ledgers.ChangeLedgerPassword(
                  QStringLiteral("Shop"), QStringLiteral("old"), QStringLiteral("新密碼")),
        ChangePasswordResult::Changed);
    EXPECT_TRUE(
        m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QStringLiteral("新密碼")).matches);
    EXPECT_FALSE(
        m_ledgers.CheckLedgerPassword(QStringLiteral("Shop"), QStringLiteral("old")).matches);

    // An empty new password leaves an empty line: the ledger then has no password.
    EXPECT_EQ(
        m_ledgers.ChangeLedgerPassword(QStringLiteral("Shop"), QStringLiteral("新密碼"), QString()),
        ChangePasswordResult::Changed);
    EXPECT_EQ(readRaw(), enc(QStringLiteral("Shop")) + "\r\n\r\n2012\r\n");
    EXPECT_TRUE(m_ledgers.FindLedger(QStringLiteral("Shop")).passwordEmpty);
}

TEST_F(LedgerDirectoryTest, LegacyRecordsReadAndKeepTheirNameLine)
{
    const QByteArray legacyName = legacyLine(QStringLiteral("老帳本"));
    writeLines({ enc(QStringLiteral("新帳本")), {}, {}, legacyName,
        legacyLine(QStringLiteral("舊密碼")), "2009" });

    EXPECT_EQ(m_ledgers.ListLedgerNames(),
        QStringList({ QStringLiteral("新帳本"), QStringLiteral("老帳本") }));
    EXPECT_TRUE(m_ledgers.FindLedger(QStringLiteral("老帳本")).found);
    EXPECT_TRUE(
        m_ledgers.CheckLedgerPassword(QStringLiteral("老帳本"), QStringLiteral("舊密碼")).matches);

    EXPECT_EQ(m_ledgers.ChangeLedgerPassword(
                  QStringLiteral("老帳本"), QStringLiteral("舊密碼"), QStringLiteral("pw2")),
        ChangePasswordResult::Changed);
    const QByteArrayList lines = readRaw().split('\n');
    EXPECT_EQ(lines[3], legacyName + "\r");
    EXPECT_EQ(lines[4], enc(QStringLiteral("pw2")) + "\r");
    EXPECT_EQ(lines[5], "2009\r");
}

TEST_F(LedgerDirectoryTest, RemoveMiddleRecordKeepsTheOthersInOrder)
{
    m_ledgers.AddLedger(QStringLiteral("一"), QStringLiteral("p1"));
    m_ledgers.AddLedger(QStringLiteral("二"), QStringLiteral("p2"));
    m_ledgers.AddLedger(QStringLiteral("三"), QString());
    m_ledgers.SetLedgerYear(QStringLiteral("三"), 2012);
    const QByteArrayList before = readRaw().split('\n');

    QStringList asked;
    const auto result = m_ledgers.RemoveLedger(
        QStringLiteral("二"), QStringLiteral("p2"), [&](const QString &name) {
            asked << name;
            return true;
        });
    EXPECT_EQ(result, RemoveLedgerResult::Removed);
    EXPECT_EQ(asked, QStringList({ QStringLiteral("二") }));
    const QByteArrayList after = readRaw().split('\n');
    EXPECT_EQ(after, before.mid(0, 3) + before.mid(6));

    // A ledger without password is removed with an empty password.
    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("三"), QString(), accept),
        RemoveLedgerResult::Removed);
    EXPECT_EQ(m_ledgers.ListLedgerNames(), QStringList({ QStringLiteral("一") }));
}

TEST_F(LedgerDirectoryTest, RemoveWithoutQualifyingRecordChangesNothing)
{
    m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("pw"));
    const QByteArray before = readRaw();
    bool asked = false;
    const auto ask = [&](const QString &) {
        asked = true;
        return true;
    };

    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("Shop"), QStringLiteral("PW"), ask),
        RemoveLedgerResult::NoMatch);
    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("shop"), QStringLiteral("pw"), ask),
        RemoveLedgerResult::NoMatch);
    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("Shop"), QString(), ask),
        RemoveLedgerResult::NoMatch);
    EXPECT_FALSE(asked);

    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("Shop"), QStringLiteral("pw"),
                  [](const QString &) { return false; }),
        RemoveLedgerResult::Declined);
    EXPECT_EQ(readRaw(), before);
}

TEST_F(LedgerDirectoryTest, RemoveGoesOnAfterADeclinedRecord)
{
    // Two records that decode to the same name and password (one legacy, one current).
    writeLines({ legacyLine(QStringLiteral("Shop")), legacyLine(QStringLiteral("pw")), {},
        enc(QStringLiteral("Shop")), enc(QStringLiteral("pw")), "2012" });
    int calls = 0;
    EXPECT_EQ(m_ledgers.RemoveLedger(QStringLiteral("Shop"), QStringLiteral("pw"),
                  [&](const QString &) { return ++calls == 2; }),
        RemoveLedgerResult::Removed);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(readRaw(),
        legacyLine(QStringLiteral("Shop")) + "\r\n" + legacyLine(QStringLiteral("pw"))
            + "\r\n\r\n");
}

TEST_F(LedgerDirectoryTest, FailedRemovalCallbackLeavesTheFile)
{
    m_ledgers.AddLedger(QStringLiteral("Shop"), QString());
    const QByteArray before = readRaw();
    EXPECT_THROW(
        m_ledgers.RemoveLedger(QStringLiteral("Shop"), QString(),
            [](const QString &) -> bool { throw std::runtime_error("database is locked"); }),
        std::runtime_error);
    EXPECT_EQ(readRaw(), before);
}

TEST_F(LedgerDirectoryTest, TextsBig5CannotHoldAreRefused)
{
    m_ledgers.AddLedger(QStringLiteral("Shop"), QStringLiteral("pw"));
    const QByteArray before = readRaw();
    for (const auto &[name, password] : { std::pair { QStringLiteral("我们"), QString() },
             std::pair { QStringLiteral("OK"), QStringLiteral("pw😀") } }) {
        try {
            m_ledgers.AddLedger(name, password);
            ADD_FAILURE() << "accepted " << name.toStdString();
        } catch (const LedgerError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("無法儲存"))) << e.what();
        }
    }
    EXPECT_THROW(m_ledgers.ChangeLedgerPassword(
                     QStringLiteral("Shop"), QStringLiteral("pw"), QStringLiteral("한국")),
        LedgerError);
    EXPECT_EQ(readRaw(), before);
}

TEST_F(LedgerDirectoryTest, DamagedFileIsReportedAndLeftAlone)
{
    const QByteArray good = enc(QStringLiteral("Shop"));
    const QByteArray damaged[] = {
        good + "\r\n\r\n\r\n" + good + "\r\n", // four lines
        good + "\r\n\r\n", // a record cut short
        "\r\n", // one empty line
    };
    const std::function<void(LedgerDirectory &)> operations[] = {
        [](LedgerDirectory &d) { d.ListLedgerNames(); },
        [](LedgerDirectory &d) { d.FindLedger(QStringLiteral("Shop")); },
        [](LedgerDirectory &d) { d.CheckLedgerPassword(QStringLiteral("Shop"), QString()); },
        [](LedgerDirectory &d) { d.AddLedger(QStringLiteral("New"), QString()); },
        [](LedgerDirectory &d) { d.SetLedgerYear(QStringLiteral("Shop"), 2012); },
        [](LedgerDirectory &d) {
            d.ChangeLedgerPassword(QStringLiteral("Shop"), QString(), QStringLiteral("x"));
        },
        [](LedgerDirectory &d) { d.RemoveLedger(QStringLiteral("Shop"), QString(), accept); },
    };
    for (const QByteArray &content : damaged) {
        writeRaw(content);
        for (size_t op = 0; op < std::size(operations); ++op) {
            SCOPED_TRACE(testing::Message() << content.toStdString() << " operation " << op);
            try {
                operations[op](m_ledgers);
                ADD_FAILURE() << "no error";
            } catch (const LedgerError &e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("已損壞"))) << e.what();
                EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path()))) << e.what();
            }
            EXPECT_EQ(readRaw(), content);
        }
    }
}

// One record whose name line cannot be read: the others are listed and used, and every
// write keeps the unreadable lines exactly as they were.
TEST_F(LedgerDirectoryTest, AnUnreadableRecordIsPassedOverAndKeptVerbatim)
{
    const QByteArrayList damaged { "NOT HEX!", "01AB", "2011" };
    writeLines(QByteArrayList { enc("Shop"), QByteArray(), QByteArray() } + damaged
        + QByteArrayList { enc("Home"), enc("pw"), QByteArray() });
    EXPECT_EQ(m_ledgers.ListLedgerNames(), QStringList({ "Shop", "Home" }));
    const QString notice = m_ledgers.unreadableRecordsNotice();
    EXPECT_TRUE(notice.contains(QStringLiteral("第 4 至 6 行"))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QDir::toNativeSeparators(path()))) << notice.toStdString();
    EXPECT_TRUE(m_ledgers.FindLedger("Home").found);
    EXPECT_TRUE(m_ledgers.CheckLedgerPassword("Home", "pw").matches);

    EXPECT_EQ(m_ledgers.AddLedger("New", {}), AddLedgerResult::Added);
    EXPECT_TRUE(m_ledgers.SetLedgerYear("Home", 2012));
    EXPECT_EQ(m_ledgers.ChangeLedgerPassword("Home", "pw", "new"), ChangePasswordResult::Changed);
    EXPECT_EQ(m_ledgers.RemoveLedger("Shop", {}, accept), RemoveLedgerResult::Removed);
    EXPECT_EQ(m_ledgers.ListLedgerNames(), QStringList({ "Home", "New" }));
    const QByteArrayList lines = readRaw().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(0, 3), QByteArrayList({ "NOT HEX!\r", "01AB\r", "2011\r" }));
    EXPECT_TRUE(m_ledgers.unreadableRecordsNotice().contains(QStringLiteral("第 1 至 3 行")));
}

TEST_F(LedgerDirectoryTest, UnwritableLocationIsAClearError)
{
    LedgerDirectory nowhere(m_dir.filePath(QStringLiteral("no-such-dir/UserInfo")));
    try {
        nowhere.ListLedgerNames();
        ADD_FAILURE() << "no error";
    } catch (const LedgerError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("no-such-dir"))) << e.what();
    }
}
