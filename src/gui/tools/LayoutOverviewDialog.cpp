#include "gui/tools/LayoutOverviewDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

#include "core/Prompter.h"
#include "core/editor/Editor.h"
#include "core/firmware/HexText.h"
#include "core/tools/LayoutReport.h"
#include "gui/common/FileDialogs.h"
#include "gui/tools/LayoutTableModel.h"

namespace {

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

LayoutOverviewDialog::LayoutOverviewDialog(hz::gui::FileDialogs& dialogs, hz::Prompter& prompter,
                                           std::function<void(const QString&)> open, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_prompter(prompter), m_open(std::move(open)),
      m_model(new LayoutTableModel(this)), m_filter(new LayoutFilterModel(this))
{
    setObjectName(QStringLiteral("LayoutOverview"));
    setWindowTitle(QStringLiteral("Anlagen-Übersicht"));
    m_filter->setSourceModel(m_model);

    m_folderButton = button("btn_folder", QStringLiteral("Ordner wählen…"), this);
    m_cancelButton = button("btn_cancel_scan", QStringLiteral("Abbrechen"), this);
    m_cancelButton->setEnabled(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar_scan"));
    m_progress->setVisible(false);
    m_folderButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_cancelButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* top = new QHBoxLayout;
    top->addWidget(m_folderButton);
    top->addWidget(m_progress, 1);
    top->addWidget(m_cancelButton);
    top->addStretch(0);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cbx_filter_type"));
    m_type->addItem(QStringLiteral("Alle Typen"));
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("edt_filter_address"));
    m_address->setPlaceholderText(QStringLiteral("alle"));
    m_address->setMaximumWidth(80);
    m_doubleOnly = new QCheckBox(QStringLiteral("nur doppelt belegte"), this);
    m_doubleOnly->setObjectName(QStringLiteral("cbx_double_only"));
    m_withoutAddress = new QCheckBox(QStringLiteral("auch Zeilen ohne Adresse"), this);
    m_withoutAddress->setObjectName(QStringLiteral("cbx_without_address"));
    m_withoutAddress->setToolTip(QStringLiteral("Zeilen, die keine Adresse halten (0 oder leer), schalten nichts."));
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("Typ:"), this));
    filters->addWidget(m_type, 1);
    filters->addWidget(new QLabel(QStringLiteral("Adresse:"), this));
    filters->addWidget(m_address);
    filters->addWidget(m_doubleOnly);
    filters->addWidget(m_withoutAddress);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tbl_overview"));
    m_table->setModel(m_filter);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(-1, Qt::AscendingOrder); // the scan's order: by file, then row
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setToolTip(QStringLiteral("Doppelklick öffnet die Datei im Editor."));

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lbl_summary"));
    m_summary->setWordWrap(true);
    m_doubleUses = new QLabel(this);
    m_doubleUses->setObjectName(QStringLiteral("lbl_double_uses"));
    m_doubleUses->setWordWrap(true);
    m_doubleUses->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_doubleUses->setVisible(false);
    m_errors = new QPlainTextEdit(this);
    m_errors->setObjectName(QStringLiteral("mem_errors"));
    m_errors->setReadOnly(true);
    m_errors->setMaximumHeight(90);
    m_errors->setVisible(false);

