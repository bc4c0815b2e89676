#include "core/pages/common/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace hz::pages {

void Canvas::Clear() { FillRect(0, 0, m_width, m_height); }

void Canvas::FillRect(int x1, int y1, int x2, int y2)
{
    m_ops.push_back({DrawOp::Kind::Fill, x1, y1, x2, y2, pen, brush});
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    m_ops.push_back({DrawOp::Kind::Rectangle, x1, y1, x2, y2, pen, brush});
}

void Canvas::MoveTo(int x, int y)
{
    m_penX = x;
    m_penY = y;
}

void Canvas::LineTo(int x, int y)
{
    m_ops.push_back({DrawOp::Kind::Line, m_penX, m_penY, x, y, pen, brush});
    m_penX = x;
    m_penY = y;
}

namespace {

class Pixels {
public:
    Pixels(int w, int h)
        : m_w(std::max(w, 0)), m_h(std::max(h, 0)), m_p(std::size_t(m_w) * std::size_t(m_h), colours::White)
    {}

    void set(int x, int y, Colour c)
    {
        if (x >= 0 && y >= 0 && x < m_w && y < m_h)
            m_p[std::size_t(y) * std::size_t(m_w) + std::size_t(x)] = c;
    }
    // Fills x1..x2-1, y1..y2-1, clipped.
    void fill(int x1, int y1, int x2, int y2, Colour c)
    {
        x1 = std::max(x1, 0);
        y1 = std::max(y1, 0);
        x2 = std::min(x2, m_w);
        y2 = std::min(y2, m_h);
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                m_p[std::size_t(y) * std::size_t(m_w) + std::size_t(x)] = c;
    }
    // Bresenham from (x0, y0) to (x1, y1), the end point excluded as on a window canvas.
    void line(int x0, int y0, int x1, int y1, Colour c)
    {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        long long err = static_cast<long long>(dx) + dy;
        while (x0 != x1 || y0 != y1) {
            set(x0, y0, c);
            const long long e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    std::vector<Colour> take() { return std::move(m_p); }

private:
    int m_w, m_h;
    std::vector<Colour> m_p;
};

} // namespace

std::vector<Colour> RenderDrawing(int width, int height, const Drawing& ops)
{
    Pixels px(width, height);
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Fill: {
            px.fill(std::min(op.x1, op.x2), std::min(op.y1, op.y2), std::max(op.x1, op.x2), std::max(op.y1, op.y2),
                    op.brush);
            break;
        }
        case DrawOp::Kind::Rectangle: {
            const int l = std::min(op.x1, op.x2), r = std::max(op.x1, op.x2);
            const int t = std::min(op.y1, op.y2), b = std::max(op.y1, op.y2);
            if (r - l < 1 || b - t < 1)
                break;
            px.fill(l, t, r, b, op.brush);
            px.fill(l, t, r, t + 1, op.pen);
            px.fill(l, b - 1, r, b, op.pen);
            px.fill(l, t, l + 1, b, op.pen);
            px.fill(r - 1, t, r, b, op.pen);
            break;
        }
        case DrawOp::Kind::Line: px.line(op.x1, op.y1, op.x2, op.y2, op.pen); break;
        }
    }
    return px.take();
}

} // namespace hz::pages
