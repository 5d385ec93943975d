#include "kindicon.h"

#include "database.h"
#include "dberror.h"

#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QSqlQuery>

namespace {

const char* themeName(int kind)
{
    switch (kind) {
    case 1:
        return "accessories-dictionary";
    case 2:
        return "media-optical-data";
    case 3:
        return "media-optical-audio";
    case 4:
        return "media-optical-video";
    case 5:
        return "audio-x-generic";
    case 6:
        return "video-x-generic";
    case 7:
        return "media-tape";
    case 8:
        return "media-optical-dvd";
    case 9:
        return "audio-x-generic";
    }
    return "media-optical";
}

void drawDisc(QPainter& p, const QRectF& r, const QColor& face, const QColor& ring)
{
    p.setPen(QPen(ring, r.width() / 40.0));
    p.setBrush(face);
    p.drawEllipse(r);
    const QPointF c = r.center();
    p.setBrush(Qt::white);
    p.drawEllipse(c, r.width() / 9.0, r.width() / 9.0);
}

void drawReels(QPainter& p, const QRectF& box, const QColor& body, const QColor& window)
{
    const double w = box.width();
    p.setPen(QPen(Qt::black, w / 50.0));
    p.setBrush(body);
    p.drawRoundedRect(box, w / 14.0, w / 14.0);
    const QRectF win(box.left() + w * 0.18, box.top() + box.height() * 0.28, w * 0.64, box.height() * 0.36);
    p.setBrush(window);
    p.drawRect(win);
    p.setBrush(Qt::white);
    const double rad = win.height() * 0.32;
    p.drawEllipse(QPointF(win.left() + win.width() * 0.25, win.center().y()), rad, rad);
    p.drawEllipse(QPointF(win.left() + win.width() * 0.75, win.center().y()), rad, rad);
}

// Plain drawings, so the program needs no image files of uncertain licence.
QPixmap drawnIcon(int kind, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF disc(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    switch (kind) {
    case 1: { // book: cover with a spine
        p.setPen(QPen(QColor(60, 40, 20), s / 40.0));
        p.setBrush(QColor(170, 60, 40));
        p.drawRoundedRect(QRectF(s * 0.2, s * 0.08, s * 0.62, s * 0.84), s / 30.0, s / 30.0);
        p.setBrush(QColor(120, 40, 25));
        p.drawRect(QRectF(s * 0.2, s * 0.08, s * 0.1, s * 0.84));
        p.setBrush(QColor(245, 235, 200));
        p.drawRect(QRectF(s * 0.4, s * 0.22, s * 0.32, s * 0.14));
        break;
    }
    case 2:
        drawDisc(p, disc, QColor(200, 215, 235), QColor(70, 90, 130));
        break;
    case 3:
        drawDisc(p, disc, QColor(230, 210, 120), QColor(130, 100, 30));
        break;
    case 4:
        drawDisc(p, disc, QColor(190, 225, 190), QColor(50, 110, 50));
        break;
    case 5: { // vinyl: black disc, grooves, red label
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(25, 25, 25));
        p.drawEllipse(disc);
        p.setPen(QPen(QColor(80, 80, 80), s / 80.0));
        p.setBrush(Qt::NoBrush);
        for (double f : {0.36, 0.30, 0.24})
            p.drawEllipse(disc.center(), s * f, s * f);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(disc.center(), s * 0.14, s * 0.14);
        p.setBrush(Qt::white);
        p.drawEllipse(disc.center(), s * 0.03, s * 0.03);
        break;
    }
    case 6:
        drawReels(p, QRectF(s * 0.04, s * 0.22, s * 0.92, s * 0.56), QColor(40, 40, 40), QColor(90, 90, 90));
        break;
    case 7:
        drawReels(p, QRectF(s * 0.08, s * 0.2, s * 0.84, s * 0.58), QColor(220, 200, 150),
                  QColor(120, 90, 60));
        break;
    case 8:
        drawDisc(p, disc, QColor(215, 200, 235), QColor(90, 60, 130));
        break;
    case 9: { // sheet music: staff lines and a note
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(s * 0.1, s * 0.06, s * 0.8, s * 0.88));
        p.setPen(QPen(Qt::black, s / 60.0));
        for (int i = 0; i < 5; ++i) {
            const double y = s * (0.3 + i * 0.09);
            p.drawLine(QPointF(s * 0.16, y), QPointF(s * 0.84, y));
        }
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(s * 0.45, s * 0.615), s * 0.07, s * 0.05);
        p.setPen(QPen(Qt::black, s / 30.0));
        p.drawLine(QPointF(s * 0.515, s * 0.61), QPointF(s * 0.515, s * 0.2));
        break;
    }
    default:
        drawDisc(p, disc, Qt::lightGray, Qt::darkGray);
        break;
    }
    return pm;
}

} // namespace

QPixmap KindPixmap(int kind, int size)
{
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(themeName(kind)));
    if (!icon.isNull()) {
        const QPixmap pm = icon.pixmap(size, size);
        if (!pm.isNull()) return pm;
    }
    return drawnIcon(kind, size);
}

QPixmap AttachedPicture(const QString& connection, int az, int size)
{
    if (az <= 0) return QPixmap();
    QStringList paths;
    try {
        QSqlQuery q = Engine::Database::exec(
            connection, QStringLiteral("SELECT doknev FROM megj WHERE konyv = :az ORDER BY doknev"),
            {{"az", az}});
        while (q.next())
            paths.append(q.value(0).toString());
    } catch (const Engine::DbError&) {
        return QPixmap(); // the picture is decoration; the editor opens without it
    }
    for (const QString& path : paths) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        if (!reader.canRead()) continue;
        const QSize full = reader.size();
        if (full.isValid()) reader.setScaledSize(full.scaled(size, size, Qt::KeepAspectRatio));
        const QImage img = reader.read();
        if (!img.isNull())
            return QPixmap::fromImage(img.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return QPixmap();
}
