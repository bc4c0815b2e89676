#include "gui/tools/SettingsTableModels.h"

#include <utility>

#include "gui/common/QtText.h"

namespace hz::gui {

namespace {

// Whether `index` names a cell of a table of `rows` rows and `columns` columns.
bool inside(const QModelIndex& index, std::size_t rows, int columns)
{
    return index.isValid() && index.row() >= 0 && static_cast<std::size_t>(index.row()) < rows && index.column() >= 0 &&
           index.column() < columns;
}

} // namespace

DifferenceModel::DifferenceModel(std::vector<hz::tools::Difference> differences, QString hereTitle, QString thereTitle,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_differences(std::move(differences)), m_hereTitle(std::move(hereTitle)),
      m_thereTitle(std::move(thereTitle))
{}

int DifferenceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_differences.size());
}

int DifferenceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DifferenceModel::data(const QModelIndex& index, int role) const
{
    if (!inside(index, m_differences.size(), ColumnCount))
        return {};
    const hz::tools::Difference& d = m_differences[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Area: return fromStd(hz::tools::DifferenceArea(d));
        case Setting: return fromStd(hz::tools::DifferenceSetting(d));
        case Here: return fromStd(hz::tools::DifferenceValue(d, d.a));
        case There: return fromStd(hz::tools::DifferenceValue(d, d.b));
        default: return {};
        }
    }
    // The whole line as the command-line tool prints it.
    if (role == Qt::ToolTipRole)
        return fromStd(hz::tools::DescribeDifference(d));
    return {};
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Area: return QStringLiteral("Seite");
    case Setting: return QStringLiteral("Einstellung");
    case Here: return m_hereTitle;
    case There: return m_thereTitle;
    default: return {};
    }
}

CarriedSettingsModel::CarriedSettingsModel(std::vector<hz::tools::CarriedSetting> settings, bool withReason,
                                           QObject* parent)
    : QAbstractTableModel(parent), m_settings(std::move(settings)), m_withReason(withReason)
{
    pick();
}

void CarriedSettingsModel::pick()
{
    m_shown.clear();
    for (const hz::tools::CarriedSetting& s : m_settings)
        if (m_showUnchanged || !s.unchanged)
            m_shown.push_back(s);
}

void CarriedSettingsModel::showUnchanged(bool show)
{
    if (show == m_showUnchanged)
        return;
    beginResetModel();
    m_showUnchanged = show;
    pick();
    endResetModel();
}

std::size_t CarriedSettingsModel::hiddenCount() const { return m_settings.size() - m_shown.size(); }

int CarriedSettingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int CarriedSettingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (m_withReason ? Reason + 1 : Before + 1);
}

QVariant CarriedSettingsModel::data(const QModelIndex& index, int role) const
{
    if (!inside(index, m_shown.size(), columnCount()))
        return {};
    const hz::tools::CarriedSetting& s = m_shown[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Area: return fromStd(hz::tools::CarriedArea(s));
        case Setting: return fromStd(hz::tools::CarriedSubject(s));
        case Value: return fromStd(hz::tools::CarriedValue(s));
        case Before: return fromStd(hz::tools::CarriedBefore(s));
        case Reason: return fromStd(s.reason);
        default: return {};
        }
    }
    // A reason can be long: the tip shows the whole entry.
    if (role == Qt::ToolTipRole)
        return fromStd(hz::tools::DescribeCarried(s));
    return {};
}

QVariant CarriedSettingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Area: return QStringLiteral("Seite");
    case Setting: return QStringLiteral("Einstellung");
    case Value: return QStringLiteral("Wert");
    case Before: return QStringLiteral("Bisher geladen");
    case Reason: return m_withReason ? QVariant(QStringLiteral("Grund")) : QVariant();
    default: return {};
    }
}

} // namespace hz::gui
