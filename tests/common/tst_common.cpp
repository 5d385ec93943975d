#include "convert.h"
#include "dateutil.h"
#include "folders.h"
#include "formpos.h"
#include "messagerecorder.h"
#include "messages.h"
#include "settingsfile.h"
#include "textutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(MsgKind)

namespace {

// Waits for the next modal message box, notes what it shows and presses a button on it.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton press) : m_press(press)
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_timer.start(10);
    }

    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        m_timer.stop();
        seen = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        if (QAbstractButton* b = box->button(m_press))
            b->click();
        else
            box->reject();
    }

    QMessageBox::StandardButton m_press;
    QTimer m_timer;
};

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCommon : public QObject
{
    Q_OBJECT

private:
    // A fresh program folder with a settings file beside it (so HomeDir is that folder), or
    // without one. Every case gets its own folder: QSettings keeps files it has read.
    QString newHome(const QByteArray* iniContent)
    {
        const QString dir = m_tmp.path() + QStringLiteral("/Prog%1").arg(++m_homeCount);
        if (!QDir().mkpath(dir)) return {};
        if (iniContent && !writeFile(dir + QStringLiteral("/Lerovani.ini"), *iniContent)) return {};
        SetExeDirForTests(dir);
        return dir;
    }

    QTemporaryDir m_tmp;
    int m_homeCount = 0;

private slots:
    void initTestCase();
    void cleanup();

    void messageHookRecordsEveryBox();
    void realBoxes_data();
    void realBoxes();
    void errorBoxKeepsActiveWindow();
    void fileDialogHook();

    void varToIntDef_data();
    void varToIntDef();
    void varToIntDefRejects_data();
    void varToIntDefRejects();
    void varToFloatDef_data();
    void varToFloatDef();
    void varToFloatDefRejects_data();
    void varToFloatDefRejects();
    void varToStrDefAndIntStr();

    void nthField_data();
    void nthField();
    void escapeText_data();
    void escapeText();
    void replaceStripCount();
    void toFileName_data();
    void toFileName();
    void toCodePage852_data();
    void toCodePage852();
    void codePage1250_data();
    void codePage1250();
    void codePage1250RoundTripsEveryByte();

    void weekOfDate_data();
    void weekOfDate();

    void programFolder();
    void homeDirRule();
    void workArea();

    void iniRead_data();
    void iniRead();
    void iniWriteRoundTrip();
    void iniWriteRefusesMissingFolder();
    void iniWriteKeepsForeignFile_data();
    void iniWriteKeepsForeignFile();
    void iniWriteReadOnlyFile();

    void loadFormBounds_data();
    void loadFormBounds();
    void formPosRoundTrip();
    void widgetPlacement();
    void applyFontSize();
};

void TestCommon::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_tmp.isValid());
}

void TestCommon::cleanup()
{
    SetExeDirForTests(QString());
    SetWorkAreaForTests(QRect());
    ResetFolders();
}

void TestCommon::messageHookRecordsEveryBox()
{
    MessageRecorder rec;
    rec.answers = {false, true};
    QCOMPARE(AskConfirm(QStringLiteral("Törli a tételt?"), QStringLiteral("Megerősítés")), false);
    QCOMPARE(AskConfirm(QStringLiteral("Biztos?"), QStringLiteral("Megerősítés")), true);
    QCOMPARE(AskConfirm(QStringLiteral("Harmadik"), QStringLiteral("Más cím")), true); // queue empty
    ShowError(QStringLiteral("Adatbázis megnyitása sikertelen"));
    ShowWarning(QStringLiteral("Figyelem szöveg"));
    ShowInfo(QStringLiteral("Kész"));

    QCOMPARE(rec.records.size(), 6);
    const QList<MsgKind> kinds = {MsgKind::Confirm, MsgKind::Confirm, MsgKind::Confirm,
                                  MsgKind::Error,   MsgKind::Warning, MsgKind::Info};
    const QStringList captions = {"Megerősítés", "Megerősítés",    "Más cím",
                                  "Hiba",        "Figyelmeztetés", "Üzenet"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(rec.records[i].kind, kinds[i]);
        QCOMPARE(rec.records[i].caption, captions[i]);
    }
    QCOMPARE(rec.texts(), QStringList({"Törli a tételt?", "Biztos?", "Harmadik",
                                       "Adatbázis megnyitása sikertelen", "Figyelem szöveg", "Kész"}));
    QCOMPARE(rec.count(MsgKind::Confirm), 3);
    QVERIFY(rec.answers.isEmpty());
}

