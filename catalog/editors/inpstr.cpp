#include "inpstr.h"

#include "beall.h"
#include "editors.h"
#include "formpos.h"
#include "formutil.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QValidator>

namespace {

// Turns every letter into a capital as it is typed or pasted.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

AskStringHook& askStringHook()
{
    static AskStringHook hook;
    return hook;
}

} // namespace

Tfrm_InpStr::Tfrm_InpStr(const QString& caption, const QString& prompt, const QString& value, bool normalCase,
                         int maxLength, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_InpStr"));
    setWindowTitle(caption);
    setModal(true);
    ApplyFontSize(this, Beall.FontSize);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-question"),
                                       style()->standardIcon(QStyle::SP_MessageBoxQuestion))
                          .pixmap(48, 48));
    Label1 = new QLabel(prompt, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(353);
    Label1->setBuddy(Edit1);
    if (maxLength >= 0) Edit1->setMaxLength(maxLength);
    if (!normalCase) Edit1->setValidator(new UpperCaseValidator(Edit1));
    Edit1->setText(normalCase ? value : value.toUpper());
    Edit1->selectAll();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Edit1, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 2, 1);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    InstallFocusHighlight(Edit1);
    move(LoadFormPos(objectName()));
}

QString Tfrm_InpStr::text() const
{
    return Edit1->text();
}

void Tfrm_InpStr::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edit1->setFocus(Qt::OtherFocusReason);
}

void Tfrm_InpStr::done(int r)
{
    SaveFormPos(objectName(), x(), y());
    QDialog::done(r);
}

void setAskStringHook(AskStringHook hook)
{
    askStringHook() = std::move(hook);
}

bool AskString(const QString& caption, const QString& prompt, QString& value, bool normalCase, int maxLength,
               QWidget* parent)
{
    if (askStringHook()) {
        const std::optional<QString> answer = askStringHook()(caption, prompt, value, normalCase);
        if (!answer) return false;
        value = *answer;
        return true;
    }
    Tfrm_InpStr dlg(caption, prompt, value, normalCase, maxLength, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    value = dlg.text();
    return true;
}
