#include "gui/pages/PageImage.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "core/pages/Page.h"
#include "print/SheetPrint.h"

PageImage::PageImage(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    // Moves are reported with and without a pressed button, as a canvas reports them; the
    // page decides what a move means.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageImage::setDrawing(int width, int height, const hz::pages::Drawing& drawing)
{
    const std::vector<hz::pages::Colour> px = hz::pages::RenderDrawing(width, height, drawing);
    static_assert(sizeof(hz::pages::Colour) == 3, "3 bytes a pixel");
    QImage img = hz::print::PixelImage(width, height, reinterpret_cast<const unsigned char*>(px.data()));
    m_image = std::move(img);
    setFixedSize(m_image.size());
    update();
}

void PageImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void PageImage::report(hz::pages::MouseAction action, QMouseEvent* e)
{
    const QPointF pos = e->position();
    emit mouse(action, static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y())));
}

void PageImage::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        report(hz::pages::MouseAction::Press, e);
}

void PageImage::mouseMoveEvent(QMouseEvent* e) { report(hz::pages::MouseAction::Move, e); }

void PageImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        report(hz::pages::MouseAction::Release, e);
}
