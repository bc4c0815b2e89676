#pragma once
// An image control of a page: paints the model's drawing pixel for pixel and reports mouse
// presses, moves and releases in image pixels, with the cross cursor the graph editors use.

#include <QImage>
#include <QWidget>

#include "core/pages/Page.h"

class PageImage : public QWidget {
    Q_OBJECT
public:
    explicit PageImage(QWidget* parent);

    // Renders the drawing at the given size; the widget takes exactly that size.
    void setDrawing(int width, int height, const hz::pages::Drawing& drawing);
    const QImage& image() const { return m_image; }

signals:
    void mouse(hz::pages::MouseAction action, int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void report(hz::pages::MouseAction action, QMouseEvent* e);
    QImage m_image;
};
