#pragma once

#include "progress.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The maintenance program's only window: the database folder, "Karbantartás" (index
// rebuild), "Verzióváltás" (upgrade, after bringing over a Paradox folder) and "Bezár".
class Tfrm_Upd_Main : public QDialog
{
    Q_OBJECT

public:
    explicit Tfrm_Upd_Main(QWidget* parent = nullptr);

    static QString version() { return QStringLiteral("8.0.0.233"); }
    static QString connectionName() { return QStringLiteral("Lerovani_Upd"); }

public slots:
    void Button1Click();
    void Button3Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    bool OpeningSequence();
    bool OpenConnection();
    void CloseConnection();
    void ResetProgress();
    Maintenance::Progress progress();

    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button3;
    QPushButton* Button2;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;

    QString m_folder; // without a trailing separator
    bool m_running = false;
};