void TestCommon::realBoxes_data()
{
    QTest::addColumn<MsgKind>("kind");
    QTest::addColumn<int>("press");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("result");

    const int yesNo = int(QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("confirm yes") << MsgKind::Confirm << int(QMessageBox::Yes) << "Megerősítés"
                                 << int(QMessageBox::Question) << yesNo << true;
    QTest::newRow("confirm no") << MsgKind::Confirm << int(QMessageBox::No) << "Megerősítés"
                                << int(QMessageBox::Question) << yesNo << false;
    QTest::newRow("error") << MsgKind::Error << int(QMessageBox::Ok) << "Hiba" << int(QMessageBox::Critical)
                           << int(QMessageBox::Ok) << false;
    QTest::newRow("warning") << MsgKind::Warning << int(QMessageBox::Ok) << "Figyelmeztetés"
                             << int(QMessageBox::Warning) << int(QMessageBox::Ok) << false;
    QTest::newRow("info") << MsgKind::Info << int(QMessageBox::Ok) << "Üzenet"
                          << int(QMessageBox::Information) << int(QMessageBox::Ok) << false;
}

void TestCommon::realBoxes()
{
    QFETCH(MsgKind, kind);
    QFETCH(int, press);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(bool, result);

    // A recorder that is gone must leave the real boxes behind.
    {
        MessageRecorder passing;
    }

    QWidget owner;
    owner.setObjectName(QStringLiteral("frm_Owner"));
    owner.show();
    BoxAnswerer answerer{QMessageBox::StandardButton(press)};
    const QString text = QStringLiteral("Szöveg ű ő");
    bool answer = false;
    switch (kind) {
    case MsgKind::Confirm:
        answer = AskConfirm(text, QStringLiteral("Megerősítés"), &owner);
        break;
    case MsgKind::Error:
        ShowError(text, &owner);
        break;
    case MsgKind::Warning:
        ShowWarning(text, &owner);
        break;
    case MsgKind::Info:
        ShowInfo(text, &owner);
        break;
    }
    QVERIFY(answerer.seen);
    QCOMPARE(answerer.title, caption);
    QCOMPARE(answerer.text, text);
    QCOMPARE(int(answerer.icon), icon);
    QCOMPARE(int(answerer.buttons), buttons);
    QCOMPARE(answerer.parent, &owner);
    QCOMPARE(answer, result);
}

void TestCommon::errorBoxKeepsActiveWindow()
{
    QWidget first;
    first.setObjectName(QStringLiteral("frm_First"));
    QWidget second;
    second.setObjectName(QStringLiteral("frm_Second"));
    first.show();
    second.show();
    first.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&first));

    {
        BoxAnswerer answerer{QMessageBox::Ok};
        ShowError(QStringLiteral("Hiba történt"), &second);
        QVERIFY(answerer.seen);
    }
    QTRY_COMPARE(QApplication::activeWindow(), &first);

    first.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&first));
    {
        BoxAnswerer answerer{QMessageBox::No};
        QCOMPARE(AskConfirm(QStringLiteral("Folytatja?"), QStringLiteral("Megerősítés"), &second), false);
        QVERIFY(answerer.seen);
    }
    QTRY_COMPARE(QApplication::activeWindow(), &first);
}

void TestCommon::fileDialogHook()
{
    FileDialogRecorder rec;
    rec.answers = {QStringLiteral("/tmp/lista.csv")};
    QCOMPARE(AskSaveFileName(nullptr, QStringLiteral("Mentés másként"), QStringLiteral("/tmp"),
                             QStringLiteral("CSV (*.csv)")),
             QStringLiteral("/tmp/lista.csv"));
    QCOMPARE(AskOpenFileName(nullptr, QStringLiteral("Megnyitás"), QStringLiteral("/home"),
                             QStringLiteral("SQL (*.sql)")),
             QString());
    QCOMPARE(rec.calls.size(), 2);
    QCOMPARE(rec.calls[0].save, true);
    QCOMPARE(rec.calls[0].title, QStringLiteral("Mentés másként"));
    QCOMPARE(rec.calls[0].dir, QStringLiteral("/tmp"));
    QCOMPARE(rec.calls[0].filter, QStringLiteral("CSV (*.csv)"));
    QCOMPARE(rec.calls[1].save, false);
    QCOMPARE(rec.calls[1].title, QStringLiteral("Megnyitás"));
}

void TestCommon::varToIntDef_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("invalid") << QVariant() << -1;
    QTest::newRow("SQL null integer") << QVariant(QMetaType::fromType<int>()) << -1;
    QTest::newRow("SQL null text") << QVariant(QMetaType::fromType<QString>()) << -1;
    QTest::newRow("integer") << QVariant(42) << 42;
    QTest::newRow("text with spaces") << QVariant(QStringLiteral(" 17 ")) << 17;
    QTest::newRow("negative text") << QVariant(QStringLiteral("-5")) << -5;
    QTest::newRow("largest") << QVariant(qlonglong(2147483647)) << 2147483647;
    QTest::newRow("smallest") << QVariant(qlonglong(-2147483647 - 1)) << int(-2147483647 - 1);
    QTest::newRow("2.7 rounds") << QVariant(2.7) << 3;
    QTest::newRow("2.5 to even") << QVariant(2.5) << 2;
    QTest::newRow("3.5 to even") << QVariant(3.5) << 4;
    QTest::newRow("-2.5 to even") << QVariant(-2.5) << -2;
    QTest::newRow("boolean") << QVariant(true) << 1;
    QTest::newRow("date day number") << QVariant(QDate(2004, 1, 1)) << 37987;
}