    m_htmlButton = button("btn_export_html", QStringLiteral("Als HTML speichern…"), this);
    m_csvButton = button("btn_export_csv", QStringLiteral("Als CSV speichern…"), this);
    auto* close = button("btn_close_overview", QStringLiteral("Schließen"), this);
    m_htmlButton->setEnabled(false);
    m_csvButton->setEnabled(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_htmlButton);
    bottom->addWidget(m_csvButton);
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filters);
    layout->addWidget(m_summary);
    layout->addWidget(m_doubleUses);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_errors);
    layout->addLayout(bottom);
    resize(980, 600);

    connect(m_folderButton, &QPushButton::clicked, this, [this] { chooseFolder(m_folder); });
    connect(m_cancelButton, &QPushButton::clicked, this, &LayoutOverviewDialog::cancelScan);
    connect(m_type, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_filter->setTypeFilter(index <= 0 ? QString() : m_type->itemText(index)); });
    connect(m_address, &QLineEdit::textChanged, m_filter, &LayoutFilterModel::setAddressFilter);
    connect(m_doubleOnly, &QCheckBox::toggled, this, [this](bool only) {
        m_filter->setDoubleUsesOnly(only);
        // Grouped by double use; back in the scan's order without it.
        m_table->sortByColumn(only ? static_cast<int>(hz::tools::ColDoubleUse) : -1, Qt::AscendingOrder);
        groupDoubleUses();
    });
    connect(m_withoutAddress, &QCheckBox::toggled, m_filter, &LayoutFilterModel::setWithoutAddress);
    // Filters and sorting change the lines: the groups are drawn again.
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &LayoutOverviewDialog::groupDoubleUses);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &LayoutOverviewDialog::groupDoubleUses);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &LayoutOverviewDialog::groupDoubleUses);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &LayoutOverviewDialog::groupDoubleUses);
    connect(m_table, &QTableView::doubleClicked, this, &LayoutOverviewDialog::openLine);
    connect(m_htmlButton, &QPushButton::clicked, this, &LayoutOverviewDialog::exportHtml);
    connect(m_csvButton, &QPushButton::clicked, this, &LayoutOverviewDialog::exportCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

LayoutOverviewDialog::~LayoutOverviewDialog()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool LayoutOverviewDialog::chooseFolder(const QString& proposed)
{
    if (scanning())
        return false;
    const QString folder = m_dialogs.chooseFolder(this, proposed);
    if (folder.isEmpty())
        return false;
    startScan({folder});
    return true;
}

void LayoutOverviewDialog::startScan(const QStringList& paths)
{
    if (scanning())
        return;
    m_folder = paths.isEmpty() ? QString() : paths.first();
    std::vector<std::string> list;
    for (const QString& p : paths)
        list.push_back(QFile::encodeName(p).toStdString());
    m_cancel = false;
    m_progress->setRange(0, 0); // busy until the files are counted
    m_progress->setValue(0);
    m_progress->setVisible(true);
    m_cancelButton->setEnabled(true);
    m_folderButton->setEnabled(false);
    m_summary->setText(QStringLiteral("Suche in %1 …").arg(QDir::toNativeSeparators(m_folder)));

    auto result = std::make_shared<hz::tools::LayoutScan>();
    m_result = result;
    m_thread = QThread::create([this, list, result] {
        hz::tools::ScanControl control;
        control.cancel = &m_cancel;
        control.progress = [this](std::size_t done, std::size_t total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
        };
        *result = hz::Editor::layoutOverview(list, control);
    });
    connect(m_thread, &QThread::finished, this, &LayoutOverviewDialog::endScan);
    m_thread->start();
}

void LayoutOverviewDialog::cancelScan()
{
    if (!scanning())
        return;
    m_cancel = true;
    m_cancelButton->setEnabled(false);
    m_summary->setText(QStringLiteral("Wird abgebrochen …"));
}

void LayoutOverviewDialog::showProgress(qulonglong done, qulonglong total)
{
    if (!scanning())
        return;
    m_progress->setRange(0, static_cast<int>(total));
    m_progress->setValue(static_cast<int>(done));
}

void LayoutOverviewDialog::endScan()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    m_progress->setVisible(false);
    m_cancelButton->setEnabled(false);
    m_folderButton->setEnabled(true);
    m_model->setScan(std::move(*m_result), m_folder);
    m_result.reset();
    showResult();
    emit scanFinished();
}

