#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kFolder(230, 190, 80);
const QColor kFolderDark(180, 135, 30);
const QColor kBlue(40, 90, 190);
const QColor kGreen(30, 140, 60);
const QColor kRed(200, 40, 40);

QIcon draw(int size, const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return QIcon(pixmap);
}

void page(QPainter &p, QRectF r)
{
    const qreal fold = r.width() / 3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void closedFolder(QPainter &p, QRectF r)
{
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolder);
    p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.45, r.height() * 0.25));
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.2, r.width(), r.height() * 0.8));
}

void plus(QPainter &p, QPointF c, qreal half, const QColor &color)
{
    p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c.x() - half, c.y()), QPointF(c.x() + half, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - half), QPointF(c.x(), c.y() + half));
}

void lines(QPainter &p, QRectF r, int count)
{
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + 0.5 + i * 2.5;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

} // namespace

QList<QIcon> ToolbarPictures()
{
    QList<QIcon> list;
    // 0 new: a blank page.
    list << draw(16, [](QPainter &p) { page(p, QRectF(3.5, 1.5, 10, 13)); });
    // 1 open: a folder with a page coming out.
    list << draw(16, [](QPainter &p) {
        page(p, QRectF(5.5, 1.5, 8, 8));
        closedFolder(p, QRectF(1.5, 5.5, 13, 9));
    });
    // 2 save: a diskette.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    });
    // 3 edit: a page with a pencil.
    list << draw(16, [](QPainter &p) {
        page(p, QRectF(1.5, 1.5, 10, 13));
        lines(p, QRectF(3.5, 6, 5, 6), 3);
        p.setPen(QPen(QColor(150, 90, 20), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(14.5, 4), QPointF(7.5, 12));
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(7.5, 12), QPointF(6.5, 14.5));
    });
    // 4 add: a page with a green plus.
    list << draw(16, [](QPainter &p) {
        page(p, QRectF(1.5, 1.5, 9, 12));
        plus(p, QPointF(11.5, 11.5), 3.5, kGreen);
    });
    // 5 add child: an indented branch ending in a plus.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 6, 4));
        p.drawLine(QPointF(3.5, 5.5), QPointF(3.5, 11.5));
        p.drawLine(QPointF(3.5, 11.5), QPointF(7.5, 11.5));
        plus(p, QPointF(11.5, 11.5), 3.5, kGreen);
    });
    // 6 delete: a red cross.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
    // 7 preview: a magnifying glass.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(200, 225, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    });
    // 8 expand: a small tree with a plus.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(4.5, 4.5), QPointF(4.5, 13.5));
        p.drawLine(QPointF(4.5, 8.5), QPointF(9.5, 8.5));
        p.drawLine(QPointF(4.5, 13.5), QPointF(9.5, 13.5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 0.5, 6, 5));
        plus(p, QPointF(12.5, 8.5), 2.5, kBlue);
        plus(p, QPointF(12.5, 13.5), 2.5, kBlue);
    });
    // 9 about: an "i" in a blue circle.
    list << draw(16, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(7, 3.5, 2, 2));
        p.drawRect(QRectF(7, 6.5, 2, 6));
    });
    // 10 level calculator: a calculator.
    list << draw(16, [](QPainter &p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(210, 210, 210));
        p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
        p.setBrush(QColor(190, 230, 190));
        p.drawRect(QRectF(4.5, 2.5, 7, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(4.5 + col * 2.5, 7.5 + row * 2.5, 1.6, 1.6));
    });
    return list;
}

QList<QIcon> TreePictures()
{
    QList<QIcon> list;
    // 0 a stack of folders.
    list << draw(18, [](QPainter &p) {
        closedFolder(p, QRectF(4.5, 1.5, 12, 9));
        closedFolder(p, QRectF(1.5, 6.5, 12, 10));
    });
    // 1 a closed folder.
    list << draw(18, [](QPainter &p) { closedFolder(p, QRectF(1.5, 3.5, 15, 12)); });
    // 2 an open folder with a downward arrow.
    list << draw(18, [](QPainter &p) {
        closedFolder(p, QRectF(1.5, 5.5, 11, 11));
        p.setPen(QPen(kFolderDark, 1));
        p.setBrush(QColor(245, 215, 120));
        QPolygonF flap;
        flap << QPointF(1.5, 16.5) << QPointF(4.5, 9.5) << QPointF(15.5, 9.5) << QPointF(12.5, 16.5);
        p.drawPolygon(flap);
        p.setPen(QPen(kBlue, 1.5));
        p.drawLine(QPointF(14.5, 0.5), QPointF(14.5, 6.5));
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        QPolygonF head;
        head << QPointF(11.5, 5) << QPointF(17.5, 5) << QPointF(14.5, 8.5);
        p.drawPolygon(head);
    });
    // 3 a document page.
    list << draw(18, [](QPainter &p) {
        page(p, QRectF(3.5, 1.5, 11, 15));
        lines(p, QRectF(5.5, 7, 7, 8), 4);
    });
    return list;
}

QList<QIcon> StatePictures()
{
    QList<QIcon> list;
    for (bool ticked : {false, true}) {
        list << draw(18, [ticked](QPainter &p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(3.5, 3.5, 11, 11));
            if (ticked) {
                p.setPen(QPen(kGreen, 2));
                p.drawLine(QPointF(5.5, 9), QPointF(8, 12));
                p.drawLine(QPointF(8, 12), QPointF(13, 5.5));
            }
        });
    }
    return list;
}