void TestCommon::varToIntDef()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QCOMPARE(VarToIntDef(value, -1), expected);
}

void TestCommon::varToIntDefRejects_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << "'abc' nem érvényes egész szám";
    QTest::newRow("empty text") << QVariant(QStringLiteral("")) << "'' nem érvényes egész szám";
    QTest::newRow("decimal text") << QVariant(QStringLiteral("1,5")) << "'1,5' nem érvényes egész szám";
    QTest::newRow("text too big") << QVariant(QStringLiteral("3000000000"))
                                  << "'3000000000' kívül esik az egész számok tartományán";
    QTest::newRow("number too big") << QVariant(qlonglong(10000000000))
                                    << "'10000000000' kívül esik az egész számok tartományán";
    QTest::newRow("unsigned too big")
        << QVariant(qulonglong(4294967296ULL)) << "'4294967296' kívül esik az egész számok tartományán";
    QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN())
                                  << "'nan' nem érvényes egész szám";
    QTest::newRow("point") << QVariant(QPoint(1, 2)) << "'QPoint' nem érvényes egész szám";
}

void TestCommon::varToIntDefRejects()
{
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    try {
        VarToIntDef(value, 0);
        QFAIL("no ConversionError");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), message);
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QVERIFY_THROWS_EXCEPTION(ConversionError, VarToIntStr(value));
}

void TestCommon::varToFloatDef_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("invalid") << QVariant() << -1.0;
    QTest::newRow("SQL null real") << QVariant(QMetaType::fromType<double>()) << -1.0;
    QTest::newRow("real") << QVariant(2.25) << 2.25;
    QTest::newRow("integer") << QVariant(3) << 3.0;
    QTest::newRow("decimal point") << QVariant(QStringLiteral("1.5")) << 1.5;
    QTest::newRow("decimal comma") << QVariant(QStringLiteral(" 1,5 ")) << 1.5;
    QTest::newRow("comma is never grouping") << QVariant(QStringLiteral("1,500")) << 1.5;
    QTest::newRow("negative") << QVariant(QStringLiteral("-2")) << -2.0;
    QTest::newRow("epoch") << QVariant(QDate(1899, 12, 30)) << 0.0;
    QTest::newRow("date") << QVariant(QDate(2004, 1, 1)) << 37987.0;
    QTest::newRow("date and time") << QVariant(QDateTime(QDate(2004, 1, 1), QTime(18, 0))) << 37987.75;
    QTest::newRow("day before epoch") << QVariant(QDate(1899, 12, 29)) << -1.0;
    QTest::newRow("noon before epoch") << QVariant(QDateTime(QDate(1899, 12, 29), QTime(12, 0))) << -1.5;
}

void TestCommon::varToFloatDef()
{
    QFETCH(QVariant, value);
    QFETCH(double, expected);
    QCOMPARE(VarToFloatDef(value, -1.0), expected);
}

void TestCommon::varToFloatDefRejects_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << "'abc' nem érvényes szám";
    QTest::newRow("two points") << QVariant(QStringLiteral("1.2.3")) << "'1.2.3' nem érvényes szám";
    QTest::newRow("empty text") << QVariant(QString(QStringLiteral(""))) << "'' nem érvényes szám";
    QTest::newRow("infinity text") << QVariant(QStringLiteral("inf")) << "'inf' nem érvényes szám";
}

void TestCommon::varToFloatDefRejects()
{
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    try {
        VarToFloatDef(value, 0.0);
        QFAIL("no ConversionError");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), message);
    }
}

void TestCommon::varToStrDefAndIntStr()
{
    QCOMPARE(VarToStrDef(QVariant(), QStringLiteral("nincs")), QStringLiteral("nincs"));
    QCOMPARE(VarToStrDef(QVariant(QMetaType::fromType<QString>()), QStringLiteral("nincs")),
             QStringLiteral("nincs"));
    QCOMPARE(VarToStrDef(QVariant(QStringLiteral("")), QStringLiteral("nincs")), QString());
    QCOMPARE(VarToStrDef(QVariant(5), QString()), QStringLiteral("5"));
    QCOMPARE(VarToIntStr(QVariant()), QStringLiteral("0"));
    QCOMPARE(VarToIntStr(QVariant(QStringLiteral("007"))), QStringLiteral("7"));
    QCOMPARE(VarToIntStr(QVariant(-12)), QStringLiteral("-12"));
    QCOMPARE(IfThenVar(false, QVariant(1), QVariant()), QVariant());
}

