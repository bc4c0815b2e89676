#pragma once
// The dialogs of "Vergleichen mit…" and "Einstellungen übernehmen aus…": a summary above tables
// of the reports' models. What they show is computed in core/tools before they open; they only
// show it, and the migration dialog returns whether the user chose "Übernehmen".

#include <QDialog>
#include <QString>

#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"
#include "gui/tools/SettingsTableModels.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace hz::gui {

// Read-only: the differences between the loaded file and another, closed with "Schließen".
class SettingsDiffDialog : public QDialog {
    Q_OBJECT

public:
    // `otherTitle` heads the column of the other file's values (its file name).
    SettingsDiffDialog(const hz::tools::SettingsComparison& comparison, const QString& otherTitle,
                       QWidget* parent = nullptr);

    QLabel* lbl_summary = nullptr;
    QTableView* tbl_differences = nullptr;
    QPushButton* btn_close = nullptr;
    DifferenceModel* model = nullptr;
};

// What would be carried and what not, each with its reason; "Übernehmen" accepts the dialog,
// "Abbrechen" (and Escape, and the close box) rejects it.
class SettingsMigrationDialog : public QDialog {
    Q_OBJECT

public:
    SettingsMigrationDialog(const hz::tools::MigrationReport& preview, const QString& summary,
                            QWidget* parent = nullptr);

    QLabel* lbl_summary = nullptr;
    QLabel* lbl_carried = nullptr;
    // "auch unveränderte zeigen": the carried settings the loaded file holds already.
    QCheckBox* cbx_unchanged = nullptr;
    QTableView* tbl_carried = nullptr;
    QLabel* lbl_not_carried = nullptr;
    QTableView* tbl_not_carried = nullptr;
    QPushButton* btn_apply = nullptr;
    QPushButton* btn_cancel = nullptr;
    CarriedSettingsModel* carried = nullptr;
    CarriedSettingsModel* notCarried = nullptr;
};

} // namespace hz::gui
