#include "ui/ArrowIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {
const QColor Navy(0, 0, 128);
const QColor DisabledGrey(150, 150, 150);

class ArrowIconEngine : public QIconEngine
{
public:
    explicit ArrowIconEngine(Qt::ArrowType direction)
        : m_direction(direction)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        // A square in the middle of rect; the triangle is a little narrower than it is tall.
        const qreal side = std::min(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - side) / 2.0,
            rect.y() + (rect.height() - side) / 2.0, side, side);
        auto at = [&box](qreal x, qreal y) {
            return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
        };
        QPolygonF triangle;
        switch (m_direction) {
        case Qt::LeftArrow:
            triangle << at(0.72, 0.11) << at(0.17, 0.5) << at(0.72, 0.89);
            break;
        case Qt::UpArrow:
            triangle << at(0.11, 0.72) << at(0.5, 0.17) << at(0.89, 0.72);
            break;
        case Qt::DownArrow:
            triangle << at(0.11, 0.28) << at(0.5, 0.83) << at(0.89, 0.28);
            break;
        default:
            triangle << at(0.28, 0.11) << at(0.83, 0.5) << at(0.28, 0.89);
            break;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(mode == QIcon::Disabled ? DisabledGrey : Navy);
        painter->drawPolygon(triangle);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(
        const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new ArrowIconEngine(m_direction); }

private:
    Qt::ArrowType m_direction;
};
} // namespace

QIcon arrowIcon(Qt::ArrowType direction)
{
    return QIcon(new ArrowIconEngine(direction));
}
