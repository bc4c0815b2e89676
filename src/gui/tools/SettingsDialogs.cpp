#include "gui/tools/SettingsDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/common/QtText.h"

namespace hz::gui {

namespace {

// A read-only table over `model`: whole rows selected, cells wrapped, the last column takes the
// rest of the width.
QTableView* reportTable(QAbstractItemModel* model, const char* name, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setWordWrap(true);
    table->verticalHeader()->hide();
    // Rows as high as their wrapped text, however wide the last column becomes: a reason is
    // read in full, not cut off.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnsToContents();
    return table;
}

QLabel* textLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

SettingsDiffDialog::SettingsDiffDialog(const hz::tools::SettingsComparison& comparison, const QString& otherTitle,
                                       QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsDiffDialog"));
    setWindowTitle(QStringLiteral("Einstellungen vergleichen"));
    model = new DifferenceModel(comparison.differences, QStringLiteral("Geladen"), otherTitle, this);

    auto* layout = new QVBoxLayout(this);
    std::string summary = comparison.hereLine + "\n" + comparison.thereLine + "\n" + comparison.countLine;
    if (!comparison.programLine.empty())
        summary += "\n" + comparison.programLine;
    lbl_summary = textLabel(fromStd(summary), "lbl_summary", this);
    layout->addWidget(lbl_summary);
    tbl_differences = reportTable(model, "tbl_differences", this);
    layout->addWidget(tbl_differences, 1);
    auto* buttons = new QDialogButtonBox(this);
    btn_close = buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    btn_close->setObjectName(QStringLiteral("btn_close"));
    btn_close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 480);
}

SettingsMigrationDialog::SettingsMigrationDialog(const hz::tools::MigrationReport& preview, const QString& summary,
                                                 QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsMigrationDialog"));
    setWindowTitle(QStringLiteral("Einstellungen übernehmen"));
    carried = new CarriedSettingsModel(preview.carried, false, this);
    notCarried = new CarriedSettingsModel(preview.notCarried, true, this);

    auto* layout = new QVBoxLayout(this);
    lbl_summary = textLabel(summary, "lbl_summary", this);
    layout->addWidget(lbl_summary);
    lbl_carried =
        textLabel(fromStd(hz::tools::CarriedHeading(true, preview.carried.size(), true) + ":"), "lbl_carried", this);
    layout->addWidget(lbl_carried);
    // What the loaded file holds already changes nothing: counted, and listed on request.
    const std::size_t unchanged = hz::tools::UnchangedCount(preview.carried);
    cbx_unchanged = new QCheckBox(QStringLiteral("auch unveränderte zeigen (%1)").arg(unchanged), this);
    cbx_unchanged->setObjectName(QStringLiteral("cbx_unchanged"));
    cbx_unchanged->setToolTip(fromStd(hz::tools::UnchangedLine(unchanged)));
    cbx_unchanged->setEnabled(unchanged > 0);
    layout->addWidget(cbx_unchanged);
    tbl_carried = reportTable(carried, "tbl_carried", this);
    layout->addWidget(tbl_carried, 1);
    connect(cbx_unchanged, &QCheckBox::toggled, this, [this](bool on) {
        carried->showUnchanged(on);
        tbl_carried->resizeColumnsToContents();
    });
    lbl_not_carried = textLabel(fromStd(hz::tools::CarriedHeading(false, preview.notCarried.size(), true) + ":"),
                                "lbl_not_carried", this);
    layout->addWidget(lbl_not_carried);
    tbl_not_carried = reportTable(notCarried, "tbl_not_carried", this);
    layout->addWidget(tbl_not_carried, 1);

    auto* buttons = new QDialogButtonBox(this);
    btn_apply = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    btn_apply->setObjectName(QStringLiteral("btn_apply"));
    btn_cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
    // With nothing to carry there is nothing to take over: only "Abbrechen" is left.
    const bool anything = !preview.carried.empty();
    btn_apply->setEnabled(anything);
    (anything ? btn_apply : btn_cancel)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(860, 600);
}

} // namespace hz::gui
