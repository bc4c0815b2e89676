#pragma once
// "Anlagen-Übersicht": the firmware files of a folder in one table - every decoder with its
// address rows, the doubly used addresses highlighted and listed above it, rows without an
// address left out unless asked for - scanned on a worker thread with a progress bar and a
// cancel button. A double click opens the line's file in the editor (after
// the unsaved-changes question); the table goes out as a web page or a CSV file.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

#include "core/tools/LayoutScan.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;
class LayoutFilterModel;
class LayoutTableModel;

namespace hz {
class Prompter;
}
namespace hz::gui {
class FileDialogs;
}

class LayoutOverviewDialog : public QDialog {
    Q_OBJECT

public:
    // `open` loads a file into the main window as "HEX laden" does after its dialog.
    LayoutOverviewDialog(hz::gui::FileDialogs& dialogs, hz::Prompter& prompter,
                         std::function<void(const QString&)> open, QWidget* parent = nullptr);
    // A scan still running is cancelled and waited for.
    ~LayoutOverviewDialog() override;

    // Asks for a folder (starting at `proposed`) and scans it; false when the user cancelled.
    bool chooseFolder(const QString& proposed);
    // Scans `paths` on the worker thread; the table shows the result when it is through.
    void startScan(const QStringList& paths);
    void cancelScan();
    bool scanning() const { return m_thread != nullptr; }
    // Whether a scan has been started at least once (the window then has something to show).
    bool hasScanned() const { return !m_folder.isEmpty(); }
    // The folder scanned last.
    QString folder() const { return m_folder; }

    // Writes the table as a web page or a CSV file to a name the user chooses; false when
    // nothing was written (cancelled, or the write failed and was reported).
    bool exportHtml();
    bool exportCsv();

    LayoutTableModel& model() { return *m_model; }
    LayoutFilterModel& filter() { return *m_filter; }
    QTableView& table() { return *m_table; }

signals:
    void scanFinished();

private:
    void showProgress(qulonglong done, qulonglong total);
    void endScan();
    void openLine(const QModelIndex& index);
    bool exportTo(const QString& filter, const QString& suffix, const std::string& text);
    void showResult();
    // The columns as wide as their content, none wider than a cap (the type names are long;
    // the whole text is in the tool tip), so that the address and the function stay in view.
    void sizeColumns();
    // With "nur doppelt belegte" the lines of one double use share one cell "Doppelt belegt".
    void groupDoubleUses();

    hz::gui::FileDialogs& m_dialogs;
    hz::Prompter& m_prompter;
    std::function<void(const QString&)> m_open;
    LayoutTableModel* m_model;
    LayoutFilterModel* m_filter;

    QPushButton* m_folderButton;
    QPushButton* m_cancelButton;
    QProgressBar* m_progress;
    QComboBox* m_type;
    QLineEdit* m_address;
    QCheckBox* m_doubleOnly;
    QCheckBox* m_withoutAddress;
    QTableView* m_table;
    QLabel* m_summary;
    QLabel* m_doubleUses;
    QPlainTextEdit* m_errors;
    QPushButton* m_htmlButton;
    QPushButton* m_csvButton;

    QThread* m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
    std::shared_ptr<hz::tools::LayoutScan> m_result;
    QString m_folder;
};