void TestCommon::nthField_data()
{
    QTest::addColumn<QString>("separators");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a;;c 1") << QString(";") << "a;;c" << 1 << "a";
    QTest::newRow("a;;c 2 empty") << QString(";") << "a;;c" << 2 << "";
    QTest::newRow("a;;c 3") << QString(";") << "a;;c" << 3 << "c";
    QTest::newRow("a;;c 4 past end") << QString(";") << "a;;c" << 4 << "";
    QTest::newRow("leading space kept") << QString(":") << "x: y" << 2 << " y";
    QTest::newRow("any of the separators") << QString(";,") << "alma,körte;szilva" << 3 << "szilva";
    QTest::newRow("trailing separator") << QString(";") << "a;" << 2 << "";
    QTest::newRow("no separator, field 1") << QString(";") << "egész" << 1 << "egész";
    QTest::newRow("field 0") << QString(";") << "a;b" << 0 << "";
}

void TestCommon::nthField()
{
    QFETCH(QString, separators);
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(NthField(separators, text, n), expected);
}

void TestCommon::escapeText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("backslash and CR LF") << QVariant(QStringLiteral("a\\b\r\nc")) << "a\\\\b\\nc";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("lone CR") << QVariant(QStringLiteral("x\ry")) << "x\\ny";
    QTest::newRow("lone LF dropped") << QVariant(QStringLiteral("x\ny")) << "xy";
    QTest::newRow("written backslash n") << QVariant(QStringLiteral("\\n")) << "\\\\n";
    QTest::newRow("two line breaks") << QVariant(QStringLiteral("\r\n\r\n")) << "\\n\\n";
    QTest::newRow("number") << QVariant(5) << "5";
}

void TestCommon::escapeText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(EscapeText(value), expected);
}

void TestCommon::replaceStripCount()
{
    QCOMPARE(ReplaceChar(QVariant(), u'.', u','), QString());
    QCOMPARE(ReplaceChar(QVariant(QStringLiteral("1.2.3")), u'.', u','), QStringLiteral("1,2,3"));
    QCOMPARE(ReplaceChar(QVariant(12.5), u'.', u','), QStringLiteral("12,5"));
    QCOMPARE(StripChars(QStringLiteral("-/ "), QStringLiteral("12-34/5 6-")), QStringLiteral("123456"));
    QCOMPARE(StripChars(QString(), QStringLiteral("ab")), QStringLiteral("ab"));
    QCOMPARE(CountChar(u'a', QStringLiteral("banana")), 3);
    QCOMPARE(CountChar(u'á', QStringLiteral("Ááá")), 2);
    QCOMPARE(CountChar(u';', QString()), 0);
}

void TestCommon::toFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("rock and roll") << QString("Rock & Roll: 1/2") << "rock---roll--1-2";
    QTest::newRow("every dashed mark") << QString(" !\"#%&'*+/:?@\\") << "--------------";
    QTest::newRow("other ASCII kept") << QString("ABC-_.,;()[]$=~") << "abc-_.,;()[]$=~";
    QTest::newRow("Hungarian letters") << QString("Árvíztűrő Tükör") << "_rv_zt_r_-t_k_r";
    QTest::newRow("capital accented") << QString("ŐSZ") << "_sz";
    QTest::newRow("euro sign") << QString("10€") << "10_";
    QTest::newRow("one mark per character") << QStringLiteral("a\U0001F600b") << "a_b";
}

void TestCommon::toFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToFileName(text), expected);
}

void TestCommon::toCodePage852_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("Űrlap") << "Űrlap" << QByteArray("\xEBrlap");
    QTest::newRow("control characters") << "a\tb\r\n" << QByteArray("a b  ");
    QTest::newRow("Hungarian capitals") << "ÁÉÍÓŐÖÚŰÜ" << QByteArray("\xB5\x90\xD6\xE0\x8A\x99\xE9\xEB\x9A");
    QTest::newRow("Hungarian small") << "áéíóőöúűü" << QByteArray("\xA0\x82\xA1\xA2\x8B\x94\xA3\xFB\x81");
    QTest::newRow("other Central European") << "čšžł" << QByteArray("\x9F\xE7\xA7\x88");
    QTest::newRow("ASCII kept") << "Az 1. rész~\x7F" << QByteArray("Az 1. r\x82sz~\x7F");
    QTest::newRow("typographic quotes") << "„Idézet” – …" << QByteArray("\"Id\x82zet\" - ...");
    QTest::newRow("missing in 852") << QStringLiteral("€中\U0001F600") << QByteArray("???");
}

