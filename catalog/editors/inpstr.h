#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The one-line input dialog behind AskString.
class Tfrm_InpStr : public QDialog
{
    Q_OBJECT

public:
    Tfrm_InpStr(const QString& caption, const QString& prompt, const QString& value, bool normalCase,
                int maxLength, QWidget* parent = nullptr);

    QString text() const;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    QLabel* Label1 = nullptr;
    QLabel* Image1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
