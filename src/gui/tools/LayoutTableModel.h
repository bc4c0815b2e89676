#pragma once
// The layout overview as Qt models: a table over the core's scan result (one line per address
// row, the columns of the CSV and web page exports) and a proxy that sorts numbers as numbers
// and filters by type, address, double use and rows without an address.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>

#include <vector>

#include "core/tools/LayoutReport.h"
#include "core/tools/LayoutScan.h"

class LayoutTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        SortRole = Qt::UserRole + 1, // numbers for the number columns, the text otherwise
        DoubleUseRole,               // bool: the line's address is answered by another row too
        FileRole,                    // the decoder's file, as a name to open
        UseRole,                     // int: the double use the line belongs to; -1 for none
        NoAddressRole,               // bool: the line's row holds no address
    };
    // The background of a doubly used line (also in the web page); every other double use in a
    // darker shade, so that two of them side by side stand apart.
    static constexpr int kDoubleUseRgb = 0xFFD8A8;
    static constexpr int kDoubleUseOtherRgb = 0xF4BC80;

    explicit LayoutTableModel(QObject* parent = nullptr);

    // `folder`: the folder scanned; the file column shows the names below it (the whole path
    // stays in the tool tip and in FileRole).
    void setScan(hz::tools::LayoutScan scan, const QString& folder = {});
    const hz::tools::LayoutScan& scan() const { return m_scan; }
    // "folder/": what the file column takes off the front of the names.
    const std::string& folderPrefix() const { return m_prefix; }
    // The distinct types of the loaded decoders, sorted.
    QStringList types() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    hz::tools::LayoutScan m_scan;
    std::vector<hz::tools::OverviewLine> m_lines;
    std::string m_prefix; // "folder/", taken off the shown file names
};

class LayoutFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit LayoutFilterModel(QObject* parent = nullptr);

    // Empty: every type.
    void setTypeFilter(const QString& type);
    // A whole number: only lines with that address; empty: every line. Anything else matches
    // nothing.
    void setAddressFilter(const QString& text);
    // Sorted by the column "Doppelt belegt", the lines of one double use stand together.
    void setDoubleUsesOnly(bool only);
    // The lines of rows without an address; left out at first.
    void setWithoutAddress(bool shown);
    bool doubleUsesOnly() const { return m_doubleOnly; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QString m_type;
    QString m_address;
    bool m_doubleOnly = false;
    bool m_withoutAddress = false;
};