void TestCommon::toCodePage852()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(ToCodePage852(text), expected);
}

void TestCommon::codePage1250_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Hungarian") << "Árvíztűrő tükörfúrógép ŐŰ"
                               << QByteArray("\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p \xD5\xDB");
    QTest::newRow("punctuation") << "„€” – ‰" << QByteArray("\x84\x80\x94 \x96 \x89");
    QTest::newRow("Czech and Polish") << "ŠšŽžĽľŁł" << QByteArray("\x8A\x9A\x8E\x9E\xBC\xBE\xA3\xB3");
    QTest::newRow("undefined bytes") << QStringLiteral("\u0081\u0083\u0088\u0090\u0098")
                                     << QByteArray("\x81\x83\x88\x90\x98");
}

void TestCommon::codePage1250()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToCodePage1250(text), bytes);
    QCOMPARE(FromCodePage1250(bytes), text);
}

void TestCommon::codePage1250RoundTripsEveryByte()
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = FromCodePage1250(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(ToCodePage1250(text), all);
    QCOMPARE(ToCodePage1250(QStringLiteral("中\U0001F600ő")), QByteArray("??\xF5"));
}

void TestCommon::weekOfDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("week");

    QTest::newRow("2004-01-01 Thursday") << QDate(2004, 1, 1) << 1;
    QTest::newRow("2005-01-01 Saturday") << QDate(2005, 1, 1) << 53;
    QTest::newRow("2005-01-03 Monday") << QDate(2005, 1, 3) << 1;
    QTest::newRow("2006-01-01 Sunday") << QDate(2006, 1, 1) << 52;
    QTest::newRow("2008-12-29 next year") << QDate(2008, 12, 29) << 1;
    QTest::newRow("2010-01-03") << QDate(2010, 1, 3) << 53;
    QTest::newRow("2012-12-31") << QDate(2012, 12, 31) << 1;
    QTest::newRow("2020-12-31") << QDate(2020, 12, 31) << 53;
    QTest::newRow("2021-01-01") << QDate(2021, 1, 1) << 53;
    QTest::newRow("2024-06-15") << QDate(2024, 6, 15) << 24;
}

void TestCommon::weekOfDate()
{
    QFETCH(QDate, date);
    QFETCH(int, week);
    QCOMPARE(WeekOfDate(date), week);
    QCOMPARE(YearOfDate(date), date.year());
    QCOMPARE(MonthOfDate(date), date.month());
}

void TestCommon::programFolder()
{
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
    QVERIFY(!ProgramFolder().endsWith(QLatin1Char('/')));
    QCOMPARE(ExeDir(), ProgramFolder());
}

void TestCommon::homeDirRule()
{
    QVERIFY(CommonAppDataFolder().contains(QLatin1String(".qttest"))); // test mode: not the user's
    const QString dir = m_tmp.path() + QStringLiteral("/Program Mappa");
    QVERIFY(QDir().mkpath(dir));
    SetExeDirForTests(dir + QLatin1Char('/'));

    QCOMPARE(ExeDir(), dir);
    QCOMPARE(HomeDir(), CommonAppDataFolder() + QStringLiteral("/Lerovani"));
    QCOMPARE(IniFileName(), CommonAppDataFolder() + QStringLiteral("/Lerovani/Lerovani.ini"));

    QVERIFY(writeFile(dir + QStringLiteral("/Lerovani.ini"), "[Defaults]\n"));
    QCOMPARE(HomeDir(), CommonAppDataFolder() + QStringLiteral("/Lerovani")); // fixed until reset
    ResetFolders();
    QCOMPARE(HomeDir(), dir);
    QCOMPARE(IniFileName(), dir + QStringLiteral("/Lerovani.ini"));

    QVERIFY(QFile::remove(dir + QStringLiteral("/Lerovani.ini")));
    ResetFolders();
    QCOMPARE(HomeDir(), CommonAppDataFolder() + QStringLiteral("/Lerovani"));
}

void TestCommon::workArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    QCOMPARE(WorkArea(), screen->availableGeometry());
    SetWorkAreaForTests(QRect(0, 0, 1280, 1024));
    QCOMPARE(WorkArea(), QRect(0, 0, 1280, 1024));
    SetWorkAreaForTests(QRect());
    QCOMPARE(WorkArea(), screen->availableGeometry());
}

