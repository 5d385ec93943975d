#pragma once

#include <QDate>

int YearOfDate(QDate date);
int MonthOfDate(QDate date);
// ISO 8601: weeks begin on Monday, week 1 holds the year's first Thursday.
int WeekOfDate(QDate date);
