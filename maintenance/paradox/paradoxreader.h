#pragma once

#include "paradoxtable.h"

#include <optional>

namespace Maintenance {

// Reads a Paradox table (.DB, with its .MB memo/blob file) completely into memory.
// The .DB header and block chain are checked against the file before pxlib sees it,
// and the .MB file is read by a bounds-checked reader of our own (pxlib's blob reading
// crashes in Debian's 0.6.8). No input makes it crash.
//
// Refused, with a Hungarian error naming the file: a missing or unreadable file, a file
// that is no Paradox table (or an index file), a header or data cut short or damaged
// (field list, block chain), and password-protected (encrypted) tables.
// Read, with a warning naming the file: a header code page that cannot be right (the
// fallback page is used), a record count in the header that the data blocks contradict
// (all records found are read), a damaged memo pointer or .MB entry (the text kept in the
// record is used, binary values stay empty), and a missing or unusable .MB file (every
// record is read, each memo with only its in-record prefix, images and binary data empty;
// one warning says how many values were cut).
class ParadoxReader
{
public:
    struct ReadOptions
    {
        // 0: the header's code page, if plausible. Otherwise this one is used.
        int codePageOverride = 0;
        // Used when there is no override and the header's code page is not plausible.
        int fallbackCodePage = 1250;
    };

    static std::optional<ParadoxTable> read(const QString& dbPath, const ReadOptions& opt, QString* error);

    // Fields, key, version, header code page and record count, without the rows;
    // lets the caller look at the code page before reading.
    static std::optional<ParadoxTable> readHeader(const QString& dbPath, QString* error);

    // A header code page is plausible when it is one of the single-byte pages this reader
    // can decode (ParadoxCodePage::supported()). 0, multi-byte pages such as 936 (seen in
    // tables whose text is Western or Cyrillic) and unknown numbers are not: the caller
    // should ask the user, proposing proposedCodePage().
    static bool isCodePagePlausible(int codePage);
    static int proposedCodePage() { return 1250; }
};

} // namespace Maintenance