void TestCommon::iniRead_data()
{
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("def");
    QTest::addColumn<QVariant>("expected");

    const QByteArray none;
    QByteArray garbage;
    for (int i = 0; i < 400; ++i)
        garbage.append(char((i * 37 + 11) % 256));

    QTest::newRow("int, no file") << false << none << "Defaults/FontSize" << QVariant(9) << QVariant(9);
    QTest::newRow("int, missing key")
        << true << QByteArray("[Defaults]\nOther=12\n") << "Defaults/FontSize" << QVariant(9) << QVariant(9);
    QTest::newRow("int") << true << QByteArray("[Defaults]\nFontSize=12\n") << "Defaults/FontSize"
                         << QVariant(9) << QVariant(12);
    QTest::newRow("int with spaces") << true << QByteArray("[Defaults]\nFontSize = 12 \n")
                                     << "Defaults/FontSize" << QVariant(9) << QVariant(12);
    QTest::newRow("negative int") << true << QByteArray("[frm_Main]\nLeft=-3\n") << "frm_Main/Left"
                                  << QVariant(10) << QVariant(-3);
    QTest::newRow("int, letters") << true << QByteArray("[Defaults]\nFontSize=abc\n") << "Defaults/FontSize"
                                  << QVariant(9) << QVariant(9);
    QTest::newRow("int, decimal") << true << QByteArray("[Defaults]\nFontSize=9.5\n") << "Defaults/FontSize"
                                  << QVariant(9) << QVariant(9);
    QTest::newRow("int, empty value")
        << true << QByteArray("[Defaults]\nFontSize=\n") << "Defaults/FontSize" << QVariant(9) << QVariant(9);
    QTest::newRow("int, garbage file")
        << true << garbage << "Defaults/FontSize" << QVariant(9) << QVariant(9);
    QTest::newRow("bool, no file") << false << none << "VisibleTabs/Tab0" << QVariant(true) << QVariant(true);
    QTest::newRow("bool 2") << true << QByteArray("[VisibleTabs]\nTab0=2\n") << "VisibleTabs/Tab0"
                            << QVariant(false) << QVariant(true);
    QTest::newRow("bool -1") << true << QByteArray("[VisibleTabs]\nTab0=-1\n") << "VisibleTabs/Tab0"
                             << QVariant(false) << QVariant(true);
    QTest::newRow("bool 0") << true << QByteArray("[VisibleTabs]\nTab0=0\n") << "VisibleTabs/Tab0"
                            << QVariant(true) << QVariant(false);
    QTest::newRow("bool x, default true") << true << QByteArray("[VisibleTabs]\nTab0=x\n")
                                          << "VisibleTabs/Tab0" << QVariant(true) << QVariant(true);
    QTest::newRow("bool x, default false") << true << QByteArray("[VisibleTabs]\nTab0=x\n")
                                           << "VisibleTabs/Tab0" << QVariant(false) << QVariant(false);
    QTest::newRow("bool true is not an integer") << true << QByteArray("[VisibleTabs]\nTab0=true\n")
                                                 << "VisibleTabs/Tab0" << QVariant(false) << QVariant(false);
    QTest::newRow("string, no file") << false << none << "Database/Path" << QVariant("/alap")
                                     << QVariant("/alap");
    QTest::newRow("string UTF-8") << true << QByteArray("[Database]\nPath=/home/anna/Könyvtár ő\n")
                                  << "Database/Path" << QVariant("/alap")
                                  << QVariant("/home/anna/Könyvtár ő");
    QTest::newRow("string empty value") << true << QByteArray("[Defaults]\nHtmlPath=\n")
                                        << "Defaults/HtmlPath" << QVariant("/alap") << QVariant("");
    QTest::newRow("string with comma")
        << true << QByteArray("[Database]\nPath=/home/Könyvek, lemezek\n") << "Database/Path"
        << QVariant("/alap") << QVariant("/home/Könyvek, lemezek");
}

void TestCommon::iniRead()
{
    QFETCH(bool, hasFile);
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QVariant, def);
    QFETCH(QVariant, expected);

    // The home folder is fixed while the file exists; then the file goes for the "no file" rows.
    const QString dir = newHome(&content);
    QVERIFY(!dir.isEmpty());
    QCOMPARE(IniFileName(), dir + QStringLiteral("/Lerovani.ini"));
    if (!hasFile) QVERIFY(QFile::remove(IniFileName()));
    const QString section = key.section(QLatin1Char('/'), 0, 0);
    const QString name = key.section(QLatin1Char('/'), 1);
    switch (def.metaType().id()) {
    case QMetaType::Int:
        QCOMPARE(IniReadInt(section, name, def.toInt()), expected.toInt());
        break;
    case QMetaType::Bool:
        QCOMPARE(IniReadBool(section, name, def.toBool()), expected.toBool());
        break;
    default:
        QCOMPARE(IniReadString(section, name, def.toString()), expected.toString());
        break;
    }
}

