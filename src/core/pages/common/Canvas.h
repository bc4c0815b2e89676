#pragma once
// The drawing canvas of a page's images (curve, relay and blink pattern graphs).
//
// A page draws as the firmware editor always has: fill, rectangles with pen and brush, move-to
// and line-to, one pixel wide. The page records those operations on a Canvas and hands the
// list to its image control; the window paints it, the tests read its pixels, and both see
// the same picture because the pixels are produced here, in one place.

#include <cstdint>
#include <vector>

namespace hz::pages {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

// Plain RGB, as the decoder editors have always painted their graphs.
namespace colours {
inline constexpr Colour Red{255, 0, 0};
inline constexpr Colour Green{0, 255, 0};
inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour White{255, 255, 255};
} // namespace colours

struct DrawOp {
    enum class Kind {
        Fill,      // the rectangle x1,y1 .. x2,y2 (right and bottom excluded) in brush colour
        Rectangle, // outline in pen colour on the edge of x1,y1 .. x2-1,y2-1, inside in brush colour
        Line,      // from x1,y1 towards x2,y2, the end point itself not drawn
    };
    Kind kind = Kind::Fill;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour pen = colours::Black;
    Colour brush = colours::White;
    bool operator==(const DrawOp&) const = default;
};

using Drawing = std::vector<DrawOp>;

// Records drawing operations. Pen and brush colours, and the pen position for MoveTo/LineTo,
// behave as on a window canvas.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {}

    Colour pen = colours::Black;
    Colour brush = colours::White;

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Fills the whole image with the brush colour.
    void Clear();
    void FillRect(int x1, int y1, int x2, int y2);
    void Rectangle(int x1, int y1, int x2, int y2);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    const Drawing& ops() const { return m_ops; }
    Drawing take() { return std::move(m_ops); }

private:
    int m_width, m_height;
    int m_penX = 0, m_penY = 0;
    Drawing m_ops;
};

// The pixels of a drawing on a white image of the given size, row by row (index y * width + x).
// Everything outside the image is clipped.
std::vector<Colour> RenderDrawing(int width, int height, const Drawing& ops);

} // namespace hz::pages
