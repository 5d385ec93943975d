#pragma once

#include <QColor>
#include <QDialog>
#include <QPlainTextEdit>

class QPushButton;

// Plain text editor with line numbers in a gutter and the caret's line painted light yellow.
class LineNumberEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LineNumberEdit(QWidget* parent = nullptr);

    static QColor CaretLineColor() { return QColor(255, 255, 204); }
    int lineNumberAreaWidth() const;
    QWidget* lineNumberArea() const { return m_gutter; }
    void paintLineNumbers(QPaintEvent* e);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void updateGutterWidth();
    void updateGutter(const QRect& rect, int dy);
    void highlightCaretLine();

    QWidget* m_gutter;
};

// "Törzsadatok hozzáadása": many master rows at once, one per line.
class Tfrm_Torzsadat : public QDialog
{
    Q_OBJECT

public:
    explicit Tfrm_Torzsadat(QWidget* parent = nullptr);

    LineNumberEdit* Memo1;
    QPushButton* btnOK;
    QPushButton* btnMegsem;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    bool m_shown = false;
};
