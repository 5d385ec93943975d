#include "torzsadat.h"

#include "beall.h"
#include "formpos.h"
#include "formutil.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

class LineNumberArea : public QWidget
{
public:
    explicit LineNumberArea(LineNumberEdit* editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return QSize(m_editor->lineNumberAreaWidth(), 0); }

protected:
    void paintEvent(QPaintEvent* e) override { m_editor->paintLineNumbers(e); }

private:
    LineNumberEdit* m_editor;
};

} // namespace

LineNumberEdit::LineNumberEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    m_gutter = new LineNumberArea(this);
    m_gutter->setObjectName(QStringLiteral("LineNumberArea"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &LineNumberEdit::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &LineNumberEdit::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &LineNumberEdit::highlightCaretLine);
    updateGutterWidth();
    highlightCaretLine();
}

int LineNumberEdit::lineNumberAreaWidth() const
{
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10)
        ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(2, digits);
}

void LineNumberEdit::updateGutterWidth()
{
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
}

void LineNumberEdit::updateGutter(const QRect& rect, int dy)
{
    if (dy)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    if (rect.contains(viewport()->rect())) updateGutterWidth();
}

void LineNumberEdit::resizeEvent(QResizeEvent* e)
{
    QPlainTextEdit::resizeEvent(e);
    const QRect cr = contentsRect();
    m_gutter->setGeometry(QRect(cr.left(), cr.top(), lineNumberAreaWidth(), cr.height()));
}

void LineNumberEdit::changeEvent(QEvent* e)
{
    QPlainTextEdit::changeEvent(e);
    // The gutter's width follows the digits of the font.
    if (e->type() == QEvent::FontChange) {
        updateGutterWidth();
        const QRect cr = contentsRect();
        m_gutter->setGeometry(QRect(cr.left(), cr.top(), lineNumberAreaWidth(), cr.height()));
    }
}

void LineNumberEdit::highlightCaretLine()
{
    QTextEdit::ExtraSelection line;
    line.format.setBackground(CaretLineColor());
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    setExtraSelections({line});
}

void LineNumberEdit::paintLineNumbers(QPaintEvent* e)
{
    QPainter painter(m_gutter);
    painter.fillRect(e->rect(), palette().color(QPalette::Window));
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock block = firstVisibleBlock();
    int number = block.blockNumber();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const int h = fontMetrics().height();
    while (block.isValid() && top <= e->rect().bottom()) {
        if (block.isVisible() && bottom >= e->rect().top())
            painter.drawText(0, top, m_gutter->width() - 4, h, Qt::AlignRight, QString::number(number + 1));
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
        ++number;
    }
}

Tfrm_Torzsadat::Tfrm_Torzsadat(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Torzsadat"));
    setWindowTitle(QStringLiteral("Törzsadatok hozzáadása"));

    Memo1 = new LineNumberEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    Memo1->setFont(mono);

    // Enter belongs to the text: it starts a new line, never closes the window.
    QHBoxLayout* buttons = MakeOkCancelRow(this, btnOK, btnMegsem);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    setFixedSize(420, 320);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnMegsem, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_Torzsadat::showEvent(QShowEvent* e)
{
    if (!m_shown) {
        m_shown = true;
        RestoreFormPos(this);
        ApplyFontSize(this, Beall.FontSize);
        ApplyFontSize(Memo1, Beall.FontSize);
        Memo1->setFocus();
    }
    QDialog::showEvent(e);
}

void Tfrm_Torzsadat::done(int r)
{
    if (m_shown) StoreFormPos(this);
    QDialog::done(r);
}
