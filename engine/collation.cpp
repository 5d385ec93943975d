#include "collation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>


namespace Engine {

namespace {

UCollator* hungarianCollator()
{
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("hu", &status);
        if (U_FAILURE(status))
            return static_cast<UCollator*>(nullptr);
        ucol_setStrength(c, UCOL_SECONDARY);
        return c;
    }();
    return collator;
}

int collateUtf8(void*, int lenA, const void* a, int lenB, const void* b)
{
    UCollator* c = hungarianCollator();
    if (!c) {
        const int n = std::min(lenA, lenB);
        const int r = memcmp(a, b, static_cast<size_t>(n));
        return r != 0 ? r : lenA - lenB;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(c, static_cast<const char*>(a), lenA,
                                                static_cast<const char*>(b), lenB, &status);
    if (U_FAILURE(status))
        return 0;
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

void caseFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool upper)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int len = sqlite3_value_bytes(argv[0]);
    const QString s = QString::fromUtf8(text, len);
    const QByteArray out = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void upperFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) { caseFunction(ctx, argc, argv, true); }
void lowerFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) { caseFunction(ctx, argc, argv, false); }

} // namespace

int compareHungarian(const QString& a, const QString& b)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return collateUtf8(nullptr, static_cast<int>(ua.size()), ua.constData(), static_cast<int>(ub.size()),
                       ub.constData());
}

bool registerFunctions(sqlite3* db)
{
    if (!db)
        return false;
    int rc = sqlite3_create_collation_v2(db, "HU", SQLITE_UTF8, nullptr, collateUtf8, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    rc |= sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunction, nullptr, nullptr, nullptr);
    rc |= sqlite3_create_function_v2(db, "lower", 1, flags, nullptr, lowerFunction, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK;
}

} // namespace Engine
