#include "dialect.h"

#include "fieldtypes.h"

#include <QList>

namespace Engine::Dialect {

namespace {

enum class Tok { Word, Quoted, Number, Punct, Space, Comment };

struct Token
{
    Tok kind;
    QString text;
};

QList<Token> tokenize(const QString& s)
{
    QList<Token> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Tok kind;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            kind = Tok::Space;
        } else if (c == u'-' && j < n && s[j] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            kind = Tok::Comment;
        } else if (c == u'/' && j < n && s[j] == u'*') {
            j = s.indexOf(QLatin1String("*/"), j + 1);
            j = j < 0 ? n : j + 2;
            kind = Tok::Comment;
        } else if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            while (j < n) {
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close && close != u']') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            kind = Tok::Quoted;
        } else if (c.isLetter() || c == u'_') {
            while (j < n && (s[j].isLetterOrNumber() || s[j] == u'_'))
                ++j;
            kind = Tok::Word;
        } else if (c.isDigit()) {
            while (j < n && (s[j].isDigit() || s[j] == u'.'))
                ++j;
            kind = Tok::Number;
        } else {
            kind = Tok::Punct;
        }
        out.append({kind, s.mid(i, j - i)});
        i = j;
    }
    return out;
}

bool isWord(const Token& t, const char* w)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

// Drops ".DB" after table names: konyv.DB, "konyv.db".
QList<Token> stripExtensions(const QList<Token>& in)
{
    QList<Token> out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const Token& t = in[i];
        if (t.kind == Tok::Word && i + 2 < in.size() && in[i + 1].text == QLatin1String(".") &&
            isWord(in[i + 2], "DB") && !(i + 3 < in.size() && in[i + 3].text == QLatin1String("."))) {
            out.append(t);
            i += 2;
            continue;
        }
        if (t.kind == Tok::Quoted && t.text.size() > 5 && (t.text[0] == u'"' || t.text[0] == u'[') &&
            t.text.mid(t.text.size() - 4, 3).compare(QLatin1String(".db"), Qt::CaseInsensitive) == 0) {
            const QString inner = t.text.mid(1, t.text.size() - 5);
            out.append({Tok::Word, inner});
            continue;
        }
        out.append(t);
    }
    return out;
}

QString join(const QList<Token>& tokens, qsizetype from, qsizetype to)
{
    QString s;
    for (qsizetype i = from; i < to; ++i)
        s += tokens[i].text;
    return s;
}

struct TypeSpec
{
    FieldType type = FieldType::Unknown;
    int size = 0;
    qsizetype end = 0; // index after the type tokens
};

// Reads a local-SQL type at tokens[i] (skipping spaces): AUTOINC, INT, CHAR(n), BLOB(n,1) ...
TypeSpec readType(const QList<Token>& t, qsizetype i)
{
    TypeSpec spec;
    while (i < t.size() && t[i].kind == Tok::Space)
        ++i;
    if (i >= t.size() || t[i].kind != Tok::Word)
        return spec;
    const QString w = t[i].text.toUpper();
    ++i;
    QList<int> args;
    qsizetype k = i;
    while (k < t.size() && t[k].kind == Tok::Space)
        ++k;
    if (k < t.size() && t[k].text == QLatin1String("(")) {
        qsizetype m = k + 1;
        while (m < t.size() && t[m].text != QLatin1String(")")) {
            if (t[m].kind == Tok::Number)
                args.append(t[m].text.toInt());
            ++m;
        }
        if (m < t.size())
            i = m + 1;
    }
    spec.end = i;
    if (w == QLatin1String("AUTOINC") || w == QLatin1String("AUTOINCREMENT"))
        spec.type = FieldType::AutoInc;
    else if (w == QLatin1String("INT") || w == QLatin1String("INTEGER") || w == QLatin1String("SMALLINT") ||
             w == QLatin1String("SHORT") || w == QLatin1String("LONG"))
        spec.type = FieldType::Integer;
    else if (w == QLatin1String("CHAR") || w == QLatin1String("VARCHAR") || w == QLatin1String("CHARACTER")) {
        spec.type = FieldType::String;
        spec.size = args.isEmpty() ? 1 : args.first();
    } else if (w == QLatin1String("DATE"))
        spec.type = FieldType::Date;
    else if (w == QLatin1String("TIME"))
        spec.type = FieldType::Time;
    else if (w == QLatin1String("TIMESTAMP") || w == QLatin1String("DATETIME"))
        spec.type = FieldType::DateTime;
    else if (w == QLatin1String("FLOAT") || w == QLatin1String("NUMERIC") || w == QLatin1String("DECIMAL") ||
             w == QLatin1String("MONEY") || w == QLatin1String("REAL") || w == QLatin1String("DOUBLE"))
        spec.type = FieldType::Float;
    else if (w == QLatin1String("BOOLEAN") || w == QLatin1String("BOOL") || w == QLatin1String("LOGICAL"))
        spec.type = FieldType::Boolean;
    else if (w == QLatin1String("MEMO") || w == QLatin1String("TEXT"))
        spec.type = FieldType::Memo;
    else if (w == QLatin1String("BLOB"))
        // BLOB(n,1) is a memo in the local SQL; other sub-types are binary.
        spec.type = args.size() >= 2 && args[1] == 1 ? FieldType::Memo : FieldType::Blob;
    return spec;
}

