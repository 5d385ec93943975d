#pragma once

#include "torzsmembers.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TorzsListWindow;

// Edits the calling list's current row in place: its fields are bound to the list's Tbl.
// OK posts the row; a refused post keeps the window open and the row in edit state.
class TorzsEditor : public QDialog
{
    Q_OBJECT

public:
    TorzsEditor(TorzsKind kind, TorzsListWindow* list);

    const TorzsMember& member() const { return m_member; }
    void setLabelAndCaption(const QString& text);

    QLabel* Label1;
    QLineEdit* DBEdit1;       // the name field; the code in the classification code editor
    QLabel* Label2 = nullptr; // classification code editor only: "Megnevezés"
    QLineEdit* DBEdit2 = nullptr;
    QPushButton* btnOK;
    QPushButton* btnMegsem;

    void btnOKClick();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    const TorzsMember& m_member;
    TorzsListWindow* m_list;
    bool m_shown = false;
};

// The thin named editors of the family.

class Tfrm_TorzsSzerzo_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSzerzo_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Szerzo, list) {}
};

class Tfrm_TorzsKiado_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsKiado_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Kiado, list) {}
};

class Tfrm_TorzsTargykor_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsTargykor_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Targykor, list) {}
};

class Tfrm_TorzsMufaj_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsMufaj_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Mufaj, list) {}
};

class Tfrm_TorzsSorozat_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSorozat_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Sorozat, list) {}
};

class Tfrm_TorzsPrgTipus_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsPrgTipus_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::PrgTipus, list) {}
};

class Tfrm_TorzsPolc_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsPolc_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Polc, list) {}
};

class Tfrm_TorzsSzakjel_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSzakjel_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Szakjel, list) {}
};

class Tfrm_TorzsMinoseg_Szerkeszt : public TorzsEditor
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsMinoseg_Szerkeszt(TorzsListWindow* list) : TorzsEditor(TorzsKind::Minoseg, list) {}
};