void TestCommon::iniWriteRoundTrip()
{
    const QByteArray empty;
    const QString dir = newHome(&empty);
    QVERIFY(!dir.isEmpty());

    const QString path = QStringLiteral("  /home/ő/Könyvek, lemezek\\régi \"jó\"; #1");
    QVERIFY(IniWriteString(QStringLiteral("Database"), QStringLiteral("Path"), path));
    QVERIFY(IniWriteBool(QStringLiteral("Defaults"), QStringLiteral("FullScreen"), true));
    QVERIFY(IniWriteBool(QStringLiteral("VisibleTabs"), QStringLiteral("Tab3"), false));
    QVERIFY(IniWriteInt(QStringLiteral("frm_Main"), QStringLiteral("Left"), -7));

    QCOMPARE(IniReadString(QStringLiteral("Database"), QStringLiteral("Path"), QString()), path);
    QCOMPARE(IniReadBool(QStringLiteral("Defaults"), QStringLiteral("FullScreen"), false), true);
    QCOMPARE(IniReadBool(QStringLiteral("VisibleTabs"), QStringLiteral("Tab3"), true), false);
    QCOMPARE(IniReadInt(QStringLiteral("frm_Main"), QStringLiteral("Left"), 10), -7);

    const QString text = QString::fromUtf8(readFile(dir + QStringLiteral("/Lerovani.ini")));
    QVERIFY2(text.contains(QLatin1String("\nFullScreen=1\n")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("\nTab3=0\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Könyvek")), qPrintable(text)); // readable UTF-8, not escaped
}

void TestCommon::iniWriteRefusesMissingFolder()
{
    const QByteArray empty;
    const QString dir = newHome(&empty);
    QCOMPARE(IniFileName(), dir + QStringLiteral("/Lerovani.ini")); // fixed before the folder goes
    QVERIFY(QDir(dir).removeRecursively());

    QVERIFY(!IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("FontSize"), 10));
    QVERIFY(!SaveFormPos(QStringLiteral("frm_Main"), 1, 2));
    QVERIFY(!QFileInfo::exists(dir));
    QVERIFY(IniWriteErrorText().contains(QStringLiteral("Lerovani.ini")));
}

void TestCommon::iniWriteKeepsForeignFile_data()
{
    QTest::addColumn<QByteArray>("content");

    QByteArray garbage;
    for (int i = 0; i < 400; ++i)
        garbage.append(char((i * 37 + 11) % 256));
    QTest::newRow("binary") << garbage;
    QTest::newRow("Windows-1250 text") << QByteArray("[Dymo]\r\nUgyfFile=/home/K\xF6nyvek/c\xEDmke.txt\r\n");
    QTest::newRow("NUL inside") << QByteArrayLiteral("[Defaults]\nFontSize=9\n\0\n");
}

void TestCommon::iniWriteKeepsForeignFile()
{
    QFETCH(QByteArray, content);
    const QString dir = newHome(&content);
    QVERIFY(!IniWriteString(QStringLiteral("Database"), QStringLiteral("Path"), QStringLiteral("/x")));
    QVERIFY(!SaveFormBounds(QStringLiteral("frm_Main"), 1, 2, 3, 4));
    QCOMPARE(readFile(dir + QStringLiteral("/Lerovani.ini")), content);
}

void TestCommon::iniWriteReadOnlyFile()
{
    const QByteArray content("[Defaults]\nFontSize=9\n");
    const QString dir = newHome(&content);
    const QString file = dir + QStringLiteral("/Lerovani.ini");
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser));
    {
        QFile probe(file);
        if (probe.open(QIODevice::WriteOnly | QIODevice::Append))
            QSKIP("the file system lets this user write a read-only file");
    }
    QVERIFY(!IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("FontSize"), 12));
    QCOMPARE(readFile(file), content);
}

void TestCommon::loadFormBounds_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QRect>("given");
    QTest::addColumn<QRect>("expected");

    const QRect area(0, 0, 1280, 1024);
    const QRect design(10, 10, 968, 762);
    QTest::newRow("left past right edge")
        << area << QByteArray("Left=1500\nTop=10\n") << design << QRect(0, 10, 968, 762);
    QTest::newRow("pulled left") << area << QByteArray("Left=500\nTop=10\n") << design
                                 << QRect(312, 10, 968, 762);
    QTest::newRow("too wide") << area << QByteArray("Left=100\nTop=10\nWidth=1400\n") << design
                              << QRect(0, 10, 1280, 762);
    QTest::newRow("ends on the right edge")
        << area << QByteArray("Left=312\nTop=10\n") << design << QRect(312, 10, 968, 762);
    QTest::newRow("top past bottom edge")
        << area << QByteArray("Left=10\nTop=1100\n") << design << QRect(10, 0, 968, 762);
    QTest::newRow("pulled up") << area << QByteArray("Left=10\nTop=500\n") << design
                               << QRect(10, 262, 968, 762);
    QTest::newRow("too tall") << area << QByteArray("Top=50\nHeight=1100\n") << design
                              << QRect(10, 0, 968, 1024);
    QTest::newRow("nothing stored") << area << QByteArray() << design << QRect(10, 10, 968, 762);
    QTest::newRow("nothing stored, design too wide")
        << area << QByteArray() << QRect(10, 10, 1300, 762) << QRect(0, 10, 1280, 762);
    QTest::newRow("not an integer") << area << QByteArray("Left=abc\nWidth=x\n") << design
                                    << QRect(10, 10, 968, 762);
    QTest::newRow("negative left kept")
        << area << QByteArray("Left=-20\n") << design << QRect(-20, 10, 968, 762);
    QTest::newRow("area below a top panel")
        << QRect(0, 40, 1280, 984) << QByteArray("Top=262\n") << design << QRect(10, 262, 968, 762);
    QTest::newRow("area below a top panel, pulled")
        << QRect(0, 40, 1280, 984) << QByteArray("Top=300\n") << design << QRect(10, 262, 968, 762);
}

