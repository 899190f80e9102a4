#pragma once

#include <QStringList>

class Database;

// The four tables every ledger shares, the template owned by DEFAULT, and the upgrades of
// files written by older versions.
namespace Schema {
inline const QString TemplateOwner = QStringLiteral("DEFAULT");
inline const QString DefaultPageCode = QStringLiteral("預設單日記帳畫面");
// The expense entry of amount 0 that marks a day as recorded without spending; statistics
// and analysis leave it out.
inline const QString NoSpendingName = QStringLiteral("無花費");

// The code scheme holds 99 subcategories per main category: the 100th would get the code of
// the next main category.
inline constexpr int MaxSubcategories = 99;

// The condition that picks main category rows out of 帳目分類: a code ending in 00 whose
// first digit is the row's number. A subcategory numbered past 99 (code n+1 00, number n)
// is therefore never taken for a main category. alias names the table in the statement.
QString mainCategoryCondition(const QString &alias = {});

QStringList tableNames();
QStringList createStatements();
void insertTemplate(Database &db);
// Adds 定期 in eighth place (before 序列號) when an older file lacks it; old rows read as null.
void ensureRecurringColumn(Database &db);
void ensureIndexes(Database &db);
} // namespace Schema