// CREATE TABLE name ( col type, ..., PRIMARY KEY (a, b) )
QString translateCreate(const QList<Token>& t, qsizetype openParen)
{
    qsizetype close = -1;
    int depth = 0;
    QList<std::pair<qsizetype, qsizetype>> items;
    qsizetype itemStart = openParen + 1;
    for (qsizetype i = openParen; i < t.size(); ++i) {
        if (t[i].text == QLatin1String("(")) {
            ++depth;
        } else if (t[i].text == QLatin1String(")")) {
            if (--depth == 0) {
                items.append({itemStart, i});
                close = i;
                break;
            }
        } else if (t[i].text == QLatin1String(",") && depth == 1) {
            items.append({itemStart, i});
            itemStart = i + 1;
        }
    }
    if (close < 0)
        return join(t, 0, t.size());

    struct Column
    {
        QString name;
        TypeSpec type;
        QString rest;
    };
    QList<Column> columns;
    QStringList primaryKey;
    QStringList otherClauses;
    for (const auto& [from, to] : items) {
        qsizetype i = from;
        while (i < to && t[i].kind == Tok::Space)
            ++i;
        if (i >= to)
            continue;
        if (isWord(t[i], "PRIMARY") || isWord(t[i], "CONSTRAINT") || isWord(t[i], "UNIQUE")) {
            if (isWord(t[i], "PRIMARY")) {
                for (qsizetype k = i; k < to; ++k)
                    if ((t[k].kind == Tok::Word && !isWord(t[k], "PRIMARY") && !isWord(t[k], "KEY")) ||
                        t[k].kind == Tok::Quoted)
                        primaryKey.append(t[k].text);
            } else {
                otherClauses.append(join(t, i, to).trimmed());
            }
            continue;
        }
        Column c;
        c.name = t[i].text;
        c.type = readType(t, i + 1);
        // A column already written for SQLite (it names its collation) is kept as it stands.
        if (join(t, i + 1, to).contains(QLatin1String("COLLATE"), Qt::CaseInsensitive))
            c.type.type = FieldType::Unknown;
        if (c.type.type == FieldType::Unknown) {
            c.rest = join(t, i + 1, to).trimmed();
        } else {
            c.rest = join(t, c.type.end, to).trimmed();
        }
        columns.append(c);
    }

    bool keyOnAutoInc = false;
    if (primaryKey.size() == 1) {
        for (const Column& c : columns)
            if (c.type.type == FieldType::AutoInc && c.name.compare(primaryKey[0], Qt::CaseInsensitive) == 0)
                keyOnAutoInc = true;
    }
    const bool singleIntegerKey = primaryKey.size() == 1;

    QStringList defs;
    for (const Column& c : columns) {
        QString def = c.name + QLatin1Char(' ');
        if (c.type.type == FieldType::Unknown) {
            def += c.rest;
        } else if (c.type.type == FieldType::AutoInc) {
            // A numbering column that is not the key still needs to number its rows; SQLite can
            // do that only for the key, so such a column becomes a plain integer.
            def += keyOnAutoInc || primaryKey.isEmpty() ? sqliteDeclaration(FieldType::AutoInc, 0)
                                                        : sqliteDeclaration(FieldType::Integer, 0);
            if (!c.rest.isEmpty())
                def += QLatin1Char(' ') + c.rest;
        } else {
            const bool integerKey = singleIntegerKey && c.type.type == FieldType::Integer &&
                                    c.name.compare(primaryKey[0], Qt::CaseInsensitive) == 0;
            def += integerKey ? QStringLiteral("INTEGER PRIMARY KEY") : sqliteDeclaration(c.type.type, c.type.size);
            if (!c.rest.isEmpty())
                def += QLatin1Char(' ') + c.rest;
        }
        defs.append(def);
    }
    bool keyInColumn = keyOnAutoInc;
    if (singleIntegerKey && !keyOnAutoInc) {
        for (const Column& c : columns)
            if (c.type.type == FieldType::Integer && c.name.compare(primaryKey[0], Qt::CaseInsensitive) == 0)
                keyInColumn = true;
    }
    if (!primaryKey.isEmpty() && !keyInColumn)
        defs.append(QStringLiteral("PRIMARY KEY (%1)").arg(primaryKey.join(QStringLiteral(", "))));
    defs.append(otherClauses);
    return join(t, 0, openParen) + QStringLiteral("(") + defs.join(QStringLiteral(", ")) + QStringLiteral(")") +
           join(t, close + 1, t.size());
}