void TestCommon::loadFormBounds()
{
    QFETCH(QRect, area);
    QFETCH(QByteArray, stored);
    QFETCH(QRect, given);
    QFETCH(QRect, expected);

    const QByteArray content = "[frm_Main]\n" + stored;
    QVERIFY(!newHome(&content).isEmpty());
    SetWorkAreaForTests(area);
    QCOMPARE(LoadFormBounds(QStringLiteral("frm_Main"), given.x(), given.y(), given.width(), given.height()),
             expected);
}

void TestCommon::formPosRoundTrip()
{
    const QByteArray content("[frm_Keres]\nLeft=-20\nTop=3000\n");
    QVERIFY(!newHome(&content).isEmpty());
    SetWorkAreaForTests(QRect(0, 0, 1280, 1024));

    QCOMPARE(LoadFormPos(QStringLiteral("frm_Keres")), QPoint(-20, 3000)); // not clamped
    QCOMPARE(LoadFormPos(QStringLiteral("frm_Hatarolt")), QPoint(10, 10));

    QVERIFY(SaveFormPos(QStringLiteral("frm_Hatarolt"), 120, 80));
    QCOMPARE(LoadFormPos(QStringLiteral("frm_Hatarolt")), QPoint(120, 80));
    QVERIFY(SaveFormBounds(QStringLiteral("frm_Dymo"), 11, 22, 333, 444));
    QCOMPARE(LoadFormBounds(QStringLiteral("frm_Dymo"), 10, 10, 500, 400), QRect(11, 22, 333, 444));
    QCOMPARE(IniReadInt(QStringLiteral("frm_Dymo"), QStringLiteral("Height"), 0), 444);
}

void TestCommon::widgetPlacement()
{
    const QByteArray content;
    QVERIFY(!newHome(&content).isEmpty());
    SetWorkAreaForTests(QRect(0, 0, 1280, 1024));

    QWidget first;
    first.setObjectName(QStringLiteral("frm_Teszt"));
    first.setGeometry(33, 44, 300, 200);
    QVERIFY(StoreFormPos(&first));
    QWidget second;
    second.setObjectName(QStringLiteral("frm_Teszt"));
    RestoreFormPos(&second);
    QCOMPARE(second.pos(), QPoint(33, 44));

    QVERIFY(SaveFormBounds(QStringLiteral("frm_Lista"), 1200, 40, 400, 300));
    QWidget list;
    list.setObjectName(QStringLiteral("frm_Lista"));
    list.resize(500, 350);
    RestoreFormBounds(&list);
    QCOMPARE(list.pos(), QPoint(880, 40));
    QCOMPARE(list.size(), QSize(400, 300));
    list.move(5, 6);
    QVERIFY(StoreFormBounds(&list));
    QCOMPARE(LoadFormBounds(QStringLiteral("frm_Lista"), 10, 10, 1, 1), QRect(5, 6, 400, 300));

    QWidget unnamed;
    QVERIFY(!StoreFormPos(&unnamed));
}

void TestCommon::applyFontSize()
{
    QWidget form;
    auto* label = new QLabel(QStringLiteral("Cím"), &form);
    auto* own = new QLabel(QStringLiteral("Saját"), &form);
    QFont big = own->font();
    big.setPointSize(20);
    own->setFont(big);

    ApplyFontSize(&form, 14);
    QCOMPARE(form.font().pointSize(), 14);
    QCOMPARE(label->font().pointSize(), 14);
    QCOMPARE(own->font().pointSize(), 20);

    ApplyFontSize(&form, 0);
    QCOMPARE(label->font().pointSize(), 14);
}

QTEST_MAIN(TestCommon)
#include "tst_common.moc"
