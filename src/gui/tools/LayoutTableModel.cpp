#include "gui/tools/LayoutTableModel.h"

#include <QBrush>
#include <QCollator>
#include <QColor>
#include <QFile>
#include <QFont>

#include <set>

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

} // namespace

LayoutTableModel::LayoutTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void LayoutTableModel::setScan(hz::tools::LayoutScan scan, const QString& folder)
{
    beginResetModel();
    m_prefix = folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
    if (!m_prefix.empty() && m_prefix.back() != '/')
        m_prefix += '/';
    m_scan = std::move(scan);
    m_lines = hz::tools::OverviewLines(m_scan);
    endResetModel();
}

QStringList LayoutTableModel::types() const
{
    std::set<QString> distinct;
    for (const hz::tools::OverviewLine& line : m_lines)
        distinct.insert(text(line.cells[hz::tools::ColType]));
    QStringList list(distinct.begin(), distinct.end());
    QCollator collator(QLocale(QLocale::German));
    std::sort(list.begin(), list.end(), collator);
    return list;
}

int LayoutTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int LayoutTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(hz::tools::kOverviewColumns);
}

QVariant LayoutTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const hz::tools::OverviewLine& line = m_lines[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    const std::string& cell = line.cells[column];
    switch (role) {
    case Qt::DisplayRole:
        if (column == hz::tools::ColFile && !m_prefix.empty() && cell.rfind(m_prefix, 0) == 0)
            return text(cell.substr(m_prefix.size()));
        return text(cell);
    case Qt::TextAlignmentRole:
        return hz::tools::IsNumberColumn(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (!line.doubleUse)
            return {};
        return QBrush(QColor::fromRgb(line.use % 2 == 0 ? kDoubleUseRgb : kDoubleUseOtherRgb));
    case Qt::FontRole: {
        if (!line.doubleUse)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ToolTipRole:
        // The type column is narrower than the longest names: the tip holds the whole name.
        if (column == hz::tools::ColType)
            return text(cell);
        if (line.doubleUse)
            return QStringLiteral("Doppelt belegt: %1\nAuch: %2")
                .arg(text(line.cells[hz::tools::ColDoubleUse]), text(line.cells[hz::tools::ColAlsoIn]));
        return column == hz::tools::ColFile ? QVariant(text(cell)) : QVariant();
    case SortRole:
        if (hz::tools::IsNumberColumn(column) && !cell.empty())
            return QVariant(text(cell).toLongLong());
        // The double uses in the order of the scan's list, each one's lines together.
        if (column == hz::tools::ColDoubleUse && line.use >= 0)
            return QVariant(static_cast<qlonglong>(line.use));
        return text(cell);
    case DoubleUseRole: return line.doubleUse;
    case UseRole: return line.use;
    case NoAddressRole: return line.noAddress;
    case FileRole: return QFile::decodeName(QByteArray::fromStdString(line.cells[hz::tools::ColFile]));
    default: return {};
    }
}

QVariant LayoutTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(hz::tools::kOverviewColumns))
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(hz::tools::OverviewHeadings()[static_cast<std::size_t>(section)]);
}

LayoutFilterModel::LayoutFilterModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    setSortRole(LayoutTableModel::SortRole);
}

void LayoutFilterModel::setTypeFilter(const QString& type)
{
    m_type = type;
    invalidateFilter();
}

void LayoutFilterModel::setAddressFilter(const QString& text)
{
    m_address = text.trimmed();
    invalidateFilter();
}

void LayoutFilterModel::setDoubleUsesOnly(bool only)
{
    m_doubleOnly = only;
    invalidateFilter();
}

void LayoutFilterModel::setWithoutAddress(bool shown)
{
    m_withoutAddress = shown;
    invalidateFilter();
}

bool LayoutFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QAbstractItemModel* m = sourceModel();
    auto cell = [&](std::size_t column) { return m->index(sourceRow, static_cast<int>(column), sourceParent); };
    if (!m_type.isEmpty() && m->data(cell(hz::tools::ColType)).toString() != m_type)
        return false;
    if (!m_address.isEmpty() && m->data(cell(hz::tools::ColAddress)).toString() != m_address)
        return false;
    if (m_doubleOnly && !m->data(cell(0), LayoutTableModel::DoubleUseRole).toBool())
        return false;
    if (!m_withoutAddress && m->data(cell(0), LayoutTableModel::NoAddressRole).toBool())
        return false;
    return true;
}

bool LayoutFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QVariant a = left.data(LayoutTableModel::SortRole), b = right.data(LayoutTableModel::SortRole);
    const bool aNumber = a.typeId() == QMetaType::LongLong, bNumber = b.typeId() == QMetaType::LongLong;
    if (aNumber && bNumber)
        return a.toLongLong() < b.toLongLong();
    // A number before an empty cell; texts in German order, numbers within them as numbers
    // ("Ausgang / Out 2" before "Ausgang / Out 10").
    if (aNumber != bNumber)
        return aNumber;
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German));
        c.setNumericMode(true);
        return c;
    }();
    return collator.compare(a.toString(), b.toString()) < 0;
}
