#pragma once

#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Texts that have broken bookkeeping programs before: quotes and statement fragments, LIKE
// wildcards, backslashes, the ideographic space, characters outside Big5, very long text.
inline QStringList hostileTexts()
{
    return {
        QStringLiteral("O'Brien 的帳"),
        QStringLiteral("'; DROP TABLE 記帳本; --"),
        QStringLiteral("\"雙引號\" 與 ''兩個單引號''"),
        QStringLiteral("100%"),
        QStringLiteral("%_%"),
        QStringLiteral("a_b"),
        QStringLiteral("C:\\路徑\\檔案\\"),
        QStringLiteral("\\'"),
        QStringLiteral("　全形空白　"),
        QStringLiteral("午餐😀"),
        QStringLiteral("#2012/3/5#"),
        QStringLiteral("?"),
        QStringLiteral(":cname"),
        QStringLiteral("一\n二"),
    };
}

inline QString longNote()
{
    QString note;
    while (note.size() < 10000)
        note += QStringLiteral("很長的說明'%_\\");
    return note.left(10000);
}

// After hostile text has gone in: every table is still there and the data is sound.
inline void expectDataSound(Database &db)
{
    EXPECT_EQ(column(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"),
        QStringList({ "參數設定", "單日記帳本", "帳目分類", "記帳本" }));
    const QStringList violations = checkInvariants(db);
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}
