#pragma once
// Table models over the reports of the settings tools: the differences of "Vergleichen mit…"
// and the lists of "Einstellungen übernehmen aus…". They only show what core/tools computed,
// each cell through the core's own wording, read-only.

#include <QAbstractTableModel>
#include <QString>

#include <vector>

#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

namespace hz::gui {

// One row per difference: page, setting, the value in the loaded file, the value in the other.
class DifferenceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Area, Setting, Here, There, ColumnCount };

    DifferenceModel(std::vector<hz::tools::Difference> differences, QString hereTitle, QString thereTitle,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const std::vector<hz::tools::Difference>& differences() const { return m_differences; }

private:
    std::vector<hz::tools::Difference> m_differences;
    QString m_hereTitle, m_thereTitle;
};

// One row per setting of a migration report: page, setting, value, what the loaded file held
// so far and - for the settings that are not carried - the reason. The settings the loaded
// file holds already are left out until asked for.
class CarriedSettingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Area, Setting, Value, Before, Reason };

    CarriedSettingsModel(std::vector<hz::tools::CarriedSetting> settings, bool withReason, QObject* parent = nullptr);

    // Whether the rows include the settings that change nothing; off at first.
    void showUnchanged(bool show);
    // How many settings the rows leave out.
    std::size_t hiddenCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The settings the rows show, in the report's order.
    const std::vector<hz::tools::CarriedSetting>& settings() const { return m_shown; }

private:
    void pick();

    std::vector<hz::tools::CarriedSetting> m_settings, m_shown;
    bool m_withReason;
    bool m_showUnchanged = false;
};

} // namespace hz::gui
