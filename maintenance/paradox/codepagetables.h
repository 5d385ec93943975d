#pragma once

namespace Maintenance::CodePageTables {

// Upper half of a single-byte code page; bytes 0x00-0x7F are ASCII in all of them.
struct Table
{
    int codePage;
    const char* name;
    char16_t upper[128];
};

extern const Table tables[];
extern const int tableCount;

} // namespace Maintenance::CodePageTables
