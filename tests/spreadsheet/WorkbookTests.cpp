#include "spreadsheet/Workbook.h"
#include "spreadsheet/WorkbookExport.h"
#include "support/ScriptedPrompts.h"
#include "tools/XlsxReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Workbook, WritesSheetsCellsFormatsAndPictureAsASpreadsheetProgramReadsThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("書.xlsx"));
    {
        Workbook book;
        Sheet &income = book.addSheet(QStringLiteral("收入"));
        income.setText(QStringLiteral("G1"), QStringLiteral("青禾理財簿"));
        income.merge(QStringLiteral("G1:I1"));
        income.setHorizontalAlignment(QStringLiteral("G1:I1"), CellStyle::Align::Centre);
        income.setVerticalAlignment(QStringLiteral("G1:I1"), CellStyle::VAlign::Centre);
        income.setFontColor(QStringLiteral("G1:I1"), QColor(128, 128, 128));
        income.setFontSize(QStringLiteral("G1:I1"), 12);
        income.setText(3, 2, QStringLiteral("收入"));
        income.setFontColor(QStringLiteral("B3"), QColor(0, 0, 255));
        income.setText(7, 1, QStringLiteral("3/5")); // stays text, not a date
        income.setNumber(7, 3, 1234567);
        income.setHorizontalAlignment(QStringLiteral("C7"), CellStyle::Align::Right);
        income.setBottomBorder(QStringLiteral("A7:D7"));
        income.setFill(QStringLiteral("A5"), QColor(184, 204, 228));
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        income.insertPicture(QStringLiteral("F5"), picture);
        book.addSheet(QStringLiteral("支出")).setText(1, 1, QStringLiteral("使用者："));
        book.save(path);
    }

    XlsxBook read(path);
    ASSERT_TRUE(read.error().isEmpty()) << read.error().toStdString();
    EXPECT_EQ(read.sheetNames(), QStringList({ QStringLiteral("收入"), QStringLiteral("支出") }));
    const QString s = QStringLiteral("收入");
    EXPECT_EQ(read.merged(s), QStringList { QStringLiteral("G1:I1") });
    const QJsonObject title = read.cell(s, QStringLiteral("G1"));
    EXPECT_EQ(title.value(QStringLiteral("value")).toString(), QStringLiteral("青禾理財簿"));
    EXPECT_EQ(title.value(QStringLiteral("h_align")).toString(), QStringLiteral("center"));
    EXPECT_EQ(title.value(QStringLiteral("v_align")).toString(), QStringLiteral("center"));
    EXPECT_EQ(title.value(QStringLiteral("font_color")).toString(), QStringLiteral("808080"));
    EXPECT_EQ(title.value(QStringLiteral("font_size")).toDouble(), 12);
    EXPECT_EQ(read.cell(s, QStringLiteral("B3")).value(QStringLiteral("font_color")).toString(),
        QStringLiteral("0000FF"));
    EXPECT_EQ(read.cell(s, QStringLiteral("A7")).value(QStringLiteral("type")).toString(),
        QStringLiteral("text"));
    EXPECT_EQ(read.text(s, QStringLiteral("A7")), QStringLiteral("3/5"));
    const QJsonObject amount = read.cell(s, QStringLiteral("C7"));
    EXPECT_EQ(amount.value(QStringLiteral("type")).toString(), QStringLiteral("number"));
    EXPECT_EQ(amount.value(QStringLiteral("value")).toDouble(), 1234567);
    EXPECT_EQ(amount.value(QStringLiteral("number_format")).toString(), QStringLiteral("#,##0"));
    EXPECT_EQ(amount.value(QStringLiteral("h_align")).toString(), QStringLiteral("right"));
    for (const char *ref : { "A7", "B7", "C7", "D7" })
        EXPECT_EQ(read.cell(s, QString::fromLatin1(ref)).value(QStringLiteral("bottom")).toString(),
            QStringLiteral("medium"))
            << ref;
    EXPECT_TRUE(
        read.cell(s, QStringLiteral("A8")).value(QStringLiteral("bottom")).toString().isEmpty());
    EXPECT_EQ(read.cell(s, QStringLiteral("A5")).value(QStringLiteral("fill")).toString(),
        QStringLiteral("B8CCE4"));
    ASSERT_EQ(read.images(s).size(), 1);
    EXPECT_EQ(read.images(s)[0].toObject().value(QStringLiteral("anchor")).toString(),
        QStringLiteral("F5"));
    EXPECT_EQ(read.text(QStringLiteral("支出"), QStringLiteral("A1")), QStringLiteral("使用者："));
}

