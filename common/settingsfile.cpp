#include "settingsfile.h"

#include "folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>

namespace {

QString keyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

QString readText(const QString& section, const QString& key, bool* found)
{
    const QSettings ini(IniFileName(), QSettings::IniFormat);
    const QVariant v = ini.value(keyPath(section, key));
    *found = v.isValid();
    // An unquoted value with commas (written by hand) comes back as a list.
    if (v.metaType().id() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

bool readInt(const QString& section, const QString& key, int* value)
{
    bool found = false;
    const QString text = readText(section, key, &found);
    if (!found) return false;
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok) *value = n;
    return ok;
}

// QSettings reads anything and would write back only what it understood; a file that is not
// UTF-8 text (a damaged one, or one in a Windows code page) would lose its contents.
bool isForeignFile(const QString& path)
{
    QFile f(path);
    if (!f.exists()) return false;
    if (!f.open(QIODevice::ReadOnly)) return true;
    const QByteArray bytes = f.readAll();
    if (bytes.contains('\0')) return true;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    Q_UNUSED(text);
    return utf8.hasError();
}

bool write(const QString& section, const QString& key, const QString& value)
{
    // QSettings would create a missing folder; the settings folder is the installation's choice.
    if (!QFileInfo(QFileInfo(IniFileName()).absolutePath()).isDir()) return false;
    if (isForeignFile(IniFileName())) return false;
    QSettings ini(IniFileName(), QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) return false;
    ini.setValue(keyPath(section, key), value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace

int IniReadInt(const QString& section, const QString& key, int def)
{
    int value = def;
    return readInt(section, key, &value) ? value : def;
}

bool IniReadBool(const QString& section, const QString& key, bool def)
{
    int value = 0;
    return readInt(section, key, &value) ? value != 0 : def;
}

QString IniReadString(const QString& section, const QString& key, const QString& def)
{
    bool found = false;
    const QString text = readText(section, key, &found);
    return found ? text : def;
}

bool IniWriteInt(const QString& section, const QString& key, int value)
{
    return write(section, key, QString::number(value));
}

bool IniWriteBool(const QString& section, const QString& key, bool value)
{
    return write(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniWriteString(const QString& section, const QString& key, const QString& value)
{
    return write(section, key, value);
}

QString IniWriteErrorText()
{
    return QStringLiteral("A beállítások nem menthetők: %1").arg(QDir::toNativeSeparators(IniFileName()));
}
