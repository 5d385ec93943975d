#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace Engine {
class Table;
}

struct FieldLinkOptions
{
    bool upperCase = false;
    bool readOnly = false;
    QString format; // "00000" zero-padded number, "yyyy.MM.dd" date
};

// Binds one widget to one field of a table's current row, the way data-aware controls do:
// the widget shows the field, and what the user types goes into the row when the widget
// loses the focus (or commit() is called). A value the field cannot hold is answered with
// the data layer's message, and the focus stays in the widget.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    using Options = FieldLinkOptions;

    static FieldLink* bind(QLineEdit* w, Engine::Table* t, const QString& field, Options o = {});
    static FieldLink* bind(QComboBox* w, Engine::Table* t, const QString& field, Options o = {}); // editable combo
    static FieldLink* bind(QPlainTextEdit* w, Engine::Table* t, const QString& field, Options o = {});
    static FieldLink* bind(QCheckBox* w, Engine::Table* t, const QString& field, Options o = {});
    static FieldLink* bind(QLabel* w, Engine::Table* t, const QString& field, Options o = {}); // display only

    // Writes the widget's text into the row; false (after the message) when the field refuses it.
    bool commit();
    void refresh(); // shows the field's current value
    QWidget* widget() const { return m_widget; }
    QString fieldName() const { return m_field; }

    // Commits every link below root; false at the first refusal (the focus is then in that widget).
    static bool commitAll(QWidget* root);

private:
    FieldLink(QWidget* w, Engine::Table* t, const QString& field, Options o);
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString widgetText() const;
    void setWidgetText(const QString& text);

    QPointer<QWidget> m_widget;
    Engine::Table* m_table;
    QString m_field;
    Options m_options;
    bool m_updating = false;
    bool m_committing = false;
};