TEST(Workbook, SaveReplacesAnExistingFileAndAFailedSaveIsAClearErrorThatWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.xlsx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a workbook");
    }
    Workbook replacing;
    replacing.addSheet(QStringLiteral("收入")).setText(1, 1, QStringLiteral("新"));
    replacing.save(path);
    EXPECT_EQ(
        XlsxBook(path).text(QStringLiteral("收入"), QStringLiteral("A1")), QStringLiteral("新"));

    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/x.xlsx"));
    Workbook failing;
    failing.addSheet(QStringLiteral("收入"));
    try {
        failing.save(missingFolder);
        FAIL() << "saving into a missing folder succeeded";
    } catch (const WorkbookError &e) {
        EXPECT_EQ(e.stage(), WorkbookError::Stage::Save);
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("無法儲存檔案"))) << e.what();
    }
    EXPECT_FALSE(QFile::exists(missingFolder));
    // A path that is a folder cannot be replaced by a file.
    Workbook onFolder;
    onFolder.addSheet(QStringLiteral("收入"));
    EXPECT_THROW(onFolder.save(dir.path()), WorkbookError);
}

TEST(Workbook, CreationFailureAndBadSheetNamesAreReportedNotCrashes)
{
    QTemporaryDir dir;
    QFile notAFolder(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    try {
        Workbook book(notAFolder.fileName());
        ADD_FAILURE() << "created a workbook without a temporary folder";
    } catch (const WorkbookError &e) {
        EXPECT_EQ(e.stage(), WorkbookError::Stage::Create);
        EXPECT_EQ(e.message(), Workbook::createFailedText());
    }
    EXPECT_EQ(Workbook::createFailedCaption(), QStringLiteral("啟動警告"));
    EXPECT_EQ(Workbook::createFailedText(), QStringLiteral("無法建立試算表檔案"));

    Workbook book;
    book.addSheet(QStringLiteral("收入"));
    EXPECT_THROW(book.addSheet(QStringLiteral("收入")), WorkbookError);
    EXPECT_THROW(book.addSheet(QStringLiteral("a/b")), WorkbookError);
    EXPECT_THROW(
        book.sheet(QStringLiteral("收入"))->setText(QStringLiteral("1A"), {}), WorkbookError);
}

// What the export asks and which file it then writes; the scripted dialog adds the default
// suffix to a name without one, as the real dialog does before asking about that name.
TEST(WorkbookExport, TheNameWrittenIsTheNameTheDialogAskedAbout)
{
    QTemporaryDir dir;
    const auto touch = [&](const QString &name) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
    };
    touch(QStringLiteral("報表.xlsx"));
    touch(QStringLiteral("3.5月.xlsx"));
    struct Case
    {
        const char *typed;
        std::deque<bool> answers;
        const char *written; // empty: nothing is written
        int questions;
    };
    const Case cases[] = {
        // The dialog itself asked about 報表.xlsx; no second question.
        { "報表", {}, "報表.xlsx", 0 },
        { "報表.xlsx", {}, "報表.xlsx", 0 },
        { "新報表", {}, "新報表.xlsx", 0 },
        // Another suffix: the dialog asked about 3.5月, so the program asks about 3.5月.xlsx.
        { "3.5月", { false }, "", 1 },
        { "3.5月", { true }, "3.5月.xlsx", 1 },
        { "4.5月", {}, "4.5月.xlsx", 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ScriptedPrompts prompts;
        prompts.savePaths.push_back(dir.filePath(QString::fromUtf8(c.typed)));
        prompts.confirmAnswers = c.answers;
        const QString path = WorkbookExport::askPath(prompts, QStringLiteral("2012年度分析.xlsx"));
        EXPECT_EQ(prompts.saveSuffixes, QStringList({ QStringLiteral("xlsx") }));
        EXPECT_EQ(path, *c.written ? dir.filePath(QString::fromUtf8(c.written)) : QString());
        EXPECT_EQ(prompts.yesNoQuestions.size(), c.questions);
    }
}
