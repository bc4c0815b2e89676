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
    // The whole line as the command-line tool prints it, with the control's name.
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
{}

int CarriedSettingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_settings.size());
}

int CarriedSettingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (m_withReason ? Reason + 1 : Value + 1);
}

QVariant CarriedSettingsModel::data(const QModelIndex& index, int role) const
{
    if (!inside(index, m_settings.size(), columnCount()))
        return {};
    const hz::tools::CarriedSetting& s = m_settings[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Area: return fromStd(hz::tools::CarriedArea(s));
        case Setting: return fromStd(hz::tools::CarriedCaption(s));
        case Value: return fromStd(hz::tools::CarriedValue(s));
        case Reason: return fromStd(s.reason);
        default: return {};
        }
    }
    // A reason can be long: the tip shows the whole entry, with the control's name.
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
    case Reason: return m_withReason ? QVariant(QStringLiteral("Grund")) : QVariant();
    default: return {};
    }
}

} // namespace hz::gui
