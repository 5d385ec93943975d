#include "dateutil.h"

int YearOfDate(QDate date)
{
    return date.year();
}

int MonthOfDate(QDate date)
{
    return date.month();
}

int WeekOfDate(QDate date)
{
    return date.weekNumber();
}
