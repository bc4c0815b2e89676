#pragma once
// File dialogs for GUI tests: each call records the proposed name, filter and suffix and
// answers with the next queued file name (an empty name stands for Cancel; an empty queue
// cancels too).

#include <QString>
#include <QStringList>

#include "gui/common/FileDialogs.h"

namespace hz::test {

class ScriptedFileDialogs : public hz::gui::FileDialogs {
public:
    QString openFile(QWidget*, const QString& proposed, const QString& filter, const QString& suffix) override
    {
        openProposed.append(proposed);
        filters.append(filter);
        suffixes.append(suffix);
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFile(QWidget*, const QString& proposed, const QString& filter, const QString& suffix) override
    {
        saveProposed.append(proposed);
        filters.append(filter);
        suffixes.append(suffix);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    QString chooseFolder(QWidget*, const QString& proposed) override
    {
        folderProposed.append(proposed);
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }

    QStringList openAnswers, saveAnswers, folderAnswers;
    QStringList folderProposed;
    QStringList openProposed, saveProposed;
    QStringList filters, suffixes;
};

} // namespace hz::test