// ALTER TABLE name ADD [COLUMN] col type
QString translateAlter(const QList<Token>& t, qsizetype addIndex)
{
    qsizetype i = addIndex + 1;
    while (i < t.size() && t[i].kind == Tok::Space)
        ++i;
    if (i < t.size() && isWord(t[i], "COLUMN")) {
        ++i;
        while (i < t.size() && t[i].kind == Tok::Space)
            ++i;
    }
    if (i >= t.size() || t[i].kind != Tok::Word)
        return join(t, 0, t.size());
    const TypeSpec type = readType(t, i + 1);
    if (type.type == FieldType::Unknown)
        return join(t, 0, t.size());
    // An added column cannot become a key, so an AUTOINC column is added as a plain integer.
    const FieldType ft = type.type == FieldType::AutoInc ? FieldType::Integer : type.type;
    return join(t, 0, addIndex) + QStringLiteral("ADD COLUMN ") + t[i].text + QLatin1Char(' ') +
           sqliteDeclaration(ft, type.size) + join(t, type.end, t.size());
}

} // namespace

QString translate(const QString& sql)
{
    const QList<Token> t = stripExtensions(tokenize(sql));
    QList<qsizetype> words;
    for (qsizetype i = 0; i < t.size(); ++i)
        if (t[i].kind == Tok::Word || t[i].text == QLatin1String("("))
            words.append(i);
    if (words.size() >= 3 && isWord(t[words[0]], "CREATE") && isWord(t[words[1]], "TABLE")) {
        for (qsizetype w = 2; w < words.size(); ++w)
            if (t[words[w]].text == QLatin1String("("))
                return translateCreate(t, words[w]);
    }
    if (words.size() >= 4 && isWord(t[words[0]], "ALTER") && isWord(t[words[1]], "TABLE") &&
        isWord(t[words[3]], "ADD"))
        return translateAlter(t, words[3]);
    return join(t, 0, t.size());
}

QStringList splitStatements(const QString& script)
{
    QStringList out;
    QString current;
    for (const Token& tok : tokenize(script)) {
        if (tok.kind == Tok::Punct && tok.text == QLatin1String(";")) {
            if (!current.trimmed().isEmpty())
                out.append(current.trimmed());
            current.clear();
            continue;
        }
        current += tok.text;
    }
    if (!current.trimmed().isEmpty())
        out.append(current.trimmed());
    return out;
}

QString tableName(const QString& name)
{
    QString n = name.trimmed();
    if (n.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        n.chop(3);
    return n.toLower();
}

} // namespace Engine::Dialect
