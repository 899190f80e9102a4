// The backup reader: any bytes at all chosen as the backup file of a restore.
#include "store/Backup.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QStringList dump(Database &db)
{
    QStringList rows;
    for (const char *table : { "單日記帳本", "記帳本", "帳目分類", "參數設定" }) {
        QSqlQuery query = db.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

struct Live
{
    QTemporaryDir dir;
    QString pristine;
    std::unique_ptr<Database> db;

    Live()
    {
        pristine = dir.filePath(QStringLiteral("pristine.dat"));
        {
            Database seed(pristine);
            seed.exec(QStringLiteral("INSERT INTO 單日記帳本 VALUES ('2012-03-05', '家計', 0, "
                                     "'1', '餐飲', 120, '午餐', '', 2012030501)"));
            seed.exec(QStringLiteral("INSERT INTO 記帳本 VALUES ('2012-03-05', '家計', 0, 120)"));
        }
        reset();
    }
    void reset()
    {
        db.reset();
        const QString live = dir.filePath(QStringLiteral("CDB.dat"));
        QFile::remove(live);
        if (!QFile::copy(pristine, live))
            std::abort();
        db = std::make_unique<Database>(live);
        db->open();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Live live;
    const QString input = live.dir.filePath(QStringLiteral("input.BAK"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    const QStringList before = dump(*live.db);
    try {
        Backup(*live.db, live.dir.path()).restoreLedger(input, QStringLiteral("家計"));
        // Restored from a file that happened to be a sound backup: start over from the
        // pristine data for the next input.
        live.reset();
    } catch (const DbError &) {
        // Refused or failed: the live data must be exactly as it was.
        if (live.db->transactionDepth() != 0 || dump(*live.db) != before)
            std::abort();
    }
    const QDir dir(live.dir.path());
    for (const QString &name : dir.entryList({ QStringLiteral("回存前備份*") }, QDir::Files))
        QFile::remove(dir.filePath(name));
    return 0;
}