void LayoutOverviewDialog::showResult()
{
    const hz::tools::LayoutScan& scan = m_model->scan();
    const QString keep = m_type->currentIndex() > 0 ? m_type->currentText() : QString();
    m_type->blockSignals(true);
    m_type->clear();
    m_type->addItem(QStringLiteral("Alle Typen"));
    m_type->addItems(m_model->types());
    const int again = keep.isEmpty() ? 0 : m_type->findText(keep);
    m_type->setCurrentIndex(again < 0 ? 0 : again);
    m_type->blockSignals(false);
    m_filter->setTypeFilter(m_type->currentIndex() > 0 ? m_type->currentText() : QString());
    sizeColumns();

    m_summary->setText(QDir::toNativeSeparators(m_folder) + QStringLiteral(": ") +
                       QString::fromStdString(hz::tools::OverviewSummary(scan)));
    QStringList uses;
    for (const hz::tools::DoubleUse& use : scan.doubleUses)
        uses << QStringLiteral("• ") + QString::fromStdString(hz::tools::DoubleUseLine(use, m_model->folderPrefix()));
    m_doubleUses->setText(
        uses.isEmpty() ? QString() : QStringLiteral("Doppelt belegte Adressen:\n") + uses.join(QLatin1Char('\n')));
    m_doubleUses->setVisible(!uses.isEmpty());
    QStringList errors;
    for (const hz::tools::ScanError& e : scan.errors)
        errors << QString::fromStdString(hz::DisplayName(e.file) + ": " + hz::tools::OneLine(e.reason));
    m_errors->setPlainText(errors.join(QLatin1Char('\n')));
    m_errors->setVisible(!errors.isEmpty());
    const bool any = !scan.decoders.empty() || !scan.errors.empty();
    m_htmlButton->setEnabled(any);
    m_csvButton->setEnabled(any);
}

void LayoutOverviewDialog::sizeColumns()
{
    m_table->resizeColumnsToContents();
    // About 24 average characters: "Stellino  ab V3.58" whole, the longest names elided.
    const int cap = m_table->fontMetrics().averageCharWidth() * 24;
    for (int c = 0; c < m_filter->columnCount(); ++c)
        if (m_table->columnWidth(c) > cap)
            m_table->setColumnWidth(c, cap);
}

void LayoutOverviewDialog::groupDoubleUses()
{
    m_table->clearSpans();
    if (!m_filter->doubleUsesOnly())
        return;
    const int column = static_cast<int>(hz::tools::ColDoubleUse);
    const int rows = m_filter->rowCount();
    for (int first = 0; first < rows;) {
        const int use = m_filter->index(first, 0).data(LayoutTableModel::UseRole).toInt();
        int end = first + 1;
        while (end < rows && use >= 0 && m_filter->index(end, 0).data(LayoutTableModel::UseRole).toInt() == use)
            ++end;
        if (end - first > 1)
            m_table->setSpan(first, column, end - first, 1);
        first = end;
    }
}

void LayoutOverviewDialog::openLine(const QModelIndex& index)
{
    if (!index.isValid() || !m_open)
        return;
    m_open(index.data(LayoutTableModel::FileRole).toString());
}

bool LayoutOverviewDialog::exportTo(const QString& filter, const QString& suffix, const std::string& text)
{
    const QString proposed = QDir(m_folder).filePath(QStringLiteral("anlagen-uebersicht.") + suffix);
    const QString path = m_dialogs.saveFile(this, proposed, filter, suffix);
    if (path.isEmpty())
        return false;
    return hz::ReportWrite(hz::tools::WriteOverviewFile(QFile::encodeName(path).toStdString(), text, m_model->scan()),
                           m_prompter);
}

bool LayoutOverviewDialog::exportHtml()
{
    return exportTo(QStringLiteral("HTML|*.html"), QStringLiteral("html"), hz::tools::OverviewHtml(m_model->scan()));
}

bool LayoutOverviewDialog::exportCsv()
{
    return exportTo(QStringLiteral("CSV|*.csv"), QStringLiteral("csv"), hz::tools::OverviewCsv(m_model->scan()));
}
