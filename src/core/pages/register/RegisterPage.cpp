#include "core/pages/register/RegisterPage.h"

#include <algorithm>

#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"
#include "core/pages/register/CvLists.h"

namespace hz::pages {

namespace {

// The last row of each of the first four columns.
constexpr int kColumnEnds[] = {20, 41, 62, 80};

struct Place {
    int column, k; // column, row within the column
};

Place placeOf(int row)
{
    int column = 0;
    for (int end : kColumnEnds)
        if (row > end)
            ++column;
    const int first = column == 0 ? 0 : kColumnEnds[column - 1] + 1;
    return {column, row - first};
}

} // namespace

Rect RegisterPage::labelRect(int row)
{
    const Place p = placeOf(row);
    const auto c = static_cast<std::size_t>(p.column);
    return {kColumnLefts[c], 19 + 25 * p.k, kCaptionRooms[c], kRowHeight};
}

Rect RegisterPage::editRect(int row)
{
    const Place p = placeOf(row);
    const auto c = static_cast<std::size_t>(p.column);
    return {kColumnLefts[c] + kCaptionRooms[c] + kCaptionGap, 15 + 25 * p.k, kEditWidth, kRowHeight};
}

RegisterPage::RegisterPage() = default;

const RegisterPage& RegisterPage::build(int rows) const { return const_cast<RegisterPage*>(this)->build(rows); }

RegisterPage& RegisterPage::build(int rows)
{
    rows = std::min(rows, kRows);
    if (m_rowsBuilt >= rows && !m_controls.empty())
        return *this;
    if (m_controls.empty()) {
        // All rows are reserved at once, so that a control keeps its address while more
        // rows are made.
        m_controls.reserve(kFirstRow + 2 * kRows);
        Control panel;
        panel.name = "pnl_cv";
        panel.kind = ControlKind::Group;
        panel.geometry = Rect{0, 0, kWidth, 571};
        add(panel);
        for (const char* name : {"Line1", "Line2", "Line3"}) {
            Control line;
            line.name = name;
            line.kind = ControlKind::Group;
            line.parent = "pnl_cv";
            add(line);
        }
        placeSeparators();
    }
    // The rows are filled in place: a thousand controls made one by one and moved into the
    // list would cost the command-line tool a noticeable part of a whole conversion.
    m_controls.resize(kFirstRow + 2 * static_cast<std::size_t>(rows));
    auto fill = [this](Control& c, std::string name, ControlKind kind, const Rect& r) -> Control& {
        c.name = std::move(name);
        c.kind = kind;
        c.parent = "pnl_cv";
        c.visible = false;
        c.geometry = r;
        return touch(c);
    };
    for (int row = m_rowsBuilt; row < rows; ++row) {
        const std::string index = std::to_string(row) + "]";
        fill(m_controls[labelIndex(row)], "CvLabels[" + index, ControlKind::Label, labelRect(row));
        fill(m_controls[editIndex(row)], "CvEdits[" + index, ControlKind::Edit, editRect(row))
            .on<&RegisterPage::applyCvEdit>(row);
    }
    m_rowsBuilt = rows;
    return *this;
}

void RegisterPage::placeSeparators()
{
    const int height = m_controls[0].geometry->height - 1;
    // Midway between a column's fields and the next column's captions.
    for (std::size_t i = 0; i < 3; ++i) {
        const Rect edit = editRect(kColumnEnds[i]);
        setGeometry(m_controls[1 + i], Rect{edit.left + edit.width + 4, 8, 2, height});
    }
}

void RegisterPage::showFor(const PageContext& context)
{
    m_context.emplace(context);
    clearRows();
    readCvList(context.identifier, context.image);
}

void RegisterPage::clearRows()
{
    build(0);
    Updating = true;
    Control& panel = m_controls[0];
    setGeometry(panel, Rect{0, 0, kWidth, kHeight});
    setVisible(panel, true);
    // Rows not made yet are empty and hidden already.
    for (int row = 0; row < m_rowsBuilt; ++row) {
        Control& label = m_controls[labelIndex(row)];
        setCaption(label, "");
        setHint(label, "");
        setVisible(label, false);
        setVisible(m_controls[editIndex(row)], false);
    }
    m_cvCount = 0;
    m_listShown = 0;
    placeSeparators();
    Updating = false;
}

void RegisterPage::readCvList(int identifier, const FirmwareImage& image)
{
    const auto& list = CvListFor(identifier);
    const int n = std::min(static_cast<int>(list.size()), kRows);
    build(n);
    Updating = true;
    for (int row = 0; row < n; ++row) {
        const CvEntry& entry = list[static_cast<std::size_t>(row)];
        Control& label = m_controls[labelIndex(row)];
        setCaption(label, entry.caption);
        // The whole caption, also where a small screen font would still cut it.
        setHint(label, entry.caption);
        m_cvAddress[static_cast<std::size_t>(row)] = entry.address;
    }
    if (n > 0) {
        m_cvCount = n;
        m_listShown = identifier;
    }
    for (int row = 0; row < m_cvCount; ++row) {
        const int value = HexByteValue(image.get_Hex_EE(m_cvAddress[static_cast<std::size_t>(row)]));
        setText(m_controls[editIndex(row)], std::to_string(value));
    }
    Updating = false;
    for (int row = 0; row < m_rowsBuilt; ++row) {
        const bool used = !m_controls[labelIndex(row)].caption.empty();
        setVisible(m_controls[labelIndex(row)], used);
        setVisible(m_controls[editIndex(row)], used);
    }
}

void RegisterPage::applyCvEdit(int row)
{
    if (Updating || !m_context)
        return;
    // A field of a row not in use has nothing behind it in the image.
    if (row < 0 || row >= m_cvCount)
        return;
    const Control& edit = m_controls[editIndex(row)];
    const auto result =
        ApplyCvEdit(m_context->image, m_context->prompter, m_cvAddress[static_cast<std::size_t>(row)], edit.text);
    if (result == CvEditResult::Refused && edit.visible)
        focusRequest = edit.name;
}

PagePlace RegisterPage::placeIn(const AddressArea& area) const
{
    // Over the address area, which a register decoder leaves empty.
    return {Rect{5, area.top + 3, kWidth, kHeight}, WindowArrangement{5, 410, 555, 535}};
}

} // namespace hz::pages
